#include "ui/app_state.h"

namespace kuvelt::ui {

std::string gFileName;
bool gModified = false;

std::string WindowTitleFor(const std::string& path, bool modified) {
    const std::string mark = modified ? "*" : "";
    if (path.empty()) return mark + "Kuvelt";
    // Both separators count: a path written on another system still shows its file name.
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return mark + name + " - Kuvelt";
}

}  // namespace kuvelt::ui
