// Design files come mailed between offices: the Open command's version probe and the reader
// must take any bytes, and whatever reads successfully must write back to bytes that re-read
// to the same design.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "io/design_file.h"
#include "model/design.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kuvelt;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::string path = fuzz::TempPath("probe.kvt");
    fuzz::WriteFile(path, bytes);
    const std::string version = GetFileVersion(path);
    (void)PreReadCheck(path);

    int32_t err = 0;
    if (!DesignFromBytes(bytes, err)) {
        if (err == 0) {
            std::fprintf(stderr, "read failed without an error number\n");
            std::abort();
        }
        return 0;
    }
    const std::string first = DesignToBytes();
    int32_t err2 = 0;
    if (!DesignFromBytes(first, err2)) {
        std::fprintf(stderr, "written design does not re-read (error %d)\n", err2);
        std::abort();
    }
    const std::string second = DesignToBytes();
    if (second != first) {
        std::fprintf(stderr, "design changed on a write/read round trip\n");
        std::abort();
    }
    // The written file passes the Open command's own check.
    fuzz::WriteFile(path, first);
    if (!PreReadCheck(path)) {
        std::fprintf(stderr, "written design fails the pre-read check\n");
        std::abort();
    }
    return 0;
}
