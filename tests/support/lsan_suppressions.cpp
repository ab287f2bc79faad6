// Leaks LeakSanitizer must not report in a sanitized test run: fontconfig's pattern cache, which
// Qt's font database fills on first use and the library keeps for the life of the process.
// Compiled into every test executable (the sanitizer looks the function up in the program).
// GCC says so with __SANITIZE_ADDRESS__, clang with __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define KUVELT_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KUVELT_ASAN 1
#endif
#endif
#if defined(KUVELT_ASAN)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
