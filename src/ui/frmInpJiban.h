// The ground-conditions window: the first layer from the ground surface down (the ground kind,
// unit weights, friction angle, cohesion and the coefficient of horizontal subgrade reaction;
// sandy ground edits φ, clayey ground ａ and ｂ), the wall friction angles of the active and the
// passive side, and under the first layer a grid of the layers below it, tops descending (add,
// insert, delete and paste rows, the active cell's range in the status line).
#pragma once

#include "model/design.h"
#include "ui/input_window.h"

class QButtonGroup;
class QLabel;
class QPushButton;

namespace kuvelt::ui {

class NumField;
class SectGridModel;
class SectGridView;
class GridEditing;

class frmInpJiban : public InputWindow {
    Q_OBJECT
  public:
    explicit frmInpJiban(QWidget* parent = nullptr);
    ~frmInpJiban() override;

    int kind() const;  // 0 "砂質土", 1 "粘性土"
    void setKind(int kind);

    // The ground as the window holds it: the fields, the kind and the layer rows.
    CInpJiban Typed() const;

    QButtonGroup* optKind;
    NumField *numGt, *numGws, *numGw, *numFai, *numCa, *numCb, *numKH;
    NumField *numDeltaA, *numDeltaP;
    QLabel* lblCohesion;  // "粘着力　Ｃ = ａ･ｚ＋ｂ (ｚ；地表面からの深度)"
    // The layers below the first; row i is CInpJiban.Layers[i].
    SectGridModel* layers() const { return layerModel_; }
    SectGridView* grdLayers;
    GridEditing* layerEditing;
    QPushButton *cmdLayerAdd, *cmdLayerIns, *cmdLayerDel, *cmdLayerPaste;
    // The design conditions as they stand, filled on opening: φ is checked against their slope,
    // the layer tops against the levels.
    CInpJyoken conditions;

  protected:
    void ApplyDependentEnabling() override;
    bool CrossFieldCheck() override;
    void done(int result) override;

  private:
    void UpdateLayerCommands();
    void UpdateUsualLayer();
    void ShowLayerHint();

    SectGridModel* layerModel_;
};

}  // namespace kuvelt::ui
