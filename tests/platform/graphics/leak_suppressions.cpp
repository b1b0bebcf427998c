// Fontconfig builds its configuration and font caches once per process and never frees them; Pango (through the
// text tests) brings it in. Those allocations are not leaks of ours, so LeakSanitizer is told to ignore them.

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
