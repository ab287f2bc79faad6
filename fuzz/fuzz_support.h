// Helpers shared by the fuzz targets: one private temporary folder per fuzzing process (removed
// at exit) for the readers that only take a path, and whole-file writing into it. A helper that
// cannot set itself up aborts: a fuzzer that silently tests nothing is worse than none.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace kuvelt::fuzz {

inline const std::string& ProcessTempDir() {
    static const std::string dir = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/kuvelt-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        static std::string removeAtExit;
        removeAtExit = pattern;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(removeAtExit, ec);
        });
        return pattern;
    }();
    return dir;
}

inline std::string TempPath(const std::string& name) { return ProcessTempDir() + "/" + name; }

inline void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
        std::perror(path.c_str());
        std::abort();
    }
}

// Splits the input at the first occurrence of `sep` (a byte unlikely in real files) so one
// input can carry several parts; missing parts are empty.
inline std::string_view TakePart(std::string_view& rest, char sep = '\x01') {
    const std::size_t p = rest.find(sep);
    std::string_view head = rest.substr(0, p);
    rest = p == std::string_view::npos ? std::string_view{} : rest.substr(p + 1);
    return head;
}

// A property of the reader that does not hold: named on stderr, then the fuzzer's crash report.
inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

}  // namespace kuvelt::fuzz
