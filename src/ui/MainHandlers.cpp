#include "ui/MainHandlers.h"

#include <QButtonGroup>
#include <QCheckBox>

#include "model/design.h"
#include "ui/app_state.h"
#include "ui/fields.h"
#include "ui/frmInpJiban.h"
#include "ui/frmInpJyoken.h"
#include "ui/frmInpZairyo.h"

namespace kuvelt::ui {

void ConfirmInput(bool* enteredFlag) {
    if (enteredFlag) *enteredFlag = true;
    gInpYaita.InpFlg = false;
    gModified = true;
}

void objInpJyoken_LoadData(frmInpJyoken& w) {
    const CInpJyoken& r = gInpJyoken;
    w.txtTitle->setText(r.Title);
    w.numELGL->setValue(r.ELGL);
    w.numELYU->setValue(r.ELYU);
    w.numELDL->setValue(r.ELDL);
    w.numELWL->setValue(r.ELWL);
    w.numZ->setValue(r.Z);
    w.setShape(r.Keijyo);
    w.numK0X->setValue(r.K0X);
    w.numK0Q->setValue(r.K0Q);
    w.numK1m->setValue(r.K1m);
    w.numK1Q->setValue(r.K1Q);
    w.numK2X1->setValue(r.K2X1);
    w.numK2X2->setValue(r.K2X2);
    w.numK2Ho->setValue(r.K2Ho);
    w.numK2Gs->setValue(r.K2Gs);
    w.numK2Q->setValue(r.K2Q);
    w.numDelta->setValue(r.Delta);
    w.numFsb->setValue(r.Fsb);
    w.numFsh->setValue(r.Fsh);
    w.chkNekiri->setChecked(r.Nekiri != 0);
}

void objInpJyoken_SaveData(frmInpJyoken& w, bool&) {
    CInpJyoken& r = gInpJyoken;
    r.Title = w.txtTitle->text8();
    r.ELGL = w.numELGL->value();
    r.ELYU = w.numELYU->value();
    r.ELDL = w.numELDL->value();
    r.ELWL = w.numELWL->value();
    r.Z = w.numZ->value();
    r.Keijyo = w.shape();
    r.K0X = w.numK0X->value();
    r.K0Q = w.numK0Q->value();
    r.K1m = w.numK1m->value();
    r.K1Q = w.numK1Q->value();
    r.K2X1 = w.numK2X1->value();
    r.K2X2 = w.numK2X2->value();
    r.K2Ho = w.numK2Ho->value();
    r.K2Gs = w.numK2Gs->value();
    r.K2Q = w.numK2Q->value();
    r.Delta = w.numDelta->value();
    r.Fsb = w.numFsb->value();
    r.Fsh = w.numFsh->value();
    r.Nekiri = w.chkNekiri->isChecked() ? 1 : 0;
    ConfirmInput(&r.InpFlg);
}

void objInpJiban_LoadData(frmInpJiban& w) {
    const CInpJiban& r = gInpJiban;
    w.setKind(r.Kind);
    w.numGt->setValue(r.Gt);
    w.numGws->setValue(r.Gws);
    w.numGw->setValue(r.Gw);
    w.numFai->setValue(r.Fai);
    w.numCa->setValue(r.Ca);
    w.numCb->setValue(r.Cb);
    w.numKH->setValue(r.KH);
}

void objInpJiban_SaveData(frmInpJiban& w, bool&) {
    CInpJiban& r = gInpJiban;
    r.Kind = w.kind();
    r.Gt = w.numGt->value();
    r.Gws = w.numGws->value();
    r.Gw = w.numGw->value();
    r.Fai = w.numFai->value();
    r.Ca = w.numCa->value();
    r.Cb = w.numCb->value();
    r.KH = w.numKH->value();
    ConfirmInput(&r.InpFlg);
}

void objInpZairyo_LoadData(frmInpZairyo& w) {
    const CInpZairyo& r = gInpZairyo;
    w.numEcHira->setValue(r.EcHira);
    w.numEcMizo->setValue(r.EcMizo);
    w.numEcNami->setValue(r.EcNami);
    w.numEsky->setValue(r.Esky);
    w.numEsy->setValue(r.Esy);
    w.txtKYZai->setText(r.KYZai);
    w.numKYSat->setValue(r.KYSat);
    w.numKYSac->setValue(r.KYSac);
    w.txtYZai->setText(r.YZai);
    w.numYSat->setValue(r.YSat);
    w.numYSac->setValue(r.YSac);
    w.numAlphaIz->setValue(r.AlphaIz);
    w.numAlphaIs->setValue(r.AlphaIs);
    w.numAlphaId->setValue(r.AlphaId);
    w.numAlphaZs->setValue(r.AlphaZs);
}

void objInpZairyo_SaveData(frmInpZairyo& w, bool&) {
    CInpZairyo& r = gInpZairyo;
    r.EcHira = w.numEcHira->value();
    r.EcMizo = w.numEcMizo->value();
    r.EcNami = w.numEcNami->value();
    r.Esky = w.numEsky->value();
    r.Esy = w.numEsy->value();
    r.KYZai = w.txtKYZai->text8();
    r.KYSat = w.numKYSat->value();
    r.KYSac = w.numKYSac->value();
    r.YZai = w.txtYZai->text8();
    r.YSat = w.numYSat->value();
    r.YSac = w.numYSac->value();
    r.AlphaIz = w.numAlphaIz->value();
    r.AlphaIs = w.numAlphaIs->value();
    r.AlphaId = w.numAlphaId->value();
    r.AlphaZs = w.numAlphaZs->value();
    ConfirmInput(&r.InpFlg);
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

void Connect(frmInpZairyo* w) {
    QObject::connect(w, &InputWindow::LoadData, w, [w] { objInpZairyo_LoadData(*w); });
    QObject::connect(w, &InputWindow::SaveData, w,
                     [w](bool& Cancel) { objInpZairyo_SaveData(*w, Cancel); });
}

}  // namespace kuvelt::ui
