// Which section of the user guide each window opens at: F1 and a window's help button open the
// guide there.
#pragma once

namespace kuvelt::ui {

class InputWindow;

// The section of the user guide for the window of main-menu button `index` (guide::Topic).
int HelpTopicOf(int index);
// Gives a window of button `index` the user guide and its section.
void SetHelp(InputWindow& window, int index);
// The same for a window opened otherwise (表紙の設定, 構造図), at section `topic`.
void SetHelpTopic(InputWindow& window, int topic);

}  // namespace kuvelt::ui
