#include "cli/design_source.h"

#include <ostream>

#include "cli/design_json.h"
#include "cli/mode.h"
#include "cli/standard_streams.h"
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

void UseDesignChanges(const std::vector<std::string>& changes) {
    Changes().clear();
    for (const std::string& spec : changes) {
        const std::size_t eq = spec.find('=');
        Changes().push_back({spec.substr(0, eq), spec.substr(eq + 1)});
    }
}

bool ApplyDesignChanges(std::ostream& err) {
    bool ok = true;
    for (const Change& c : Changes()) {
        std::string fault;
        if (!SetDesignValue(c.path, c.value, fault)) {
            err << "--set " << fault << '\n';
            ok = false;
        }
    }
    return ok;
}

bool ReadJsonDesign(const std::string& path, std::ostream& err) {
    std::vector<std::string> faults;
    if (ReadDesignJson(path, faults)) return true;
    for (const std::string& f : faults) err << path << ": " << f << '\n';
    return false;
}

bool ReadJsonDesignText(std::string_view text, std::string_view name, std::ostream& err) {
    std::vector<std::string> faults;
    if (DesignFromJson(text, faults)) return true;
    for (const std::string& f : faults) err << name << ": " << f << '\n';
    return false;
}

bool WriteDesign(const std::string& path, std::ostream& out, std::ostream& err) {
    if (path == kStandardStream) {
        WriteStandardOutput(DesignToBytes(), out);
        return true;
    }
    int32_t code = 0;
    const bool written = IsJsonDesignPath(path)
                             ? files::ReplaceFile(path, DumpJson(DesignJson()), code)
                             : WriteData(path, code);
    if (!written) PrintMessage(WriteFailureMessage(code), err);
    return written;
}

}  // namespace kuvelt::cli
