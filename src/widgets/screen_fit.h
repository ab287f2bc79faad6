// Windows that fit their screen: the frame the window manager adds, a rectangle made to lie within
// the free area of a screen (without its panels), and a window kept there whole. Both programs
// place their windows with these, so none opens partly off the screen or larger than it.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace kuvelt::widgets {

// The frame (title bar and border) around a top-level window; a usual one before the window
// manager has framed it.
QMargins FrameMargins(const QWidget* window);
// `frame` made to lie within `free`: no larger than it, then moved in as little as possible.
QRect FitRect(const QRect& frame, const QRect& free);
// Keeps the whole window, frame included, on the free area of its screen: a window larger than
// that shrinks (not below its minimum size), one reaching past it moves in.
void KeepOnScreen(QWidget* window);

}  // namespace kuvelt::widgets
