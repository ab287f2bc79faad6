// The settings file and the fixed paths of a run, the recent-file list and the "InitDir"
// bookkeeping. Settings operations never report errors: unreadable values give their defaults,
// failed writes are ignored.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kuvelt {

// Every section and key of the settings files, in one place: every reader and writer names them
// from here. Names are compared without regard to case by the settings functions; these are the
// spellings the files are written with.
namespace ini {
// Window sections: "Top" and "Left" in twips (the registration windows also "Width", "Height").
inline constexpr std::string_view kMenuMain = "MenuMain";
inline constexpr std::string_view kInpJyoken = "InpJyoken";
inline constexpr std::string_view kInpJiban = "InpJiban";
inline constexpr std::string_view kInpZairyo = "InpZairyo";
inline constexpr std::string_view kInpYaita = "InpYaita";
inline constexpr std::string_view kInpRenban = "InpRenban";
inline constexpr std::string_view kInpHyoshi = "InpHyoshi";
inline constexpr std::string_view kZuStructure = "ZuStructure";
inline constexpr std::string_view kResOutAs = "ResOutAs";
inline constexpr std::string_view kResOutAc = "ResOutAc";
inline constexpr std::string_view kInpSectC = "InpSectC";
inline constexpr std::string_view kInpSectS = "InpSectS";    // light steel and steel share it
inline constexpr std::string_view kMenuPrint = "MenuPrint";  // "Top", "Left" in format "#0"
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kLeft = "Left";
inline constexpr std::string_view kWidth = "Width";
inline constexpr std::string_view kHeight = "Height";

// The print menu's ticks in section "MenuPrint": "1" ticked, "0" unticked, a chapter or part
// never stored ticked. The five chapters in report order, then the parts besides them (cover,
// contents, summary, standards, structure, pressure and force figures).
inline constexpr std::array<std::string_view, 5> kPrintItemKeys = {"0", "1", "2", "3", "4"};
inline constexpr std::array<std::string_view, 7> kPrintPartKeys = {"P0", "P1", "P2", "P3",
                                                                   "P4", "P5", "P6"};

// Recent files and the Open dialog's first folder.
inline constexpr std::string_view kFileName = "FileName";
inline constexpr std::string_view kInitDir = "InitDir";
inline constexpr std::array<std::string_view, 4> kFileNameKeys = {"FileName1", "FileName2",
                                                                  "FileName3", "FileName4"};

// Printer margins in whole millimetres, format "##0".
inline constexpr std::string_view kPrinter = "Printer";
inline constexpr std::string_view kMarginTop = "MarginTop(mm)";
inline constexpr std::string_view kMarginLeft = "MarginLeft(mm)";

// Heading numbering of the report (integers).
inline constexpr std::string_view kChapter = "Chapter";
inline constexpr std::string_view kMethod = "Method";
inline constexpr std::string_view kInit = "Init";
inline constexpr std::array<std::string_view, 4> kStyleKeys = {"Style1", "Style2", "Style3",
                                                               "Style4"};
inline constexpr std::array<std::string_view, 4> kMarginKeys = {"Margin1", "Margin2", "Margin3",
                                                                "Margin4"};

// The preview program's own settings file, Preview.ini in the per-user work folder: its window
// ("Left", "Top", "Width", "Height" in pixels of the frame, "Maximized" 0 or 1) and its view.
inline constexpr std::string_view kPreviewWindow = "Window";
inline constexpr std::string_view kMaximized = "Maximized";
inline constexpr std::string_view kPreviewView = "View";
inline constexpr std::string_view kZoomMode = "ZoomMode";
inline constexpr std::string_view kZoom = "Zoom";
}  // namespace ini

// Fixed files and folders of the run (set by InitPaths, or by tests directly).
extern std::string gIniFile;     // <config>/Vostrand/Kuvelt.INI
extern std::string gFmtFile;     // <program folder>/Kuvelt.FMT
extern std::string gWorkFolder;  // <data>/Vostrand/Kuvelt
extern std::string gProgramFolder;

// Determines the paths above from the running executable and the user's folders and creates the
// per-user folders (failures ignored).
void InitPaths();

// State of the four recent-file menu items after an update: item i shows caption[i] and is
// enabled when enabled[i]; a disabled item keeps its previous caption (caption[i] is then "").
struct FileHistory {
    std::array<std::string, 4> entries;   // FileName1..FileName4 as stored
    std::array<std::string, 4> captions;  // "&1 /path/file.kvt" ... for the enabled items
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

// A window's stored place in twips; 0 where the settings file has no value.
struct WindowPlacement {
    int32_t top = 0;
    int32_t left = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Reads "Top", "Left", "Width" and "Height" of `section` from gIniFile.
WindowPlacement ReadWindowPlacement(std::string_view section);
// Writes "Top" and "Left" (general number format, or `picture` when given, e.g. "#0").
void WriteWindowPosition(std::string_view section, double top, double left,
                         std::string_view picture = {});
// Writes "Top", "Left", "Width" and "Height" in general number format.
void WriteWindowPlacement(std::string_view section, double top, double left, double width,
                          double height);

// The position rule of the windows: a stored value below 1 centres the window, i.e.
// (screen - window) / 2 truncated toward zero and 0 when negative. The main window also treats a
// stored value not smaller than the screen size as missing (`mainWindow`).
int32_t PlaceOnScreen(int32_t stored, int32_t screenSize, int32_t windowSize,
                      bool mainWindow = false);

// The heading numbering of the report as section "Chapter" stores it. A settings file that has
// no "Method" value (a new installation, or the numbering never chosen) numbers the headings all
// the same: chapters "1.", sections "1-1", items "(1)", points "1)", no margins. A stored method,
// "なし" included, is the user's choice and is read as it stands (missing keys 0).
struct HeadingNumbering {
    int32_t method = 0;
    std::array<int32_t, 4> styles{};
    std::array<int32_t, 4> margins{};
};
inline constexpr HeadingNumbering kDefaultHeadingNumbering{2, {1, 1, 2, 3}, {0, 0, 0, 0}};
HeadingNumbering ReadHeadingNumbering(const std::string& iniFile);

// Integer setting with default 0 (printer margins, heading numbering).
int32_t ReadIniLong(std::string_view section, std::string_view key);
// Writes a setting as text; failures are ignored.
void WriteIniString(std::string_view section, std::string_view key, std::string_view value);

}  // namespace kuvelt
