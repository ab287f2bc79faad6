// The design-file modes: show a design as JSON, and read and write it again.
#include <ostream>

#include "cli/design_json.h"
#include "cli/mode.h"
#include "io/design_file.h"

namespace kuvelt::cli {
namespace {

int RunJson(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) return kExitUsage;
    if (!LoadDesign(args[0], err)) return kExitRefused;
    nlohmann::ordered_json j;
    j["design"] = DesignJson();
    out << DumpJson(j);
    return kExitOk;
}

int RunWrite(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    if (args.size() != 2) return kExitUsage;
    if (!LoadDesign(args[1], err)) return kExitRefused;
    int32_t code = 0;
    if (!WriteData(args[0], code)) {
        PrintMessage(WriteFailureMessage(code), err);
        return kExitWrite;
    }
    return kExitOk;
}

}  // namespace

KUVELT_CLI_MODE(json, "--json", "--json FILE.kvt", "prints the design as JSON", RunJson);
KUVELT_CLI_MODE(write, "--write", "--write OUT.kvt FILE.kvt",
                "reads FILE.kvt and writes it again as OUT.kvt", RunWrite);

}  // namespace kuvelt::cli
