// The ground-conditions window: the ground kind, unit weights, friction angle, cohesion and
// the coefficient of horizontal subgrade reaction. Sandy ground edits φ, clayey ground ａ and ｂ.
#pragma once

#include "model/design.h"
#include "ui/input_window.h"

class QButtonGroup;
class QLabel;

namespace kuvelt::ui {

class NumField;

class frmInpJiban : public InputWindow {
    Q_OBJECT
  public:
    explicit frmInpJiban(QWidget* parent = nullptr);

    int kind() const;  // 0 "砂質土", 1 "粘性土"
    void setKind(int kind);

    QButtonGroup* optKind;
    NumField *numGt, *numGws, *numGw, *numFai, *numCa, *numCb, *numKH;
    QLabel* lblCohesion;  // "粘着力　Ｃ = ａ･ｚ＋ｂ (ｚ；地表面からの深度)"
    // The design conditions as they stand, filled on opening: φ is checked against their slope.
    CInpJyoken conditions;

  protected:
    void ApplyDependentEnabling() override;
    bool CrossFieldCheck() override;
};

}  // namespace kuvelt::ui
