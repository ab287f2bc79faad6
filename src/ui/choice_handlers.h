// The main window's handlers of the sheet-pile choice window: LoadData shows the three result
// lists of the calculation the window was opened after, the proposal and the force diagram of the
// pick being decided; SaveData runs the choice checks with their messages and stores the pick
// unless one refused it.
#pragma once

#include <memory>

namespace kuvelt {
struct Results;
}

namespace kuvelt::ui {

class frmInpYaita;

// `results` stays with the window: its force diagrams are drawn from it while the user decides.
void objInpYaita_LoadData(frmInpYaita& w, const std::shared_ptr<const Results>& results);
void objInpYaita_SaveData(frmInpYaita& w, bool& Cancel);

}  // namespace kuvelt::ui
