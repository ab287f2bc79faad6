// Designs given as JSON come from scripts and spreadsheets: the reader must take any bytes and
// refuse what it cannot take with reasons, never a crash, a hang or deep recursion. What reads
// must dump to JSON that reads to the same design, and write a design file that reads back to
// the same bytes; a refusal leaves a new design. The input may carry a --set change after a
// \x01 byte (PATH \x01 VALUE).
#include <cstdint>
#include <string>
#include <vector>

#include "cli/design_json.h"
#include "fuzz_support.h"
#include "io/design_file.h"
#include "io/design_json_read.h"
#include "model/design.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kuvelt;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view text = fuzz::TakePart(rest);
    const std::string_view path = fuzz::TakePart(rest);
    const std::string_view value = fuzz::TakePart(rest);

    static const std::string fresh = [] {
        InitData();
        return cli::DumpJson(cli::DesignJson());
    }();

    std::vector<std::string> faults;
    if (!DesignFromJson(text, faults)) {
        fuzz::Check(!faults.empty(), "refused without a fault");
        fuzz::Check(cli::DumpJson(cli::DesignJson()) == fresh, "a refusal left a changed design");
        return 0;
    }
    fuzz::Check(faults.empty(), "read with faults");
    if (!path.empty()) {
        std::string fault;
        const std::string before = cli::DumpJson(cli::DesignJson());
        if (!SetDesignValue(path, value, fault)) {
            fuzz::Check(!fault.empty(), "a change refused without a reason");
            fuzz::Check(cli::DumpJson(cli::DesignJson()) == before,
                        "a refused change changed the design");
        }
    }
    const std::string dump = cli::DumpJson(cli::DesignJson());
    const std::string bytes = DesignToBytes();
    std::vector<std::string> again;
    fuzz::Check(DesignFromJson(dump, again), "the dump of a design that read does not read");
    fuzz::Check(cli::DumpJson(cli::DesignJson()) == dump,
                "the design changed on a JSON round trip");
    int32_t err = 0;
    fuzz::Check(DesignFromBytes(bytes, err), "the design file of a JSON design does not read");
    fuzz::Check(DesignToBytes() == bytes, "the design changed on a design-file round trip");
    return 0;
}
