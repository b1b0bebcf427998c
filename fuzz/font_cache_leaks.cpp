// Fontconfig keeps its caches, built when text is measured or laid out, for the life of the process: the leak
// check at exit is not to count them.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
