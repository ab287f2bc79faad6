// Main-window state of the run besides the current design: the design file's path and the
// modified flag that the exit question looks at.
#pragma once

#include <string>

namespace kuvelt::ui {

// Full path of the file the design was read from or last saved to; "" when it has none.
extern std::string gFileName;
// The design has changes that were not saved (set by every confirmed input window).
extern bool gModified;

// "Kuvelt", or "<file name> - Kuvelt" when the design has a file; a leading "*" while the
// design has unsaved changes.
std::string WindowTitleFor(const std::string& path, bool modified = false);

}  // namespace kuvelt::ui
