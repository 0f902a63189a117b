// fontconfig keeps its configuration and font caches for the life of the
// process and never frees them; LeakSanitizer would report them at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
