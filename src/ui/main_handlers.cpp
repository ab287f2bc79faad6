#include "ui/main_handlers.h"

#include <QButtonGroup>
#include <QCheckBox>

#include "model/design.h"
#include "ui/app_state.h"
#include "ui/field_specs.h"
#include "ui/frmInpHyoshi.h"
#include "ui/frmInpJiban.h"
#include "ui/frmInpJyoken.h"
#include "ui/frmInpZairyo.h"
#include "ui/sect_grid_model.h"

namespace kuvelt::ui {

void ConfirmInput(bool* enteredFlag) {
    if (enteredFlag) *enteredFlag = true;
    gInpYaita.InpFlg = false;
    gModified = true;
}

// The numeric and text fields move through the design-field table (LoadDesignFields); only the
// option groups, the check box, the channel water and the layer grid are copied here.
void objInpJyoken_LoadData(frmInpJyoken& w) {
    LoadDesignFields(w);
    w.setChannelWater(ChannelWaterLevel(gInpJyoken));
    w.ground = gInpJiban;
    w.setShape(gInpJyoken.Keijyo);
    w.chkNekiri->setChecked(gInpJyoken.Nekiri != 0);
}

void objInpJyoken_SaveData(frmInpJyoken& w, bool&) {
    SaveDesignFields(w);
    gInpJyoken.ELWF = w.StoredChannelWater();
    gInpJyoken.Keijyo = w.shape();
    gInpJyoken.Nekiri = w.chkNekiri->isChecked() ? 1 : 0;
    ConfirmInput(&gInpJyoken.InpFlg);
}

void objInpJiban_LoadData(frmInpJiban& w) {
    LoadDesignFields(w);
    w.layers()->LoadLayers(gInpJiban.Layers);
    w.conditions = gInpJyoken;
    w.setKind(gInpJiban.Kind);
}

void objInpJiban_SaveData(frmInpJiban& w, bool&) {
    SaveDesignFields(w);
    gInpJiban.Kind = w.kind();
    gInpJiban.Layers = w.layers()->SavedLayers();
    ConfirmInput(&gInpJiban.InpFlg);
}

void objInpZairyo_LoadData(frmInpZairyo& w) { LoadDesignFields(w); }

void objInpZairyo_SaveData(frmInpZairyo& w, bool&) {
    SaveDesignFields(w);
    ConfirmInput(&gInpZairyo.InpFlg);
}

void objInpHyoshi_LoadData(frmInpHyoshi& w) {
    LoadDesignFields(w);
    w.setReferences(gInpHyoshi.SankoBunken);
}

void objInpHyoshi_SaveData(frmInpHyoshi& w, bool&) {
    SaveDesignFields(w);
    gInpHyoshi.SankoBunken = w.references();
    gModified = true;
}

void Connect(frmInpJyoken* w) {
    QObject::connect(w, &InputWindow::LoadData, w, [w] { objInpJyoken_LoadData(*w); });
    QObject::connect(w, &InputWindow::SaveData, w,
                     [w](bool& Cancel) { objInpJyoken_SaveData(*w, Cancel); });
}

void Connect(frmInpJiban* w) {
    QObject::connect(w, &InputWindow::LoadData, w, [w] { objInpJiban_LoadData(*w); });
    QObject::connect(w, &InputWindow::SaveData, w,
                     [w](bool& Cancel) { objInpJiban_SaveData(*w, Cancel); });
}

void Connect(frmInpHyoshi* w) {
    QObject::connect(w, &InputWindow::LoadData, w, [w] { objInpHyoshi_LoadData(*w); });
    QObject::connect(w, &InputWindow::SaveData, w,
                     [w](bool& Cancel) { objInpHyoshi_SaveData(*w, Cancel); });
}

void Connect(frmInpZairyo* w) {
    QObject::connect(w, &InputWindow::LoadData, w, [w] { objInpZairyo_LoadData(*w); });
    QObject::connect(w, &InputWindow::SaveData, w,
                     [w](bool& Cancel) { objInpZairyo_SaveData(*w, Cancel); });
}

}  // namespace kuvelt::ui
