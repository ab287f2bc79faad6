// The design-file mode: read a design and write it again (canonical bytes). The JSON view of a
// design is part of the calculation's --json mode (calc_modes.cpp).
#include <ostream>

#include "cli/design_source.h"
#include "cli/mode.h"
#include "io/design_file.h"
#include "usecase/design_run.h"

namespace kuvelt::cli {
namespace {

Outcome RunWrite(const std::vector<std::string>& given, std::ostream&, std::ostream& err) {
    std::vector<std::string> args = given;
    usecase::PickRequest pick;
    if (!TakePickOptions(args, pick, err) || args.size() != 2) return Outcome::Usage;
    if (!LoadDesign(args[1], err)) return Outcome::Refused;
    if (pick.how != usecase::PickRequest::How::Stored) {
        // Store the pick in the design as the choice window would, after its calculation.
        const usecase::DesignRun r = usecase::RunDesign(pick);
        PrintMessages(r.messages, err);
        if (r.note) err << "Kuvelt: " << *r.note << '\n';
        if (r.outcome != Outcome::Ok) return r.outcome;
    }
    return WriteDesign(args[0], err) ? Outcome::Ok : Outcome::NotWritten;
}

}  // namespace

KUVELT_CLI_MODE(write, "--write",
                "--write OUT.kvt|OUT.json FILE [--pick KIND:NO:L | --pick auto] [--yes]",
                "reads FILE (.kvt or .json) and writes it again as OUT, a design file or a JSON "
                "design by OUT's extension (with --pick: calculated and with that sheet-pile "
                "choice stored)",
                RunWrite);

}  // namespace kuvelt::cli
