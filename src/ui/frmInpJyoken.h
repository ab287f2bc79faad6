// The design-conditions window: title, levels (the channel water in front of the wall among
// them), examined depth, allowable displacement and safety factors, the stability-check box and
// the surcharge shape with its fields and pictures. Only the chosen shape's sub-group and fields
// are editable; the others keep their values.
#pragma once

#include "model/design.h"
#include "ui/input_window.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QStackedWidget;

namespace kuvelt::ui {

class NumField;
class TextField;

class frmInpJyoken : public InputWindow {
    Q_OBJECT
  public:
    explicit frmInpJyoken(QWidget* parent = nullptr);

    // Shape option index (= CInpJyoken.Keijyo); selecting one applies the enabling at once.
    int shape() const;
    void setShape(int keijyo);

    TextField* txtTitle;
    NumField *numELGL, *numELYU, *numELDL, *numELWL, *numELWF, *numZ;
    NumField *numK0X, *numK0Q, *numK1m, *numK1Q;
    NumField *numK2X1, *numK2X2, *numK2Ho, *numK2Gs, *numK2Q;
    NumField *numDelta, *numFsb, *numFsh;
    QCheckBox* chkNekiri;
    QButtonGroup* optKeijyo;
    QGroupBox* fraShape[3];    // "(水平)", "(一定勾配)", "(台形)"
    QStackedWidget* picShape;  // page 0: horizontal and slope, page 1: trapezoid
    // The ground as it stands, filled on opening: a constant slope is checked against its φ.
    CInpJiban ground;

    // The channel water level shown (the design ground level while the water stands there).
    void setChannelWater(double level);
    // CInpJyoken.ELWF as the typed levels give it: kChannelWaterAtDesignGround while the channel
    // water equals the design ground level (it then follows that level wherever it is moved),
    // else the level typed.
    double StoredChannelWater() const;

  protected:
    void ApplyDependentEnabling() override;
    bool CrossFieldCheck() override;

  private:
    bool waterFollows_ = false;  // the channel water moves with the design ground level typed
};

}  // namespace kuvelt::ui
