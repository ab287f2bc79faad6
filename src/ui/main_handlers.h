// The main window's handlers of the condition windows and the cover: LoadData / SaveData move
// values between a window's fields and the current design, with the bookkeeping after every
// confirmation (entered flag, the sheet-pile choice made void, the design marked modified) that
// the registration grids share. Windows never touch the design themselves; Connect(w) wires a
// window to its handlers (the window factory uses it).
#pragma once

namespace kuvelt::ui {

class frmInpJyoken;
class frmInpJiban;
class frmInpZairyo;
class frmInpHyoshi;

// After a confirmed input window: *enteredFlag := true (when given), CInpYaita.InpFlg := false,
// gModified := true. Confirming unchanged values still counts as a change.
void ConfirmInput(bool* enteredFlag);

void objInpJyoken_LoadData(frmInpJyoken& w);
void objInpJyoken_SaveData(frmInpJyoken& w, bool& Cancel);
void objInpJiban_LoadData(frmInpJiban& w);
void objInpJiban_SaveData(frmInpJiban& w, bool& Cancel);
void objInpZairyo_LoadData(frmInpZairyo& w);
void objInpZairyo_SaveData(frmInpZairyo& w, bool& Cancel);

// The cover's texts: only gModified := true, since they change no result (the choice stays).
void objInpHyoshi_LoadData(frmInpHyoshi& w);
void objInpHyoshi_SaveData(frmInpHyoshi& w, bool& Cancel);

void Connect(frmInpJyoken* w);
void Connect(frmInpJiban* w);
void Connect(frmInpZairyo* w);
void Connect(frmInpHyoshi* w);

}  // namespace kuvelt::ui
