#include "ui/stability_handlers.h"

#include <QLabel>
#include <optional>
#include <string>

#include "calc/results.h"
#include "calc/yaita_choice.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "ui/fields.h"
#include "ui/frmResOut.h"
#include "ui/result_grid_model.h"

namespace kuvelt::ui {

namespace {

// "使用矢板　鋼矢板 №7 SP-ⅢW　Ｌ ＝ 14.00 m": the pile the stability check is of.
QString ChosenPileLine() {
    const CInpYaita& y = gInpYaita;
    const std::optional<PileKind> kind = KindOfChoice(y.Yaita);
    if (!y.InpFlg || !kind) return {};
    return Q("使用矢板　" + std::string(KindCaption(*kind)) + " №" + std::to_string(y.Sect) + " " +
             SectionName(*kind, y.Sect) + "　Ｌ ＝ " + numfmt::FormatNumber(y.L, "0.00") + " m");
}

}  // namespace

void objResOutAs_LoadData(frmResOutAs& w, const Results& results) {
    if (!results.boiling) return;
    const clsNekiriAnteiAs& r = *results.boiling;
    w.lblPile->setText(ChosenPileLine());
    w.numH1->setValue(r.Hw);
    w.numD->setValue(r.D);
    if (r.NoHead()) {
        w.setNotNeeded();
        return;
    }
    w.numFs->setValue(r.F());
    w.setVerdict(r.Hantei(), r.Fa);
    w.table->SetRowCount(r.Ichiran().Count());
    int row = 0;
    for (const CDim1x2& pair : r.Ichiran()) {
        w.table->SetCell(row, 0, pair.Value1);
        w.table->SetCell(row, 1, pair.Value2, FactorBelowAllowable(pair.Value2, r.Fa));
        ++row;
    }
}

void objResOutAc_LoadData(frmResOutAc& w, const Results& results) {
    if (!results.heaving) return;
    const clsNekiriAnteiAc& r = *results.heaving;
    w.lblPile->setText(ChosenPileLine());
    w.numH->setValue(r.H);
    w.numD->setValue(r.D);
    w.numQ->setValue(r.Q);
    w.numW->setValue(r.W());
    w.numFs->setValue(r.F());
    w.setVerdict(r.Hantei(), r.Fa);
}

}  // namespace kuvelt::ui
