// The page rule of a print file, one for everything that needs to know where a line prints: the
// report writer (which places its own page breaks by the lines left on the page), the preview
// (which cuts a print file into the pages it shows, prints and exports) and the table of contents
// (which lists the pages the headings print on). A page holds 62 counted lines; a form feed 0C
// starts a new page unless the current one is still empty; a line "?KN;n" keeps the next n counted
// lines on one page; a line "?NF;" leaves the page of the next line without the running header
// (a cover: it shows the title itself; its page number stays); a line "?LG;" prints the next line
// large (a title), in its own row; a line "?CN;head" opens a list whose head is repeated on each
// page it continues to, and "?CN;" closes it. Information lines ("?TI;", "?DF;", "?KN;", "?NF;",
// "?LG;", "?CN;", "?OB;", "?OE;") are neither counted nor printed. Bytes are code page 932;
// nothing here fails: a malformed keep mark keeps nothing, the page bound cuts the layout and says
// so.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace kuvelt::formats {

inline constexpr int kPrintLinesPerPage = 62;
inline constexpr char kPageBreakByte = '\x0C';
inline constexpr std::string_view kKeepMark = "?KN;";
inline constexpr std::string_view kNoFrameMark = "?NF;";
inline constexpr std::string_view kTitleMark = "?TI;";
inline constexpr std::string_view kDesignFileMark = "?DF;";
inline constexpr std::string_view kBlockBeginMark = "?OB;";
inline constexpr std::string_view kBlockEndMark = "?OE;";
inline constexpr std::string_view kLargeMark = "?LG;";
inline constexpr std::string_view kContinuedMark = "?CN;";
// The number of a figure's or a table's caption: "?FN;" or "?TN;" standing in a printed line is
// replaced, when the chapters are put together into the report, by "図-n " or "表-n ", counted in
// the order the report prints them (print_job::NumberCaptions); the line stays one line.
inline constexpr std::string_view kFigureNumberMark = "?FN;";
inline constexpr std::string_view kTableNumberMark = "?TN;";

// Where lines go on pages, one event after another. Keeping: a keep mark opens a group of n lines
// at the place of the next line; a mark standing inside an open group (a heading's, say, followed
// by a table that keeps its own lines) extends that group, up to a page. A group that does not fit
// on what is left of its page moves whole to a new page: the lines of it already placed move
// along, so a heading never stays behind at the foot of a page without what it keeps with it. A
// group starting at the top of a page always fits.
//
// The foot of a page: when a page ends by filling up or by a group that moves on, its last printed
// line (with at most kFootBlankLines blank lines after it) moves to the new page when it opens
// what follows there: a one-line paragraph (a label such as "合力の作用位置", a blank line above
// it) or the first line of a paragraph the page would split. It takes along the heading whose
// keep group it ends (a heading, a blank line and one formula line kept together would otherwise
// leave the heading with one line at the foot and its block over the page), and the label just
// above the first line of a split paragraph. It stays where it is kept with the lines above it
// (an entry of a list of symbols) and where it is the second of two one-line paragraphs (a label
// and its formula, entries of a spaced list). A page never moves away whole.
//
// A continued list (a list of symbols, "ここに，…"): while one is open, a page that starts when the
// list's first line stands on an earlier page opens with one more counted line, the list's head
// repeated with "（つづき）", above the lines carried to it. So a reader who turns the page knows
// what the entries are, and every line below it counts one further down.
inline constexpr int kFootBlankLines = 2;
// The heading a carried line pulls along stands at most this many lines above it.
inline constexpr int kFootHeadingReach = 4;

class PageCutter {
  public:
    struct Place {
        int page = 0;         // 0-based
        int line = 0;         // 0-based on that page
        int moved = 0;        // lines from the foot of the page before that moved ahead of this one
        bool headed = false;  // this line started its page, which opens with a list's head
    };

    explicit PageCutter(int linesPerPage = kPrintLinesPerPage);

    // A counted line, `blank` when it prints nothing: where it stands (a full page, or a pending
    // break, starts the next page).
    Place AddLine(bool blank = false);
    // A form feed: the next line starts a new page unless the current page holds nothing yet.
    void AddBreak();
    // A keep mark for the next `lines` lines (at most a page; 0 or less keeps nothing). Returns
    // how many lines already placed at the foot of the current page move to the top of a new one
    // (0 when none move; the next line may still start a new page).
    int Keep(int lines);
    // Opens (true) or closes (false) a continued list; its first line is the next line placed.
    void Continue(bool open);
    // The current page opens with a continued list's head (above the lines carried to it).
    bool OpensWithHead() const { return headed_; }

