#include "cli/mode.h"

#include <ostream>
#include <string>

#include "cli/design_source.h"
#include "cli/standard_streams.h"
#include "io/design_file.h"
#include "io/design_json_read.h"
#include "model/design.h"
#include "platform/files.h"
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

const Mode* FindMode(std::string_view option) {
    for (const Mode& m : Registry()) {
        if (m.option == option) return &m;
    }
    return nullptr;
}

int CheckedExit(int status, output::StandardOutput& out, std::ostream& err) {
    const int e = out.Finish();
    if (e == 0) return status;
    err << "標準出力に書き込めません：" << files::SystemErrorText(e) << '\n';
    err.flush();
    return std::max(status, usecase::ExitStatus(Outcome::NotWritten));
}

void PrintMessage(const Message& m, std::ostream& err) {
    // Standard error names the program on every line already.
    if (m.title == "Kuvelt" || m.title == "kuvelt-calc") {
        err << m.text << '\n';
    } else {
        err << m.title << ": " << m.text << '\n';
    }
}

void PrintMessages(const std::vector<Message>& messages, std::ostream& err) {
    for (const Message& m : messages) PrintMessage(m, err);
}

namespace {

// A design from standard input: a JSON design when its first non-blank byte opens an object,
// a design file (whose first byte is never "{") otherwise.
bool ReadStandardDesign(std::ostream& err) {
    std::string bytes, why;
    if (!ReadStandardInput(bytes, why)) {
        InitData();
        err << why << '\n';
        return false;
    }
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && bytes[first] == '{') {
        return ReadJsonDesignText(bytes, "standard input", err);
    }
    int32_t code = 0;
    if (!CheckAndReadBytes(bytes, code)) {
        PrintMessage(ReadFailureMessage(code), err);
        return false;
    }
    return true;
}

}  // namespace

bool LoadDesign(const std::string& path, std::ostream& err) {
    if (path == kStandardStream) {
        if (!ReadStandardDesign(err)) return false;
    } else if (IsJsonDesignPath(path)) {
        if (!ReadJsonDesign(path, err)) return false;
    } else {
        // The Open command's order: a refused type or version is code 0 and reads nothing.
        int32_t code = 0;
        if (!CheckAndReadData(path, code)) {
            PrintMessage(ReadFailureMessage(code), err);
            return false;
        }
    }
    if (!ApplyDesignChanges(err)) {
        InitData();
        return false;
    }
    return true;
}

}  // namespace kuvelt::cli
