// The excavation-bottom stability result windows, read-only: frmResOutAs "ボイリングの検討"
// (water head difference, embedment, safety factor, verdict and the reference table of safety
// factors by embedment, factors below the allowable one in red) and frmResOutAc
// "ヒービングの検討" (wall height, embedment, safety factor, verdict). The main window fills them
// on LoadData from the stability check that just ran.
#pragma once

#include <string>

#include "ui/input_window.h"

class QLabel;
class QTableView;

namespace kuvelt::ui {

class NumField;
class ResultGridModel;

// "≧ 1.2 OK" when the check passed, "＜ 1.2 OUT" when it failed (Fa with one decimal).
std::string VerdictText(bool hantei, double Fa);
// A factor of the reference table is red when it lies below Fa by 0.001 or more.
bool FactorBelowAllowable(double factor, double Fa);

class frmResOutAs : public InputWindow {
    Q_OBJECT
  public:
    explicit frmResOutAs(QWidget* parent = nullptr);
    void setVerdict(bool hantei, double Fa);
    // No water head: no factor, no reference table, the verdict says the check is not needed.
    void setNotNeeded();

    NumField *numH1, *numD, *numFs;
    QLabel* lblHantei;
    QLabel* lblPile;    // the chosen pile the check is of
    QLabel* lblNoHead;  // why the check is not needed, shown only then
    QTableView* vaSpread1;
    ResultGridModel* table;
};

class frmResOutAc : public InputWindow {
    Q_OBJECT
  public:
    explicit frmResOutAc(QWidget* parent = nullptr);
    void setVerdict(bool hantei, double Fa);

    NumField *numH, *numD, *numFs, *numQ, *numW;
    QLabel* lblHantei;
    QLabel* lblPile;  // the chosen pile the check is of
};

}  // namespace kuvelt::ui
