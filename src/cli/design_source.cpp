#include "cli/design_source.h"

#include <ostream>

#include "cli/design_json.h"
#include "cli/mode.h"
#include "cli/standard_streams.h"
#include "io/design_file.h"
#include "io/design_json_read.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace kuvelt::cli {
namespace {

using nlohmann::ordered_json;

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

namespace {

// The current design, put back when the trial read of its own bytes is done.
struct DesignKept {
    Design design = CurrentDesign();
    ~DesignKept() { SetCurrentDesign(std::move(design)); }
};

// Every text of a design's JSON with its path as the reader names it ("gInpSectS[3].Name").
void Texts(const ordered_json& j, const std::string& path,
           std::vector<std::pair<std::string, std::string>>& out) {
    if (j.is_string()) {
        out.emplace_back(path, j.get<std::string>());
    } else if (j.is_object()) {
        for (const auto& [key, value] : j.items())
            Texts(value, path.empty() ? key : path + "." + key, out);
    } else if (j.is_array()) {
        for (std::size_t i = 0; i < j.size(); ++i)
            Texts(j[i], path + "[" + std::to_string(i) + "]", out);
    }
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What the design-file reader would not give back of the current design: a text with a
// character code page 932 does not hold (it would be written as "?"), or any value that reads
// back otherwise than it was written.
std::vector<std::string> DesignFileFaults() {
    std::vector<std::pair<std::string, std::string>> texts;
    Texts(DesignJson(), "", texts);
    std::vector<std::string> faults;
    for (const auto& [path, text] : texts) {
        bool exact = false;
        cp932::FromUtf8(text, &exact);
        if (!exact)
            faults.push_back(path + ": " + Quoted(text) +
                             " holds characters or bytes code page 932 does not (they would be "
                             "written as ?)");
    }
    if (!faults.empty()) return faults;
    const std::string bytes = DesignToBytes();
    DesignKept keep;
    int32_t code = 0;
    if (!DesignFromBytes(bytes, code)) {
        faults.push_back("the design file would not read back (ｴﾗｰｺｰﾄﾞ ： " + std::to_string(code) +
                         ")");
    } else if (DesignToBytes() != bytes) {
        std::vector<std::pair<std::string, std::string>> back;
        Texts(DesignJson(), "", back);
        for (std::size_t i = 0; i < texts.size() && i < back.size(); ++i) {
            if (texts[i] != back[i])
                faults.push_back(texts[i].first + ": " + Quoted(texts[i].second) +
                                 " would read back as " + Quoted(back[i].second));
        }
        if (faults.empty()) faults.push_back("the design file would not read back as written");
    }
    return faults;
}

// The JSON reader's faults of the JSON text of the current design.
std::vector<std::string> JsonFaults(const std::string& text) {
    DesignKept keep;
    std::vector<std::string> faults;
    DesignFromJson(text, faults);
    return faults;
}

files::ReplaceGuard GuardOf(const std::vector<std::string>& inputs) {
    files::ReplaceGuard guard;
    guard.inputs = inputs;
    return guard;
}

}  // namespace

bool CheckDesignTarget(const std::string& path, const std::vector<std::string>& inputs,
                       std::ostream& err) {
    if (path == kStandardStream) return true;
    files::Failure failure;
    if (files::CheckReplaceable(path, failure, GuardOf(inputs))) return true;
    PrintMessage(WriteFailureMessage(failure, path), err);
    return false;
}

usecase::Outcome WriteDesign(const std::string& path, const std::vector<std::string>& inputs,
                             std::ostream& out, std::ostream& err) {
    const bool json = path != kStandardStream && IsJsonDesignPath(path);
    const std::string bytes = json ? DesignJsonText() : DesignToBytes();
    const std::vector<std::string> faults = json ? JsonFaults(bytes) : DesignFileFaults();
    if (!faults.empty()) {
        for (const std::string& f : faults) err << path << ": " << f << '\n';
        return usecase::Outcome::Refused;
    }
    if (path == kStandardStream) {
        WriteStandardOutput(bytes, out);
        return usecase::Outcome::Ok;
    }
    files::Failure failure;
    if (files::ReplaceFile(path, bytes, failure, GuardOf(inputs))) return usecase::Outcome::Ok;
    PrintMessage(WriteFailureMessage(failure, path), err);
    return usecase::Outcome::NotWritten;
}

}  // namespace kuvelt::cli
