#include "usecase/report_run.h"

#include <stdio.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "formats/pdf_file.h"
#include "model/design.h"
#include "platform/files.h"
#include "platform/interrupt.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/run_files.h"
#include "report/prn.h"

namespace kuvelt::usecase {

namespace {

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

// The names a report folder holds: the chapter, front-matter and combined files, the figure
// files (named as the temporary files they were made as) and the folder's own numbering
// settings. A previous report is replaced by the new one only when it holds nothing else.
bool ReportEntry(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "1.prn",     "2.prn",       "3.prn",         "4.prn",      "5.prn",
        "cover.prn", "summary.prn", "standards.prn", "report.prn", "Kuvelt.INI"};
    for (std::string_view n : kNames)
        if (name == n) return true;
    return name.size() == basResOutPrn::kTempPrefix.size() + 6 &&
           name.substr(0, basResOutPrn::kTempPrefix.size()) == basResOutPrn::kTempPrefix;
}

Message FolderFailureMessage(const files::Failure& failure, const std::string& dir) {
    return Message{
        failure.code,
        files::MessageText("計算書のﾌｫﾙﾀﾞを作成することができませんでした。", failure.code,
                           files::FailureDetail(failure, dir, "ﾌｫﾙﾀﾞ名：")),
        "計算書書き込みｴﾗｰ", MsgIcon::Error, MsgButtons::Ok};
}

// Writes the whole report of the current design into the empty folder `folder`, the files
// named for the folder `shown` they will be found in. False with `failure` when a file could
// not be made or written whole (the folder is then to be thrown away); a chapter whose content
// failed is said in `r` (ChapterFailed) and its file kept as far as it was written.
bool WriteReportFiles(const std::string& folder, const std::string& shown,
                      const std::string& iniFile, ReportRun& r, files::Failure& failure) {
    TempFolderScope scope(folder);
    const print_job::Generation g = print_job::GenerateReport(*r.design.calc.results, iniFile);
    print_job::Ticks all{};
    for (int i = 0; i < print_job::kItems; ++i)
        all[static_cast<std::size_t>(i)] = i < print_job::kItems - 1 || g.stabilityEnabled;
    // Every part of the document: the command line prints the whole report.
    const CombinedReport combined = CombineReport(all, print_job::kAllParts, "");

    std::vector<std::pair<std::string, std::string>> names;  // file of the job, its name
    for (int i = 0; i < print_job::kItems; ++i)
        names.emplace_back(print_job::ChapterFile(i), std::to_string(i + 1) + ".prn");
    static const char* const kFrontNames[] = {"cover.prn", "summary.prn", "standards.prn"};
    for (std::size_t k = 0; k < print_job::kFrontFiles.size(); ++k)
        names.emplace_back(print_job::PartFile(print_job::kFrontFiles[k]), kFrontNames[k]);
    names.emplace_back(combined.file, "report.prn");
    for (const auto& [from, name] : names) {
        if (from.empty()) continue;
        if (::rename(from.c_str(), (folder + "/" + name).c_str()) == 0) {
            r.files.push_back(shown + "/" + name);
        } else if (failure.code == 0) {
            failure = {files::ErrorCodeFromErrno(errno), files::SystemErrorText(errno)};
        }
    }
    print_job::ReleaseFiles();
    if (const auto written = basResOutPrn::WriteFailure()) failure = *written;
    if (combined.refusal && failure.code == 0) failure = {combined.refusal->code, ""};
    if (failure.code != 0) {
        r.files.clear();
        return false;
    }
    if (g.failure) {
        r.messages.push_back(*g.failure);
        for (int i = 0; i < print_job::kItems; ++i) {
            const std::string& e = g.errors[static_cast<std::size_t>(i)];
            if (!e.empty()) r.messages.push_back(Note(std::to_string(i + 1) + ".prn: " + e));
        }
        r.outcome = Outcome::ChapterFailed;
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
    if (r.calc.calculated) r.generation = print_job::GenerateReport(*r.calc.results, iniFile);
    return r;
}

CombinedReport CombineReport(const print_job::Ticks& ticks, const print_job::PartTicks& parts,
                             const std::string& designFile) {
    CombinedReport c;
    c.refusal = print_job::BuildCombinedFile(ticks, designFile, parts);
    if (!c.refusal) c.file = print_job::CombinedFile();
    return c;
}

ReportRun WriteReportFolder(const std::string& dir, const PickRequest& pick) {
    interrupt::Deferral deferral;  // a termination request stops the run before the swap
    ReportRun r;
    if (!ReadyForReport(r, pick)) return r;
    files::FolderReplacement folder;
    files::Failure failure;
    if (folder.Begin(dir, ReportEntry, failure)) {
        // Heading numbering: a settings file in the report folder wins over the program's own,
        // and stays in the folder.
        std::string ini;
        if (!folder.previous().empty()) {
            std::string bytes;
            int32_t code = 0;
            const std::string previous = folder.previous() + "/Kuvelt.INI";
            if (files::Exists(previous) && files::ReadAll(previous, bytes, code, 1u << 20)) {
                ini = folder.fresh() + "/Kuvelt.INI";
                if (!files::ReplaceFile(ini, bytes, failure)) ini.clear();
            }
        }
        if (failure.code == 0 && WriteReportFiles(folder.fresh(), folder.target(), ini, r, failure))
            folder.Commit(failure);
    }
    if (failure.code != 0) {
        r.files.clear();
        r.messages.push_back(FolderFailureMessage(failure, dir));
        r.outcome = Outcome::NotWritten;
    }
    return r;
}

ReportRun MakePdf(const std::string& pdfPath, const PickRequest& pick,
                  const std::vector<std::string>& inputs) {
    interrupt::Deferral deferral;  // a termination request stops the run before the PDF is placed
    ReportRun r;
    files::ReplaceGuard guard;
    guard.inputs = inputs;
    guard.whole = formats::PdfIsComplete;
    files::Failure failure;
    auto failed = [&](const Message& m) {
        r.messages.push_back(m);
        r.outcome = Outcome::PdfFailed;
        return r;
    };
    if (!files::CheckReplaceable(pdfPath, failure, guard))
        return failed(formats::PdfWriteFailureMessage(failure, pdfPath));
    if (!ReadyForReport(r, pick)) return r;
    // The report and the PDF the preview makes of it live in a folder of this run only.
    runfiles::RunFolder work;
    int err = 0;
    if (!work.Create(paths::TempFolder(), "~MTpdf", err))
        return failed(ToolNote("cannot create a temporary folder in " + paths::TempFolder() + ": " +
                               files::SystemErrorText(err)));
    if (!WriteReportFiles(work.path(), work.path(), "", r, failure))
        return failed(FolderFailureMessage(failure, work.path()));
    r.files.clear();
    const std::string preview = paths::Join(paths::ProgramFolder(), "Preview");
    // Without a display the preview renders on Qt's offscreen platform.
    auto unset = [](const char* name) {
        const char* v = std::getenv(name);
        return v == nullptr || *v == '\0';
    };
    if (unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // Qt keeps runtime files in a private folder of the session; without a session the run's
    // own folder serves, so nothing of the preview stays behind in the temporary folder.
    const bool noRuntime = unset("XDG_RUNTIME_DIR");
    if (noRuntime) ::setenv("XDG_RUNTIME_DIR", work.path().c_str(), 1);
    const std::string made = work.path() + "/report.pdf";
    int previewStatus = -1;
    const bool started =
        process::Start({preview, "--pdf", made, work.path() + "/report.prn"}, true, &previewStatus);
    if (noRuntime) ::unsetenv("XDG_RUNTIME_DIR");
    std::string bytes;
    int32_t code = 0;
    if (!started || previewStatus != 0 ||
        !files::ReadAll(made, bytes, code, std::size_t(1) << 31)) {
        return failed(
            ToolNote("the preview program " + preview +
                     (started ? " could not write " + pdfPath : std::string(" is missing"))));
    }
    if (!files::ReplaceFile(pdfPath, bytes, failure, guard))
        return failed(formats::PdfWriteFailureMessage(failure, pdfPath));
    std::error_code ec;
    r.files.push_back(std::filesystem::absolute(pdfPath, ec).string());
    return r;
}

}  // namespace kuvelt::usecase
