// Fontconfig's caches and GLib's per-process tables (types, quarks, the main context) are built once and never
// freed by design. LeakSanitizer is told to leave those libraries' allocations alone.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libglib-2.0.so\n";
}
