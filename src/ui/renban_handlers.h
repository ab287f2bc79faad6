// The main window's handlers of the numbering window: the heading numbering of the report in
// section "Chapter" of the settings file, read when the window opens and written when it is
// confirmed. A stored value the window cannot show leaves its control at the default.
#pragma once

namespace kuvelt::ui {

class frmInpRenban;

void objInpRenban_LoadData(frmInpRenban& w);
void objInpRenban_SaveData(frmInpRenban& w, bool& Cancel);

}  // namespace kuvelt::ui
