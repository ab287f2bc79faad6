#include "usecase/report_run.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "model/design.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "report/prn.h"

namespace kuvelt::usecase {

namespace {

namespace fs = std::filesystem;

// A line of kuvelt's own (not a message box of the windows), printed as "Kuvelt: TEXT".
Message Note(const std::string& text) {
    return Message{0, text, "Kuvelt", MsgIcon::Information, MsgButtons::Ok};
}

// A line of the command-line tool about its own work, printed as "kuvelt-calc: TEXT".
Message ToolNote(const std::string& text) {
    return Message{0, text, "kuvelt-calc", MsgIcon::Error, MsgButtons::Ok};
}

// Points the report's temporary files at `dir` for as long as it lives, and names the figures
// relative to it, so the report folder holds everything it needs and can be moved as a whole.
struct TempFolderScope {
    explicit TempFolderScope(const std::string& dir) {
        basResOutPrn::SetReportTempFolder(dir);
        basResOutPrn::SetFigureReferenceFolder(dir);
    }
    ~TempFolderScope() {
        basResOutPrn::SetReportTempFolder("");
        basResOutPrn::SetFigureReferenceFolder("");
    }
    TempFolderScope(const TempFolderScope&) = delete;
    TempFolderScope& operator=(const TempFolderScope&) = delete;
};

bool MoveInto(const std::string& from, const fs::path& to, std::vector<Message>& messages) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) {
        messages.push_back(Note(to.string() + " を書き込めません（" + ec.message() + "）"));
        return false;
    }
    return true;
}

// The calculation and the pick of a report; false (with the outcome set) when no report may be
// written.
bool ReadyForReport(ReportRun& r, const PickRequest& pick) {
    r.design = RunDesign(pick);
    r.messages = r.design.messages;
    r.outcome = r.design.outcome;
    // A stability check that failed is stated in chapter 5 and fails the run, with the report.
    if (r.design.outcome != Outcome::Ok && !r.design.calc.stabilityFailed) return false;
    if (!gInpYaita.InpFlg) {
        r.messages.push_back(NoChoiceMessage());
        r.design.needsPick = true;
        r.outcome = Outcome::Refused;
        return false;
    }
    if (r.design.note) r.messages.push_back(Note(*r.design.note));
    return true;
}

}  // namespace

PrintRun PrepareReport(const std::string& iniFile) {
    PrintRun r;
    r.calc = Calculate(Purpose::Print);
    if (r.calc.calculated) r.generation = print_job::GenerateReport(iniFile);
    return r;
}

ReportRun WriteReportFolder(const std::string& dir, const PickRequest& pick) {
    ReportRun r;
    if (!ReadyForReport(r, pick)) return r;
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path folder = fs::absolute(dir, ec);
    if (ec || !fs::is_directory(folder)) {
        r.messages.push_back(Note(dir + " にﾌｫﾙﾀﾞを作成できません"));
        r.outcome = Outcome::NotWritten;
        return r;
    }

    TempFolderScope scope(folder.string());
    // Heading numbering: a settings file in the report folder wins over the program's own.
    const fs::path localIni = folder / "Kuvelt.INI";
    const print_job::Generation g =
        print_job::GenerateReport(fs::exists(localIni) ? localIni.string() : std::string());
    print_job::Ticks all{};
    for (int i = 0; i < print_job::kItems; ++i)
        all[static_cast<std::size_t>(i)] = i < print_job::kItems - 1 || g.stabilityEnabled;
    // Every part of the document: the command line prints the whole report.
    const auto combinedFailure = print_job::BuildCombinedFile(all, "", print_job::kAllParts);

    bool moved = true;
    for (int i = 0; i < print_job::kItems; ++i) {
        const fs::path to = folder / (std::to_string(i + 1) + ".prn");
        moved = MoveInto(print_job::ChapterFile(i), to, r.messages) && moved;
        if (moved) r.files.push_back(to.string());
    }
    static const char* const kFrontNames[] = {"cover.prn", "summary.prn", "standards.prn"};
    for (std::size_t k = 0; k < print_job::kFrontFiles.size(); ++k) {
        const std::string file = print_job::PartFile(print_job::kFrontFiles[k]);
        if (file.empty()) continue;
        const fs::path to = folder / kFrontNames[k];
        moved = MoveInto(file, to, r.messages) && moved;
        if (moved) r.files.push_back(to.string());
    }
    if (!combinedFailure) {
        const fs::path to = folder / "report.prn";
        moved = MoveInto(print_job::CombinedFile(), to, r.messages) && moved;
        if (moved) r.files.push_back(to.string());
    } else {
        r.messages.push_back(*combinedFailure);
        moved = false;
    }
    print_job::ReleaseFiles();

    if (g.failure) {
        r.messages.push_back(*g.failure);
        for (int i = 0; i < print_job::kItems; ++i) {
            const std::string& e = g.errors[static_cast<std::size_t>(i)];
            if (!e.empty()) r.messages.push_back(Note(std::to_string(i + 1) + ".prn: " + e));
        }
        r.outcome = Outcome::ChapterFailed;
        return r;
    }
    r.outcome = Worst(r.design.outcome, moved ? Outcome::Ok : Outcome::NotWritten);
    return r;
}

ReportRun MakePdf(const std::string& pdfPath, const PickRequest& pick) {
    std::error_code ec;
    const fs::path pdf = fs::absolute(pdfPath, ec);
    std::string pattern = paths::Join(paths::TempFolder(), "~MTpdf-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) {
        ReportRun r;
        r.messages.push_back(
            ToolNote("cannot create a temporary folder in " + paths::TempFolder()));
        r.outcome = Outcome::PdfFailed;
        return r;
    }
    const fs::path dir = pattern;
    ReportRun r = WriteReportFolder(dir.string(), pick);
    const std::vector<std::string> chapterFiles = std::move(r.files);
    r.files.clear();
    const bool written = r.outcome == Outcome::Ok || r.outcome == Outcome::ChapterFailed ||
                         (r.outcome == Outcome::CalcFailed && r.design.calc.stabilityFailed);
    if (written) {
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
            r.messages.push_back(ToolNote(
                "the preview program " + preview +
                (started ? " could not write " + pdf.string() : std::string(" is missing"))));
            r.outcome = Outcome::PdfFailed;
        } else {
            r.files.push_back(pdf.string());
        }
    }
    fs::remove_all(dir, ec);
    return r;
}

}  // namespace kuvelt::usecase
