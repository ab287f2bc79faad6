// The print job behind the print menu: generating the five report chapters into print files
// (slots 1-5, heading numbers running on across them), the combined file of the ticked chapters
// (slot 6), the tick commands and the clean-up that deletes every print and figure file. The
// menu window asks this module and shows the messages it returns; nothing here shows anything.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/message.h"

namespace kuvelt::print_job {

inline constexpr int kItems = 5;  // design conditions … excavation-bottom stability
using Ticks = std::array<bool, kItems>;

inline constexpr const char* kMenuCaption = "検討結果の印刷";
inline constexpr const char* kProductTitle = "Kuvelt";

struct Generation {
    std::array<bool, kItems> written{};      // chapter i wrote without failure
    std::array<std::string, kItems> errors;  // the reason of a failure, for logs and the CLI
    std::optional<Message> failure;          // the collected failure lines, when any chapter failed
    bool stabilityEnabled = false;           // the stability chapter may be ticked
};

// Opening the print menu: resets the print files and the numbering (settings from `iniFile`, or
// gIniFile when empty), writes chapters 1-4 into new print files, the stability chapter into
// the fifth (left empty unless CInpJyoken.Nekiri is 1) and creates the empty combined file.
// Runs on the current design and result store as they are.
Generation GenerateReport(const std::string& iniFile = "");

// Item 4 is available only when the design asks for the stability check and the check that
// applies (heaving for clayey, boiling for sandy ground) ran without fault.
bool StabilityItemEnabled();

// Print file of menu item i (0..4) and the combined file; "" before generation.
std::string ChapterFile(int item);
std::string CombinedFile();

// The tick commands: 0 ticks every enabled item, 1 unticks every item, 2 inverts the enabled
// items (a disabled item stays unticked).
Ticks ApplyCheckCommand(int command, const Ticks& ticks, const Ticks& enabled);

// The print button: rebuilds the combined file from the ticked chapters in item order, a page
// break (byte 0C) between two chapters and none before the first, every line copied with CR LF.
// Returns the message to show instead when no item is ticked or the file cannot be written.
// `designFile` (the design's own file, "" for a design never saved) is named in the file for the
// preview, which offers its folder and name for the PDF.
std::optional<Message> BuildCombinedFile(const Ticks& ticks, const std::string& designFile = "");

// The preview program's arguments for the combined file: the work folder option and the file.
std::vector<std::string> PreviewArguments(const std::string& previewProgram,
                                          const std::string& workFolder,
                                          const std::string& combinedFile);

// Closing the menu: deletes every print and figure file of the job (failures ignored).
void CloseReport();

// The job's files now belong to the caller (a report folder): forget them, so neither a new job
// nor the end of the program deletes them.
void ReleaseFiles();

}  // namespace kuvelt::print_job
