// The main window's handlers for the registration, choice, result, numbering and print windows:
// LoadData fills a window from the current design, the result store or the settings file, and
// SaveData stores it back with the bookkeeping of a confirmation. CreateMenuWindow builds the
// window of a menu button with its settings and handlers wired, ready for RunModal.
#pragma once

#include <memory>

class QWidget;

namespace kuvelt::ui {

class InputWindow;
class frmInpSect;
class frmInpYaita;
class frmResOutAs;
class frmResOutAc;
class frmInpRenban;

// Registration grids: one row per section; SaveData empties the catalogue and appends the rows
// in grid order, then the choice is void and the design modified.
void objInpSectC_LoadData(frmInpSect& w);
void objInpSectC_SaveData(frmInpSect& w, bool& Cancel);
void objInpSectLS_LoadData(frmInpSect& w);
void objInpSectLS_SaveData(frmInpSect& w, bool& Cancel);
void objInpSectS_LoadData(frmInpSect& w);
void objInpSectS_SaveData(frmInpSect& w, bool& Cancel);

// The choice: the three result lists of the last calculation and the proposal; SaveData runs
// the choice checks with their messages and stores the pick unless one refused it.
void objInpYaita_LoadData(frmInpYaita& w);
void objInpYaita_SaveData(frmInpYaita& w, bool& Cancel);

// Stability results of the check that just ran.
void objResOutAs_LoadData(frmResOutAs& w);
void objResOutAc_LoadData(frmResOutAc& w);

// Numbering settings in section "Chapter" of the settings file.
void objInpRenban_LoadData(frmInpRenban& w);
void objInpRenban_SaveData(frmInpRenban& w, bool& Cancel);

// The window of main-menu button `index` (frmMenuMain::Button: the three registration
// windows, the choice, the two result windows, the numbering window and the print menu), with
// the caption, help and row-limit settings the main window gives and its handlers connected;
// nullptr for the other buttons.
std::unique_ptr<InputWindow> CreateMenuWindow(int index, QWidget* parent);

// The section of the user guide for the window of main-menu button `index` (guide::Topic).
int HelpTopicOf(int index);
// Gives a window of button `index` the user guide and its section, so F1 and its help button
// open the guide there.
void SetHelp(InputWindow& window, int index);
// The same for a window opened otherwise (表紙の設定, 構造図), at section `topic`.
void SetHelpTopic(InputWindow& window, int topic);

}  // namespace kuvelt::ui
