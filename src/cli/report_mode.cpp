// kuvelt-calc --report DIR FILE.kvt and --pdf OUT.pdf FILE.kvt: the calculation report of a
// design, as a folder of print and figure files or as a PDF rendered by the preview program.
// Both write a report only for a sheet-pile somebody chose: the design's stored choice, or one
// given with --pick (auto: the program's proposal, said so in the report).
#include <ostream>

#include "cli/mode.h"
#include "usecase/report_run.h"

namespace kuvelt::cli {
namespace {

Outcome Finish(const usecase::ReportRun& r, std::ostream& out, std::ostream& err) {
    PrintMessages(r.messages, err);
    if (r.design.needsPick) err << "kuvelt-calc: " << kPickHint << '\n';
    for (const std::string& f : r.files) out << f << '\n';
    return r.outcome;
}

Outcome Report(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = given;
    usecase::PickRequest pick;
    if (!TakePickOptions(args, pick, err) || args.size() != 2) return Outcome::Usage;
    if (!LoadDesign(args[1], err)) return Outcome::Refused;
    return Finish(usecase::WriteReportFolder(args[0], pick), out, err);
}

Outcome Pdf(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = given;
    usecase::PickRequest pick;
    if (!TakePickOptions(args, pick, err) || args.size() != 2) return Outcome::Usage;
    if (!LoadDesign(args[1], err)) return Outcome::Refused;
    return Finish(usecase::MakePdf(args[0], pick, {args[1]}), out, err);
}

}  // namespace

KUVELT_CLI_MODE(report, "--report",
                "--report DIR FILE.kvt [--pick KIND:NO:L | --pick auto] [--yes]",
                "writes the calculation report (chapter, combined and figure files) into DIR",
                Report);
KUVELT_CLI_MODE(pdf, "--pdf", "--pdf OUT.pdf FILE.kvt [--pick KIND:NO:L | --pick auto] [--yes]",
                "writes the calculation report of a design as a PDF (through the preview program)",
                Pdf);

}  // namespace kuvelt::cli
