// Fontconfig's caches, built when text layers are measured, are kept for the life of the process by design.
// LeakSanitizer is told to leave that library's allocations alone.

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
