// kuvelt-calc --json on a design file from anywhere: reading, the whole calculation, the
// stability check and the JSON dump must end for every input, without a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "cli/calc_json.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kuvelt;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    int32_t err = 0;
    if (!DesignFromBytes(bytes, err)) return 0;

    // As the tool does it for every design of a batch: fresh stores, then the run.
    ResetResultStore();
    ResetSectionResults();
    ResetNekiriAntei();
    std::vector<Message> messages;
    const bool ok = CalcMain(&messages);
    std::optional<bool> nekiri;
    if (ok && gInpYaita.InpFlg) nekiri = CalcNekiriAntei(&messages);
    const std::string line = cli::ResultsJsonLine(std::nullopt, ok, nekiri);
    if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1) {
        std::fprintf(stderr, "JSON line is not one line\n");
        std::abort();
    }
    return 0;
}
