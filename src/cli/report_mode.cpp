#include "cli/report_mode.h"

#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "calc/calc_main.h"
#include "calc/yaita_choice.h"
#include "cli/mode.h"
#include "model/design.h"
#include "platform/files.h"
#include "report/chapters/print_job.h"
#include "report/prn.h"

namespace kuvelt::cli {
namespace {

namespace fs = std::filesystem;

// Points the report's temporary files at `dir` for as long as it lives, so the figure lines of
// the chapters name files inside the report folder.
struct TempFolderScope {
    explicit TempFolderScope(const std::string& dir) { basResOutPrn::SetReportTempFolder(dir); }
    ~TempFolderScope() { basResOutPrn::SetReportTempFolder(""); }
};

bool MoveInto(const std::string& from, const fs::path& to, std::ostream& err) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) {
        err << "Kuvelt: " << to.string() << " を書き込めません（" << ec.message() << "）\n";
        return false;
    }
    return true;
}

int Report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) return kExitUsage;
    return RunReportMode(args[0], args[1], out, err);
}

}  // namespace

int RunReportMode(const std::string& dir, const std::string& designPath, std::ostream& out,
                  std::ostream& err) {
    if (!LoadDesign(designPath, err)) return kExitRefused;
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path folder = fs::absolute(dir, ec);
    if (ec || !fs::is_directory(folder)) {
        err << "Kuvelt: " << dir << " にﾌｫﾙﾀﾞを作成できません\n";
        return kExitWrite;
    }
    std::vector<Message> messages;
    if (!CalcMain(&messages)) {
        for (const Message& m : messages) PrintMessage(m, err);
        return kExitCalc;
    }
    if (!gInpYaita.InpFlg) {
        // A design without a sheet-pile choice is reported with the choice window's proposal,
        // as if the user had confirmed it unchanged.
        const ChoiceProposal p = ProposeChoice();
        StoreChoice(p.Yaita, p.Sect, p.H, p.D, p.L);
        err << "Kuvelt: 使用矢板が選択されていないため，選択画面の初期値で出力します。\n";
    }
    CalcNekiriAntei(&messages);
    for (const Message& m : messages) PrintMessage(m, err);

    TempFolderScope scope(folder.string());
    // Heading numbering: a settings file in the report folder wins over the program's own.
    const fs::path localIni = folder / "Kuvelt.INI";
    const print_job::Generation g =
        print_job::GenerateReport(fs::exists(localIni) ? localIni.string() : std::string());
    print_job::Ticks all{};
    for (int i = 0; i < print_job::kItems; ++i)
        all[static_cast<std::size_t>(i)] = i < 4 || g.stabilityEnabled;
    const auto combinedFailure = print_job::BuildCombinedFile(all);

    bool moved = true;
    for (int i = 0; i < print_job::kItems; ++i) {
        const fs::path to = folder / (std::to_string(i + 1) + ".prn");
        moved = MoveInto(print_job::ChapterFile(i), to, err) && moved;
        if (moved) out << to.string() << "\n";
    }
    if (!combinedFailure) {
        const fs::path to = folder / "report.prn";
        moved = MoveInto(print_job::CombinedFile(), to, err) && moved;
        if (moved) out << to.string() << "\n";
    } else {
        PrintMessage(*combinedFailure, err);
        moved = false;
    }
    // The files now belong to the report folder: take them off the job's lists, which are
    // deleted when a job is reset or the program ends. The figure lines name the figure files.
    for (auto& f : basResOutPrn::PrintFileNames) f.clear();
    for (auto& f : basResOutPrn::FigureFileNames) f.clear();
    basResOutPrn::PrintFileCount = 0;
    basResOutPrn::FigureFileCount = 0;
    basResOutPrn::CurrentPrintFile.clear();

    if (g.failure) {
        PrintMessage(*g.failure, err);
        for (int i = 0; i < print_job::kItems; ++i) {
            if (!g.errors[static_cast<std::size_t>(i)].empty()) {
                err << "  " << (i + 1) << ".prn: " << g.errors[static_cast<std::size_t>(i)] << "\n";
            }
        }
        return kExitChapter;
    }
    return moved ? kExitOk : kExitWrite;
}

int RunReportMode(const std::string& dir, const std::string& designPath) {
    return RunReportMode(dir, designPath, std::cout, std::cerr);
}

KUVELT_CLI_MODE(report, "--report", "--report DIR FILE.kvt",
                "writes the calculation report (chapter, combined and figure files) into DIR",
                Report);

}  // namespace kuvelt::cli