    // The page of the last line placed (or of the next one, before any).
    int Page() const { return page_; }
    // The lines above the next line on its page: 0 when it starts a new page after a break or a
    // keep; the page's size when the page is full.
    int LinesOnPage() const { return pending_ ? 0 : line_; }
    int LinesPerPage() const { return perPage_; }
    // Continues with `linesOnPage` lines on the current page and no open group (the writer's line
    // count set from outside: a new chapter file starts at the top of a page). Lines not seen
    // here are never carried.
    void Restart(int linesOnPage);

  private:
    struct Seen {
        bool opens = false;  // printed, with a blank line (or nothing seen) above it
        int group = -1;      // the start of the keep group it was placed in, -1 for none
        bool blankLine = false;
    };
    // How many lines at the foot of the current page, above line `end`, move to the next page
    // when the page ends there; `splitsParagraph` when the line after continues the last one.
    int FootToCarry(int end, bool splitsParagraph) const;
    // The first line of the current page below a list's head: a page never moves away whole.
    int Top() const { return headed_ ? 1 : 0; }
    // The most lines a group keeps: a page, less the line a list's head may take above them.
    int Room() const { return perPage_ - (listFrom_ == kNoList ? 0 : 1); }
    // Starts the next page with the last `moved` lines of the current one (below the head of a
    // continued list whose first line stays behind).
    void CarryOver(int moved);

    int perPage_;
    int page_ = 0;
    int line_ = 0;          // lines on the current page
    bool pending_ = false;  // the next line starts a new page
    // The open keep group, in lines of the page the next line lands on: [groupStart_, groupEnd_).
    int groupStart_ = -1;
    int groupEnd_ = 0;
    std::vector<Seen> seen_;  // the lines placed on the current page, as far as seen
    // The open continued list: kNoList, kListWaiting before its first line, kListEarlier when
    // that line stands on an earlier page, else its line on the current page.
    static constexpr int kNoList = -3, kListWaiting = -2, kListEarlier = -1;
    int listFrom_ = kNoList;
    bool headed_ = false;  // the current page opens with the list's head
};

// What a physical line of a print file is to the page rule.
enum class PrintLineKind {
    Counted,     // printed, one line of its page
    Title,       // "?TI;title": the document's title
    DesignFile,  // "?DF;path": the design's own file
    Keep,        // "?KN;n"
    NoFrame,     // "?NF;"
    Large,       // "?LG;": the next counted line is printed large
    Continued,   // "?CN;head" opens a continued list, "?CN;" closes it
    Block,       // "?OB;n" / "?OE;": an optional part's bounds (the combined file drops them)
};
// The kind of `raw` (a line without its line end); for a keep mark `keepLines` gets n (0 when
// the count is not a number from 1 on).
PrintLineKind KindOfLine(std::string_view raw, int* keepLines = nullptr);

// A counted line of blanks only (a blank line, or a body line with no text).
bool PrintsNothing(std::string_view raw);

// The heading level of a counted line: 1 or 2 for a "?R1"/"?R2" marker after the margin blanks,
// else 0. `blanks` gets the margin's length and `text` what follows the marker.
int HeadingLevel(std::string_view raw, std::size_t* blanks = nullptr,
                 std::string_view* text = nullptr);

// A print file laid out on pages: its counted lines as views into the bytes.
struct PrintLayout {
    struct LaidLine {
        std::string_view bytes;  // as in the file, without its line end
        int keep = 0;            // a keep mark stood right before it: the n of the mark
        bool large = false;      // a "?LG;" line stood before it
        bool head = false;       // a continued list's head repeated at the top of its page
    };
    struct LaidPage {
        std::vector<LaidLine> lines;  // at most a page's lines
        bool endsAtBreak = false;     // a form feed ended it (not a full page or a keep)
        bool noFrame = false;         // printed without the running header (a cover)
    };
    std::vector<LaidPage> pages;  // at least one page (an empty file: one empty page)
    std::string_view title;       // the last "?TI;" line's text, empty when none
    std::string_view designFile;  // the last "?DF;" line's text, empty when none
    bool truncated = false;       // the layout stopped at `maxPages`
};

// Lays out print-file bytes (CR LF or a bare LF ends a line; a 0C ends its page wherever it stands
// on its physical line: what stands before it stays on the old page, what follows continues on
// the new one). At most `maxPages` pages.
PrintLayout LayOutPrintFile(std::string_view bytes, std::size_t maxPages);

}  // namespace kuvelt::formats
