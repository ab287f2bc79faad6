#include "cli/mode.h"

#include <algorithm>
#include <ostream>

#include "io/design_file.h"
#include "platform/vberror.h"

namespace kuvelt::cli {
namespace {

// Built on first use, so registrations from any file's static initialisation find it.
std::vector<Mode>& Registry() {
    static std::vector<Mode> modes;
    return modes;
}

}  // namespace

bool RegisterMode(const Mode& mode) {
    Registry().push_back(mode);
    return true;
}

std::vector<Mode> Modes() {
    std::vector<Mode> m = Registry();
    std::sort(m.begin(), m.end(), [](const Mode& a, const Mode& b) { return a.option < b.option; });
    return m;
}

const Mode* FindMode(std::string_view option) {
    for (const Mode& m : Registry()) {
        if (m.option == option) return &m;
    }
    return nullptr;
}

void PrintMessage(const Message& m, std::ostream& err) { err << m.title << ": " << m.text << '\n'; }

bool LoadDesign(const std::string& path, std::ostream& err) {
    // The Open command's order: a refused type or version is code 0 and reads nothing.
    if (!PreReadCheck(path)) {
        PrintMessage(ReadFailureMessage(0), err);
        return false;
    }
    int32_t code = 0;
    if (!ReadData(path, code)) {
        PrintMessage(ReadFailureMessage(code), err);
        return false;
    }
    return true;
}

}  // namespace kuvelt::cli
