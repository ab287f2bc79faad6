// The print job behind the print menu: generating the five report chapters into print files
// (slots 1-5, heading numbers running on across them), the combined file of the ticked chapters
// (slot 6), the tick commands and the clean-up that deletes every print and figure file. The
// menu window asks this module and shows the messages it returns; nothing here shows anything.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "calc/results.h"
#include "platform/message.h"

namespace kuvelt::print_job {

inline constexpr int kItems = 5;  // design conditions … excavation-bottom stability
using Ticks = std::array<bool, kItems>;

// The parts of the document besides the five chapters, each ticked in the print menu (all ticked
// unless the user unticked them). The front matter stands before the first chapter, each part on
// pages of its own; the figures are blocks inside their chapters.
enum Part : int {
    kCover,            // 表紙: the title and the project's block
    kContents,         // 目次: the headings of the ticked chapters with their pages
    kSummary,          // 設計調書: conditions, the chosen pile, every check and the verdict
    kStandards,        // 適用基準・計算方法
    kStructureFigure,  // 構造図, in chapter 1
    kPressureFigure,   // 土圧・水圧分布図, in chapter 2
    kForceFigure,      // 断面力図, in chapter 4
    kParts
};
using PartTicks = std::array<bool, kParts>;
inline constexpr PartTicks kAllParts = {true, true, true, true, true, true, true};
inline constexpr PartTicks kNoParts = {};
inline constexpr std::array<const char*, kParts> kPartCaptions = {
    "表紙", "目次", "設計調書", "適用基準・計算方法", "構造図", "土圧・水圧分布図", "断面力図"};
// The front-matter parts written into print files of their own when the menu opens (the
// contents are made when the combined file is built, from the pages of what it holds).
inline constexpr std::array<Part, 3> kFrontFiles = {kCover, kSummary, kStandards};

inline constexpr const char* kMenuCaption = "検討結果の印刷";
inline constexpr const char* kProductTitle = "Kuvelt";

struct Generation {
    std::array<bool, kItems> written{};      // chapter i wrote without failure
    std::array<std::string, kItems> errors;  // the reason of a failure, for logs and the CLI
    std::array<bool, kParts> partWritten{};  // a front-matter part wrote without failure
    std::optional<Message> failure;          // the collected failure lines, when any chapter failed
    bool stabilityEnabled = false;           // the stability chapter may be ticked
};

// Opening the print menu: resets the print files and the numbering (settings from `iniFile`, or
// gIniFile when empty), writes chapters 1-4 into new print files, the stability chapter into
// the fifth (left empty unless CInpJyoken.Nekiri is 1) and creates the empty combined file.
// Runs on the current design as it is and on the results of its calculation.
Generation GenerateReport(const Results& results, const std::string& iniFile = "");

// Item 4 is available only when the design asks for the stability check and the check that
// applies (heaving for clayey, boiling for sandy ground) ran without fault.
bool StabilityItemEnabled(const Results& results);

// Print file of menu item i (0..4) and the combined file; "" before generation.
std::string ChapterFile(int item);
// Print file of a front-matter part of kFrontFiles; "" for another part or before generation.
std::string PartFile(Part part);
std::string CombinedFile();

// The tick commands: 0 ticks every enabled item, 1 unticks every item, 2 inverts the enabled
// items (a disabled item stays unticked).
Ticks ApplyCheckCommand(int command, const Ticks& ticks, const Ticks& enabled);

// The print button: rebuilds the combined file from the ticked chapters in item order, a page
// break (byte 0C) between two chapters and none before the first, every line copied with CR LF.
// Returns the message to show instead when no item is ticked or the file cannot be written.
// `designFile` (the design's own file, "" for a design never saved) is named in the file for the
// preview, which offers its folder and name for the PDF. The ticked front-matter parts come first,
// each starting a page; a figure block of an unticked part is left out of its chapter.
std::optional<Message> BuildCombinedFile(const Ticks& ticks, const std::string& designFile = "",
                                         const PartTicks& parts = kNoParts);

// A chapter's lines without the figure blocks of unticked parts, and without the block marks
// (code page 932 lines without line ends, as the print files hold them).
std::vector<std::string> FilterOptionalBlocks(const std::vector<std::string>& lines,
                                              const PartTicks& parts);

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
