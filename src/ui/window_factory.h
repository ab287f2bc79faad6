// The one place the main window's windows are made: each with its caption, help section and row
// limit, and its LoadData / SaveData connected to the handlers that move values between it and
// the current design (main_handlers.h, sect_handlers.h, choice_handlers.h,
// stability_handlers.h, renban_handlers.h), ready for RunModal.
#pragma once

#include <memory>

#include "calc/results.h"

class QWidget;

namespace kuvelt::ui {

class InputWindow;

// The window of main-menu button `index` (frmMenuMain::Button): the three condition windows,
// the three registration windows, the choice, the two result windows, the print menu and the
// numbering window; nullptr for an index that is no button. The choice and the result windows
// show `results`, those of the run the command started (they keep it while open); the other
// windows show the design.
std::unique_ptr<InputWindow> CreateMenuWindow(int index, QWidget* parent,
                                              std::shared_ptr<const Results> results = nullptr);
// The cover's texts (表紙の設定) and the cross-section of the design (構造図).
std::unique_ptr<InputWindow> CreateCoverWindow(QWidget* parent);
std::unique_ptr<InputWindow> CreateStructureWindow(QWidget* parent);

}  // namespace kuvelt::ui
