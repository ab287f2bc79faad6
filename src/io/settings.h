// The settings file and the fixed paths of a run, the recent-file list and the "InitDir"
// bookkeeping. Settings operations never report errors: unreadable values give their defaults,
// failed writes are ignored.
#pragma once

#include <array>
#include <string>

namespace kuvelt {

// Fixed files and folders of the run (set by InitPaths, or by tests directly).
extern std::string gIniFile;      // <config>/Vostrand/Kuvelt.INI
extern std::string gFmtFile;      // <program folder>/Kuvelt.FMT
extern std::string gWorkFolder;   // <data>/Vostrand/Kuvelt
extern std::string gProgramFolder;

// Determines the paths above from the running executable and the user's folders and creates the
// per-user folders (failures ignored).
void InitPaths();

// State of the four recent-file menu items after an update: item i shows caption[i] and is
// enabled when enabled[i]; a disabled item keeps its previous caption (caption[i] is then "").
struct FileHistory {
    std::array<std::string, 4> entries;  // FileName1..FileName4 as stored
    std::array<std::string, 4> captions; // "&1 /path/file.kvt" ... for the enabled items
    std::array<bool, 4> enabled{};
};

// Puts `path` at the top of the recent-file list in the settings file and returns the menu state.
FileHistory UpdateFileHistory(const std::string& path);
// The menu state from the stored values only (start-up).
FileHistory ReadFileHistory();

// The folder the Open dialog starts in: "InitDir" of the settings file, else the program folder.
std::string OpenDialogInitialFolder();
// Stores the current working folder as "InitDir".
void StoreInitDir();

}  // namespace kuvelt
