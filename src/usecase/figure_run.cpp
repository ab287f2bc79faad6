#include "usecase/figure_run.h"

#include "report/prn.h"
#include "usecase/design_run.h"

namespace kuvelt::usecase {

StructureView StructureFigure() {
    StructureView v;
    v.width = basZuStructure::kFrameWidth;
    v.height = basZuStructure::kFrameHeight;
    const CalcRun run = Calculate(Purpose::Choice);
    if (!run.calculated) {
        v.note = "計算できないため，仮想地盤面は示していません。";
        if (!run.messages.empty()) v.note += "\n" + run.messages.front().text;
    }
    try {
        v.figure = basZuStructure::BuildStructureFigure(
            basZuStructure::CurrentSection(*run.results, run.calculated), v.width, v.height);
    } catch (const PrintFault& e) {
        v.figure = {};
        v.note = std::string("構造図を描けません：") + e.what();
    }
    return v;
}

}  // namespace kuvelt::usecase
