// Fontconfig's caches, GLib's per-process tables (types, quarks, the main context) and GIO's MIME type tables
// (reloaded in place when the shared MIME database is checked again) are never freed by design. LeakSanitizer is
// told to leave those libraries' allocations alone.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libglib-2.0.so\n"
         "leak:libgio-2.0.so\n";
}
