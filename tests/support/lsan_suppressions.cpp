// Leaks LeakSanitizer must not report in a sanitized test run: fontconfig's pattern cache, which
// Qt's font database fills on first use and the library keeps for the life of the process.
// Compiled into every test executable (the sanitizer looks the function up in the program).
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
