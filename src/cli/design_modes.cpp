// The design-file mode: read a design and write it again (canonical bytes). The JSON view of a
// design is part of the calculation's --json mode (calc_modes.cpp).
#include <ostream>

#include "cli/mode.h"
#include "io/design_file.h"

namespace kuvelt::cli {
namespace {

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

KUVELT_CLI_MODE(write, "--write", "--write OUT.kvt FILE.kvt",
                "reads FILE.kvt and writes it again as OUT.kvt", RunWrite);

}  // namespace kuvelt::cli
