#include "io/settings.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/numfmt.h"
#include "platform/paths.h"
#include "platform/profile.h"

namespace kuvelt {

std::string gIniFile;
std::string gFmtFile;
std::string gWorkFolder;
std::string gProgramFolder;

void InitPaths() {
    gProgramFolder = paths::ProgramFolder();
    const std::string config = paths::UserConfigFolder();
    const std::string data = paths::UserDataFolder();
    gIniFile = paths::Join(config, "Kuvelt.INI");
    gFmtFile = paths::Join(gProgramFolder, "Kuvelt.FMT");
    gWorkFolder = paths::Join(data, "Kuvelt");
    // The folders usually exist already; a failure shows itself later where it matters.
    files::MakeDirectory(config);
    files::MakeDirectory(data);
    files::MakeDirectory(gWorkFolder);
}

namespace {

FileHistory MenuState(const std::array<std::string, 4>& entries) {
    FileHistory h;
    h.entries = entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        h.enabled[i] = !entries[i].empty();
        if (h.enabled[i]) {
            h.captions[i] = numfmt::FormatNumber(static_cast<double>(i + 1), "\\&# ") + entries[i];
        }
    }
    return h;
}

std::array<std::string, 4> StoredHistory() {
    std::array<std::string, 4> e;
    for (std::size_t i = 0; i < e.size(); ++i) {
        e[i] = CPrivateProfile::GetValueString(gIniFile, ini::kFileName, ini::kFileNameKeys[i]);
    }
    return e;
}

}  // namespace

FileHistory UpdateFileHistory(const std::string& path) {
    const std::array<std::string, 4> old = StoredHistory();
    // The last matching entry moves to the top; without a match the oldest entry drops out.
    std::size_t k = old.size() - 1;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i] == path) k = i;
    }
    std::array<std::string, 4> now;
    now[0] = path;
    std::size_t n = 1;
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (i != k) now[n++] = old[i];
    }
    for (std::size_t i = 0; i < now.size(); ++i) {
        CPrivateProfile::SetValueString(gIniFile, ini::kFileName, ini::kFileNameKeys[i], now[i]);
    }
    return MenuState(now);
}

FileHistory ReadFileHistory() { return MenuState(StoredHistory()); }

std::string OpenDialogInitialFolder() {
    std::string dir = CPrivateProfile::GetValueString(gIniFile, ini::kFileName, ini::kInitDir);
    if (!dir.empty()) return dir;
    return gProgramFolder.empty() ? paths::ProgramFolder() : gProgramFolder;
}

void StoreInitDir() {
    std::error_code ec;
    const std::filesystem::path cwd = std::filesystem::current_path(ec);
    if (ec) return;
    CPrivateProfile::SetValueString(gIniFile, ini::kFileName, ini::kInitDir, cwd.string());
}

WindowPlacement ReadWindowPlacement(std::string_view section) {
    WindowPlacement p;
    p.top = CPrivateProfile::GetValueLong(gIniFile, section, ini::kTop);
    p.left = CPrivateProfile::GetValueLong(gIniFile, section, ini::kLeft);
    p.width = CPrivateProfile::GetValueLong(gIniFile, section, ini::kWidth);
    p.height = CPrivateProfile::GetValueLong(gIniFile, section, ini::kHeight);
    return p;
}

namespace {
std::string PositionText(double v, std::string_view picture) {
    return picture.empty() ? numfmt::General(v) : numfmt::FormatNumber(v, picture);
}
}  // namespace

void WriteWindowPosition(std::string_view section, double top, double left,
                         std::string_view picture) {
    CPrivateProfile::SetValueString(gIniFile, section, ini::kTop, PositionText(top, picture));
    CPrivateProfile::SetValueString(gIniFile, section, ini::kLeft, PositionText(left, picture));
}

void WriteWindowPlacement(std::string_view section, double top, double left, double width,
                          double height) {
    WriteWindowPosition(section, top, left);
    CPrivateProfile::SetValueString(gIniFile, section, ini::kWidth, numfmt::General(width));
    CPrivateProfile::SetValueString(gIniFile, section, ini::kHeight, numfmt::General(height));
}

int32_t PlaceOnScreen(int32_t stored, int32_t screenSize, int32_t windowSize, bool mainWindow) {
    const bool missing = stored < 1 || (mainWindow && stored >= screenSize);
    if (!missing) return stored;
    const int64_t centred = (static_cast<int64_t>(screenSize) - windowSize) / 2;
    return centred < 0 ? 0 : static_cast<int32_t>(centred);
}

HeadingNumbering ReadHeadingNumbering(const std::string& iniFile) {
    if (GetIniString(ini::kChapter, ini::kMethod, iniFile).empty()) return kDefaultHeadingNumbering;
    auto get = [&](std::string_view key) {
        return CPrivateProfile::GetValueLong(iniFile, ini::kChapter, key);
    };
    HeadingNumbering n;
    n.method = get(ini::kMethod);
    for (std::size_t k = 0; k < 4; ++k) {
        n.styles[k] = get(ini::kStyleKeys[k]);
        n.margins[k] = get(ini::kMarginKeys[k]);
    }
    return n;
}

int32_t ReadIniLong(std::string_view section, std::string_view key) {
    return CPrivateProfile::GetValueLong(gIniFile, section, key);
}

void WriteIniString(std::string_view section, std::string_view key, std::string_view value) {
    CPrivateProfile::SetValueString(gIniFile, section, key, value);
}

}  // namespace kuvelt
