#include "cli/design_source.h"

#include <ostream>

#include "cli/design_json.h"
#include "cli/mode.h"
#include "io/design_file.h"
#include "io/design_json_read.h"
#include "platform/files.h"

namespace kuvelt::cli {
namespace {

struct Change {
    std::string path;
    std::string value;
};

// The command line's changes: one list per run of the program.
std::vector<Change>& Changes() {
    static std::vector<Change> changes;
    return changes;
}

}  // namespace

bool TakeSetOptions(std::vector<std::string>& args, std::ostream& err) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--set") {
            rest.push_back(args[i]);
            continue;
        }
        const std::string spec = i + 1 < args.size() ? args[++i] : std::string();
        const std::size_t eq = spec.find('=');
        if (eq == std::string::npos || eq == 0) {
            err << "kuvelt-calc: --set needs PATH=VALUE (e.g. gInpJyoken.ELDL=-0.5)\n";
            return false;
        }
        Changes().push_back({spec.substr(0, eq), spec.substr(eq + 1)});
    }
    args = std::move(rest);
    return true;
}

bool ApplyDesignChanges(std::ostream& err) {
    bool ok = true;
    for (const Change& c : Changes()) {
        std::string fault;
        if (!SetDesignValue(c.path, c.value, fault)) {
            err << "kuvelt-calc: --set " << fault << '\n';
            ok = false;
        }
    }
    return ok;
}

bool ReadJsonDesign(const std::string& path, std::ostream& err) {
    std::vector<std::string> faults;
    if (ReadDesignJson(path, faults)) return true;
    for (const std::string& f : faults) err << "kuvelt-calc: " << path << ": " << f << '\n';
    return false;
}

bool WriteDesign(const std::string& path, std::ostream& err) {
    int32_t code = 0;
    const bool written = IsJsonDesignPath(path)
                             ? files::ReplaceFile(path, DumpJson(DesignJson()), code)
                             : WriteData(path, code);
    if (!written) PrintMessage(WriteFailureMessage(code), err);
    return written;
}

}  // namespace kuvelt::cli
