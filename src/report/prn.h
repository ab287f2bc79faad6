// The print files of one opening of the print menu: temporary print and figure files, the report
// format file reader and the line writer (template fields, number pictures, margins, level
// markers, heading numbers, blank lines and page control). Texts are UTF-8 in the program; the
// print files are code page 932 with CR LF lines, a page break is the single byte 0C.
//
// Failures: every operation that can fail throws `PrintFault` (a run-time error number and a
// text). A chapter writer runs its whole body inside `RunChapter`, which catches the fault and
// returns false; a `ChapterSection` closes the print file in its destructor, so what was
// written before the fault stays in the file. Nothing here shows a message.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "formats/print_pages.h"
#include "platform/files.h"
#include "report/numbering.h"

namespace kuvelt {

// A failure of report writing. `code` is a run-time error number (platform/vberror.h):
// 53 format/style file missing, 62 section name or "End" not found, 9 line number, level,
// field count or file slot out of range, 52 no print file open, 57/61/70/75/76 file errors,
// 6 a value that is not a finite number.
class PrintFault : public std::runtime_error {
  public:
    PrintFault(int32_t code, const std::string& text) : std::runtime_error(text), code_(code) {}
    int32_t code() const { return code_; }

  private:
    int32_t code_;
};

namespace basResOutPrn {

inline constexpr int32_t kMaxFiles = 100;        // print files, and figure files, per opening
inline constexpr int32_t kMaxSectionLines = 50;  // line numbers 1..50 of a format section
inline constexpr int32_t kMaxFields = 20;        // numeric fields, and text fields, per line
inline constexpr int32_t kChapterLinesPerPage = formats::kPrintLinesPerPage;

// Slot arrays are 1-based: slot 0 is never used.
using LineLevelSlots = std::array<int32_t, kMaxSectionLines + 1>;
using LineTextSlots = std::array<std::string, kMaxSectionLines + 1>;
using FieldValueSlots = std::array<double, kMaxFields + 1>;
using FieldTextSlots = std::array<std::string, kMaxFields + 1>;

// ---- Module state (one for the application; reset when the print menu opens) -------------
extern std::array<std::string, kMaxFiles + 1> PrintFileNames;
extern int32_t PrintFileCount;
extern std::array<std::string, kMaxFiles + 1> FigureFileNames;
extern int32_t FigureFileCount;
extern std::string CurrentPrintFile;  // the file the chapter writers append to
extern int32_t LinesPerPage;
// Lines written on the current page as the preview places them (formats/print_pages.h): a page
// break, a full page and a keep that moves lines to a new page all count; a chapter may set it
// (0 at the top of a page).
extern int32_t LineCount;
// CurrentLevel and the numbering state: see numbering.h.

// Print menu opening: both counts 0, CurrentLevel 1, no print file open. (The numbering
// settings are loaded separately by LoadNumbering.) Files still listed from an opening that
// was never closed are deleted first; so are the listed files when the program exits.
void ResetPrintJob();

// Print menu closing: deletes every print and figure file created since the reset (failures
// ignored), closes a print file left open, and sets both counts to 0. Never throws.
void DeleteAllReportFiles();

// ---- Where the files are --------------------------------------------------------------------
// Folder of the report format and style files: the override when set, else gProgramFolder,
// else the executable's folder. Tests and tools point it elsewhere; "" restores the default.
void SetReportDataFolder(const std::string& folder);
std::string ReportDataFolder();
// Report format file: the override folder + "/Kuvelt.FMT" when an override is set, else gFmtFile
// (when set), else ReportDataFolder() + "/Kuvelt.FMT".
std::string ReportFormatFile();
// Folder of the temporary print and figure files: the override when set, else
// paths::TempFolder(). "" restores the default.
void SetReportTempFolder(const std::string& folder);
std::string ReportTempFolder();
// How a print or composite file names a figure file: relative to the report folder when one is
// set (a report folder is moved and opened elsewhere as a whole), else the full path. "" (the
// default, the print menu's temporary files) restores full paths.
void SetFigureReferenceFolder(const std::string& folder);
std::string FigureReference(const std::string& figurePath);

// ---- Files -------------------------------------------------------------------------------
// The name of every print and figure file: this prefix and six random characters.
inline constexpr std::string_view kTempPrefix = "~MT";

// A new, unique, empty, owner-only file "~MT…" in ReportTempFolder(), stored in the next slot.
// Throws PrintFault 9 for the 101st file, a file error number when it cannot be created.
std::string NewPrintFile();
std::string NewFigureFile();

// The first failure to create or write a print or figure file since the print job was reset (the
// folder's or the disk's doing, not the report's): a file of the job may be cut short, so a
// report folder or PDF must not be made of it. NoteWriteFailure records one (an errno value).
std::optional<files::Failure> WriteFailure();
void NoteWriteFailure(int err);
void NoteWriteFailure(const files::Failure& failure);

// Opens CurrentPrintFile for appending as the print-file handle (closing one left open).
// Throws PrintFault on a file error or when CurrentPrintFile is empty.
void OpenPrintFile();
// Closes the print-file handle if open. Never throws.
void ClosePrintFile() noexcept;
bool IsPrintFileOpen();

// ---- Format file -------------------------------------------------------------------------
// Reads section `section` of the format file `fmtPath` (code page 932, CR LF) into the slots
// given by each line's number (columns 1-3) with its level (column 5) and text (column 6 on),
// counted in characters after decoding; comment lines start with "'". Returns the number of
// non-comment lines. Throws PrintFault: 53 file missing, 62 section or "End" missing, 9 line
// number outside 1..50 or level outside 0..5 (13 when they are not numbers).
int32_t ReadFormatSection(const std::string& fmtPath, std::string_view section,
                          LineLevelSlots& LineLevels, LineTextSlots& LineTexts);
// The same on the file's bytes (for tests and tools).
int32_t ParseFormatSection(std::string_view fileBytes, std::string_view section,
                           LineLevelSlots& LineLevels, LineTextSlots& LineTexts);

// ---- Field rendering (pure) -------------------------------------------------------------
// A numeric field's text ("##0.00", "+#0.0", "\###0") rendered and right-aligned to the field's
// length in characters. UTF-8.
std::string FormatNumberField(double value, std::string_view field);
// A text for a text field whose code page 932 bytes are `field` ("&>  &", "&   &", "!"): padded
// to the field's byte width in characters (left for right-aligned and "!" fields), or blanks
// when the text is empty. UTF-8; not cut (the byte filling cuts).
std::string FormatTextField(std::string_view text, std::string_view field);
// The template (UTF-8) with its fields filled, as code page 932 bytes of the same length as the
// template's bytes. Throws PrintFault 9 for more than 20 numeric or 20 text fields.
std::string FillTemplate(std::string_view tmpl, const FieldValueSlots& FieldValues,
                         const FieldTextSlots& FieldTexts);
// The prefix of a line of `level` as code page 932 bytes, advancing the heading numbering for
// levels 1..5 when NumberMethod is not 0 (the same effect as PrintLineHead, without writing
// or counting). Throws PrintFault 9 for a level outside 0..5.
std::string LineHead(int32_t level);

// ---- Writing to the open print file (each throws PrintFault on failure) --------------------
// A heading of level 1 to 3 keeps with the lines after it: a line of such a level is written
// after a keep mark for itself and kHeadingKeepLines - 1 lines more, so the preview never leaves
// it at the foot of a page with what follows on the next.
inline constexpr int32_t kHeadingKeepLines = 4;
inline constexpr int32_t kKeptHeadingLevels = 3;
void PrintLineHead(int32_t level);                           // prefix, no line end; LineCount + 1
void PrintFormatLine(int32_t level, std::string_view text);  // prefix, text as it is, CR LF
void PrintTemplateLine(int32_t level, std::string_view tmpl, const FieldValueSlots& FieldValues,
                       const FieldTextSlots& FieldTexts);
// The caption line of a figure or of a table, at level 0: its number mark (formats::
// kFigureNumberMark, kTableNumberMark; numbered when the report is put together) and `caption`.
// A table's caption keeps with the table's first line.
void PrintFigureCaption(std::string_view caption);
void PrintTableCaption(std::string_view caption);
// A level-0 prefix, "?FG;000;000;", the figure file's path, CR LF (one counted line).
void PrintFigureLine(const std::string& figurePath);
void PrintBlankLines(int32_t n);  // n CR LF, each counted; n <= 0 writes nothing
// Page break 0C when fewer than `needed` lines remain on the page (LineCount becomes 0),
// otherwise `blanks` blank lines.
void NewPageIfShort(int32_t needed, int32_t blanks);
void PrintPageBreak();  // the byte 0C without a line end; LineCount becomes 0
// A block that must stand on one page (a formula with its terms, a table with its header, a list
// of symbols): "?KN;n" before its n counted lines, itself not counted. When fewer than n lines
// are left on the page, the preview starts a new page before the block, or before the heading
// the block follows (LineCount follows suit). n above a page keeps a page; n <= 0 writes nothing.
void PrintKeepLines(int32_t n);
// The start and the end of a block that belongs to an optional part of the document (a figure a
// user may leave out): "?OB;n" and "?OE;" lines, not counted. The combined file drops the block
// when part n is unticked and the marks always, so the preview never sees them.
inline constexpr std::string_view kOptionalBlockBegin = "?OB;";
inline constexpr std::string_view kOptionalBlockEnd = "?OE;";
void PrintOptionalBlockBegin(int part);
void PrintOptionalBlockEnd();
// A list that may run over a page (a list of symbols): after PrintContinuedHead, each page the
// list continues to opens with `head` (UTF-8, a level-0 line: "ここに，（つづき）"), counted there;
// PrintContinuedEnd closes the list. "?CN;" lines, not counted themselves.
void PrintContinuedHead(std::string_view head);
void PrintContinuedEnd();
// The next line prints large, centred on the page (a title): a "?LG;" line, not counted.
void PrintLargeNext();
// Opens CurrentPrintFile for appending, writes 0C, closes it; throws nothing (a failed write is
// noted for WriteFailure). Does not disturb a print-file handle that is open.
void AppendPageBreak() noexcept;

// Throws PrintFault 6 unless `v` is a finite number; returns it. For the chapters' arithmetic
// (division by zero, overflow and invalid operations end the chapter as a failure).
double Checked(double v);

// ---- Chapter protocol ----------------------------------------------------------------------
// Runs a chapter writer: sets LinesPerPage to 62, runs `body`, returns true when it ended
// normally; a PrintFault (or any other std::exception) ends it and returns false, with the
// fault's text in `error` when given. The print file is closed in every case.
bool RunChapter(const std::function<void()>& body, std::string* error = nullptr);

// The lines and field slots of one chapter. The slots keep their contents from line to line
// and from section to section: a field the chapter does not set still holds the last value.
struct ChapterData {
    LineLevelSlots LineLevels{};
    LineTextSlots LineTexts{};
    FieldValueSlots FieldValues{};
    FieldTextSlots FieldTexts{};
};

// One format section of a chapter: the constructor reads the section from ReportFormatFile()
// into `data` and opens CurrentPrintFile for appending (LineCount is set to 0 when
// `resetLineCount`); the destructor closes the file, on failure too. Throws PrintFault.
class ChapterSection {
  public:
    ChapterSection(ChapterData& data, std::string_view section, bool resetLineCount = false);
    ~ChapterSection();
    ChapterSection(const ChapterSection&) = delete;
    ChapterSection& operator=(const ChapterSection&) = delete;

    int32_t Count() const { return count_; }
    // Writes line n of the section (1..50, else PrintFault 9) at its level: as it is, or with
    // its fields filled from the chapter's FieldValues / FieldTexts.
    void Line(int32_t n);
    void Template(int32_t n);

  private:
    ChapterData& data_;
    int32_t count_ = 0;
};

}  // namespace basResOutPrn
}  // namespace kuvelt
