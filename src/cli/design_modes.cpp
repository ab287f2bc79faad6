// The design-file mode: read a design and write it again (canonical bytes). The JSON view of a
// design is part of the calculation's --json mode (calc_modes.cpp).
#include <ostream>

#include "cli/design_source.h"
#include "cli/mode.h"
#include "io/design_file.h"
#include "usecase/design_run.h"

namespace kuvelt::cli {
namespace {

Outcome RunWrite(const Invocation& inv, std::ostream& out, std::ostream& err) {
    const usecase::PickRequest& pick = inv.pick;
    // The design read is never what is written over, whatever its name.
    if (!CheckDesignTarget(inv.output, {inv.files[0]}, err)) return Outcome::NotWritten;
    if (!LoadDesign(inv.files[0], err)) {
        return Outcome::Refused;
    }
    if (pick.how != usecase::PickRequest::How::Stored) {
        // Store the pick in the design as the choice window would, after its calculation.
        const usecase::DesignRun r = usecase::RunDesign(pick);
        PrintMessages(r.messages, err);
        if (r.note) err << *r.note << '\n';
        if (r.outcome != Outcome::Ok) return r.outcome;
    }
    return WriteDesign(inv.output, {inv.files[0]}, out, err);
}

}  // namespace

KUVELT_CLI_MODE(write, "--write", RunWrite);

}  // namespace kuvelt::cli
