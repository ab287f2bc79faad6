// The main window's handlers of the three section registration grids: LoadData fills a grid from
// its catalogue of the current design; SaveData empties the catalogue and appends the rows in
// grid order, then the sheet-pile choice is void and the design modified.
#pragma once

namespace kuvelt::ui {

class frmInpSect;

void objInpSectC_LoadData(frmInpSect& w);
void objInpSectC_SaveData(frmInpSect& w, bool& Cancel);
void objInpSectLS_LoadData(frmInpSect& w);
void objInpSectLS_SaveData(frmInpSect& w, bool& Cancel);
void objInpSectS_LoadData(frmInpSect& w);
void objInpSectS_SaveData(frmInpSect& w, bool& Cancel);

}  // namespace kuvelt::ui
