// kuvelt-calc --pdf OUT.pdf FILE.kvt: the calculation report of a design as a PDF in one step.
// The report is written into a private temporary folder (as --report does) and handed to the
// preview program of the program folder, which renders it without a window; the folder is
// removed afterwards. The command line keeps no Qt of its own: rendering stays in one place.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/mode.h"
#include "cli/report_mode.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace kuvelt::cli {
namespace {

namespace fs = std::filesystem;

// Exit status when the preview program is missing or could not render the PDF.
constexpr int kExitPdf = 5;

int Pdf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return kExitUsage;
    std::error_code ec;
    const fs::path pdf = fs::absolute(args[0], ec);

    std::string pattern = paths::Join(paths::TempFolder(), "~MTpdf-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) {
        err << "kuvelt-calc: cannot create a temporary folder in " << paths::TempFolder() << "\n";
        return kExitPdf;
    }
    const fs::path dir = pattern;

    std::ostringstream reportOut;
    int status = RunReportMode(dir.string(), args[1], reportOut, err);
    if (status == kExitOk || status == kExitChapter) {
        const std::string preview = paths::Join(paths::ProgramFolder(), "Preview");
        // Without a display the preview renders on Qt's offscreen platform.
        auto unset = [](const char* name) {
            const char* v = std::getenv(name);
            return v == nullptr || *v == '\0';
        };
        if (unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM")) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        int previewStatus = -1;
        const bool started = process::Start(
            {preview, "--pdf", pdf.string(), (dir / "report.prn").string()}, true, &previewStatus);
        if (!started || previewStatus != 0) {
            err << "kuvelt-calc: the preview program " << preview
                << (started ? " could not write " + pdf.string() : std::string(" is missing"))
                << "\n";
            status = kExitPdf;
        } else {
            out << pdf.string() << "\n";
        }
    }
    fs::remove_all(dir, ec);
    return status;
}

}  // namespace

KUVELT_CLI_MODE(pdf, "--pdf", "--pdf OUT.pdf FILE.kvt",
                "writes the calculation report of a design as a PDF (through the preview program)",
                Pdf);

}  // namespace kuvelt::cli
