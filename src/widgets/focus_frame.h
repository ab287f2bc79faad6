// The focus frame: a 2 px frame in the highlight colour around whatever widget has the keyboard
// focus (fields, buttons, grids, lists), drawn above the widget by a QFocusFrame that follows
// every focus change of the application. Fusion and the other desktop styles show focus only
// faintly (and not at all on a clicked button); this one frame shows where the keys go.
#pragma once

class QApplication;
class QWidget;

namespace kuvelt::widgets {

// Starts the frame for the whole application (once; later calls do nothing).
void InstallFocusFrame(QApplication& app);

// The widget the frame is around now, nullptr when none (tests).
QWidget* FocusFrameTarget();

}  // namespace kuvelt::widgets
