// kuvelt-calc --json on a design file from anywhere: reading, the whole calculation, the
// stability check and the JSON dump must end for every input, without a crash. The report's
// figures are drawn on what the calculation left (the 構造図 always, the pressure figure and
// the load diagram when it ran through): they end with a figure that reads back strictly or a
// PrintFault, never a crash or a read outside their data.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "cli/calc_json.h"
#include "formats/figure_files.h"
#include "fuzz_support.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/message.h"
#include "report/chapters/zu_pressure.h"
#include "report/chapters/zu_sp.h"
#include "report/chapters/zu_structure.h"
#include "report/prn.h"
#include "report/prnz.h"
#include "usecase/design_run.h"

namespace {

using namespace kuvelt;

// Style files of the report's shape in the process's folder, which is also where the figure
// files go.
void SetUpReportFolder() {
    static const bool done = [] {
        const std::string dir = fuzz::ProcessTempDir();
        fuzz::WriteFile(dir + "/LINE_PRN.DEF",
                        "key,type,width,note\r\n1, 0, 18, \"a\"\r\n2, 0, 35, \"b\"\r\n"
                        "3, 0, 50, \"c\"\r\n4, 1, 13, \"d\"\r\n5, 2, 13, \"e\"\r\n"
                        "6, 3, 18, \"f\"\r\nEND, 0, 0, \"\"\r\n");
        fuzz::WriteFile(dir + "/STR_PRN.DEF",
                        "key,weight,font,size,colour,italic,spare,note\r\n"
                        "1, 400, \"IPAGothic\", 200, 0, 0, 0, \"a\"\r\n"
                        "2, 400, \"IPAGothic\", 160, 0, 0, 0, \"b\"\r\n"
                        "END, 0, \"\", 0, 0, 0, 0, \"\"\r\n");
        basResOutPrn::SetReportDataFolder(dir);
        basResOutPrn::SetReportTempFolder(dir);
        // Styles that do not load would fail every figure before it draws anything.
        try {
            basResOutPrnZ::LoadLineStyles(basResOutPrnZ::LineStyleFile());
            basResOutPrnZ::LoadTextStyles(basResOutPrnZ::TextStyleFile());
        } catch (const PrintFault& e) {
            fuzz::Check(false, e.what());
        }
        return true;
    }();
    (void)done;
}

void CheckFigure(const formats::SubFigure& f) {
    for (const formats::Point& p : f.points) {
        fuzz::Check(std::isfinite(p.x) && std::isfinite(p.y), "figure point is not finite");
    }
}

// A composite the report wrote reads back strictly, and so does each of its sub-figures.
void CheckWritten(const std::string& composite) {
    formats::Composite c;
    std::string error;
    fuzz::Check(formats::ReadComposite(composite, formats::Mode::Strict, c, &error),
                "written composite does not read back");
    for (const formats::Placement& p : c.subFigures) {
        formats::SubFigure f;
        fuzz::Check(formats::ReadSubFigure(p.path, formats::Mode::Strict, f, &error),
                    "written sub-figure does not read back");
        CheckFigure(f);
    }
}

void DrawFigures(bool calculated) {
    const Results results = SnapshotResults();
    SetUpReportFolder();
    basResOutPrn::ResetPrintJob();
    try {
        const basZuStructure::Drawn d = basZuStructure::BuildStructureFigure(
            basZuStructure::CurrentSection(results, calculated));
        formats::SubFigure f;
        fuzz::Check(formats::ParseSubFigure(d.bytes, formats::Mode::Strict, f),
                    "structure figure does not read back");
        CheckFigure(f);
    } catch (const PrintFault&) {
    }
    if (calculated) {
        try {
            CheckWritten(basZuPressure::DrawPressureFigure(results));
        } catch (const PrintFault&) {
        }
        try {
            CheckWritten(basZuSp::DrawLoadDiagram(results, 128, 80));
        } catch (const PrintFault&) {
        }
    }
    basResOutPrn::DeleteAllReportFiles();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kuvelt;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    int32_t err = 0;
    if (!DesignFromBytes(bytes, err)) return 0;

    // As the tool does it for every design of a batch: fresh stores, then the run.
    ResetResultStore();
    ResetSectionResults();
    ResetNekiriAntei();
    usecase::CalcRun run;
    run.calculated = CalcMain(&run.messages);
    if (run.calculated && gInpYaita.InpFlg) run.stability = CalcNekiriAntei(&run.messages);
    run.results = std::make_shared<const Results>(SnapshotResults());
    const std::string line = cli::ResultsJsonLine(std::nullopt, run);
    DrawFigures(run.calculated);
    if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1) {
        std::fprintf(stderr, "JSON line is not one line\n");
        std::abort();
    }
    return 0;
}
