// Window positions in the settings file: "Top" and "Left" of a window's section in twips
// (1/1440 inch), converted with the screen's logical DPI. A stored value below 1 centres the
// window; the main window also centres when a value is not smaller than the screen extent.
// Settings failures are silent.
#pragma once

#include <string>

class QWidget;

namespace kuvelt::ui {

// Twips of one axis for a stored value: centred ((screen - window) / 2 truncated, at least 0)
// when stored < 1, or for the main window when stored >= screen; else the stored value.
int PlacedTwips(int stored, int screenTwips, int windowTwips, bool mainWindowRule);

int PixelsToTwips(int pixels, double dpi);
int TwipsToPixels(int twips, double dpi);

// Reads "Top"/"Left" of `section` and moves the top-level `window` (its current size counts),
// then keeps it on the screen (KeepOnScreen).
void PlaceWindow(QWidget* window, const std::string& section, bool mainWindowRule = false);
// Writes the window's "Top"/"Left" in twips, general number format.
void StoreWindowPosition(const QWidget* window, const std::string& section);

}  // namespace kuvelt::ui
