// kuvelt-calc --report DIR FILE.kvt and --pdf OUT.pdf FILE.kvt: the calculation report of a
// design, as a folder of print and figure files or as a PDF rendered by the preview program.
// Both write a report only for a sheet-pile somebody chose: the design's stored choice, or one
// given with --pick (auto: the program's proposal, said so in the report).
#include <stdlib.h>

#include <filesystem>
#include <ostream>

#include "cli/mode.h"
#include "cli/standard_streams.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "usecase/report_run.h"

namespace kuvelt::cli {
namespace {

// A PDF of a few hundred pages with figures; more is not a report of ours.
constexpr std::size_t kMaxPdfBytes = 1u << 30;

Outcome Finish(const usecase::ReportRun& r, std::ostream& out, std::ostream& err) {
    PrintMessages(r.messages, err);
    if (r.design.needsPick) err << kPickHint << '\n';
    for (const std::string& f : r.files) out << f << '\n';
    return r.outcome;
}

Outcome Report(const Invocation& inv, std::ostream& out, std::ostream& err) {
    if (!LoadDesign(inv.files[0], err)) return Outcome::Refused;
    return Finish(usecase::WriteReportFolder(inv.output, inv.pick), out, err);
}

// The PDF made by the preview program, whose standard error is caught meanwhile: its own lines
// are said as ours, the libraries' only with --verbose.
usecase::ReportRun MakePdf(const std::string& pdf, const Invocation& inv, std::ostream& err) {
    StderrCapture caught;
    usecase::ReportRun r = usecase::MakePdf(pdf, inv.pick, {inv.files[0]});
    PassOnMessages(caught.Release(), "Preview: ", inv.verbose, err);
    return r;
}

// "--pdf -": the whole PDF is made in a private folder first and only then copied out, so a
// failure writes nothing on standard output.
usecase::ReportRun PdfToStandardOutput(const Invocation& inv, std::ostream& out,
                                       std::ostream& err) {
    std::string folder = paths::Join(paths::TempFolder(), "~MTout-XXXXXX");
    if (::mkdtemp(folder.data()) == nullptr) {
        usecase::ReportRun r;
        r.messages.push_back(Message{0,
                                     "cannot create a temporary folder in " + paths::TempFolder(),
                                     "kuvelt-calc", MsgIcon::Error, MsgButtons::Ok});
        r.outcome = Outcome::PdfFailed;
        return r;
    }
    const std::string pdf = paths::Join(folder, "report.pdf");
    usecase::ReportRun r = MakePdf(pdf, inv, err);
    if (r.outcome == Outcome::Ok) {
        std::string bytes;
        int32_t code = 0;
        if (files::ReadAll(pdf, bytes, code, kMaxPdfBytes)) {
            WriteStandardOutput(bytes, out);
        } else {
            r.messages.push_back(
                Message{code, "the PDF made cannot be read (error " + std::to_string(code) + ")",
                        "kuvelt-calc", MsgIcon::Error, MsgButtons::Ok});
            r.outcome = Outcome::PdfFailed;
        }
    }
    r.files.clear();  // standard output holds the PDF, not its name
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return r;
}

Outcome Pdf(const Invocation& inv, std::ostream& out, std::ostream& err) {
    if (!LoadDesign(inv.files[0], err)) return Outcome::Refused;
    if (inv.output == kStandardStream) return Finish(PdfToStandardOutput(inv, out, err), out, err);
    return Finish(MakePdf(inv.output, inv, err), out, err);
}

}  // namespace

KUVELT_CLI_MODE(report, "--report", Report);
KUVELT_CLI_MODE(pdf, "--pdf", Pdf);

}  // namespace kuvelt::cli
