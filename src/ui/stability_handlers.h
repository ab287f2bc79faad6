// The main window's handlers of the boiling and heaving result windows: LoadData shows the check
// of the run the window was opened for, with the chosen pile it is of. A run that holds no check
// of the window's ground kind leaves the window empty.
#pragma once

namespace kuvelt {
struct Results;
}

namespace kuvelt::ui {

class frmResOutAs;
class frmResOutAc;

void objResOutAs_LoadData(frmResOutAs& w, const Results& results);
void objResOutAc_LoadData(frmResOutAc& w, const Results& results);

}  // namespace kuvelt::ui
