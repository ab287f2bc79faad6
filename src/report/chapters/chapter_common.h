// Helpers shared by the chapter writers: the layer-table paging, the judgement texts, the
// mantissa/exponent split of elastic moduli and the rounding of row counts. Failures throw
// PrintFault like the writer they serve.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/layer_kh.h"
#include "calc/sp.h"
#include "model/design.h"
#include "platform/vberror.h"
#include "report/prn.h"

namespace kuvelt::chapters {

using basResOutPrn::ChapterData;
using basResOutPrn::ChapterSection;

// A stage, table or row of the run's results that a chapter prints: one the run did not reach
// ends the chapter (PrintFault 91) instead of printing a value that belongs to no calculation.
template <class T>
const T& Reached(const std::optional<T>& stage) {
    if (!stage) throw PrintFault(vberr::kObjectMissing, "計算結果がありません");
    return *stage;
}
template <class T>
const T& Reached(const T* row) {
    if (!row) throw PrintFault(vberr::kObjectMissing, "断面の計算結果がありません");
    return *row;
}

// Nearest integer, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
int32_t RoundHalfEven(double x);

// x = mantissa × 10^exponent with 1 <= |mantissa| < 10 (0 and 0 for x = 0); the exponent as the
// two-character text of a "!@@" slot, left-aligned ("7 ", "-4", "11").
void SplitExponent(double x, double& mantissa, std::string& exponentText);

// A judgement as its relation sign and verdict.
struct Judgement {
    std::string sign;
    std::string verdict;
};
Judgement PassLimit(bool fails);    // "≦" "OK" / "＞" "OUT"
Judgement PassFactor(bool passes);  // "≧" "OK" / "＜" "OUT"

// One layer table of four counted lines per row, paged: as many rows as fit on the current
// page, then pages of (LinesPerPage - 7) / 4 rows, each new page starting with a page break and
// the repeated header. `row(i)` writes the three lines of row i; the separator line follows every
// row but the last of a page; the closing line ends each page.
void WriteLayerTable(ChapterSection& sec, int32_t n, const std::function<void(int32_t)>& row,
                     int32_t separatorLine, int32_t closingLine, int32_t headerFirst,
                     int32_t headerLast);

// A section that opens with a heading and a block of formulas starts on the page in hand when
// this many lines are left on it, else on a new page: a short tail of the section before never
// stands alone on a page.
inline constexpr int32_t kSectionOpeningLines = 24;
void StartSection();

// A text the user typed that may start a printed line (a reference, the cover's title). The
// preview reads a line whose text starts with "?" after its indent as a mark of the print file (a
// heading, a figure to load), so such a "?" is printed full-width; a control character (a page
// break, a tab) is printed as a blank.
std::string BodyText(std::string text);

// A line printed in place of another: line `line` gives way to line `by` where `by` is not 0.
struct Instead {
    int32_t line = 0, by = 0;
};

// Lines `first` to `last` (or those printed in their place), each after a blank line, as
// templates when `filled`, kept on one page: a formula with its terms.
void SpacedBlock(ChapterSection& sec, int32_t first, int32_t last, bool filled,
                 std::initializer_list<Instead> instead = {});

// The head a list of symbols repeats on each page it continues to.
inline constexpr std::string_view kContinuedHead = "ここに，（つづき）";
// The entries a list of symbols keeps together at its start, and at its end (so that a page it
// runs on to holds more than a last entry and a note).
inline constexpr int32_t kListKeptEntries = 2;
inline constexpr int32_t kListTailEntries = 3;
// A list of symbols: line `where` ("ここに，" on its own; 0 when the first entry holds it), then
// `first` to `last` as SpacedBlock prints them. A list of up to kListKeptEntries +
// kListTailEntries entries keeps whole; a longer one may run over the page between its first and
// its last entries, and the page it runs on to opens with kContinuedHead.
void SymbolList(ChapterSection& sec, int32_t first, int32_t last, bool filled,
                std::initializer_list<Instead> instead = {}, int32_t where = 0);

// The front matter stands before chapter 1: while one of these lives, headings carry their
// bookmark marks ("?R1", "?R2") but no numbers and advance no counter, and body lines are indented
// as under a first-level heading. The numbering state is given back when it goes.
class UnnumberedHeadings {
  public:
    UnnumberedHeadings();
    ~UnnumberedHeadings();
    UnnumberedHeadings(const UnnumberedHeadings&) = delete;
    UnnumberedHeadings& operator=(const UnnumberedHeadings&) = delete;

  private:
    int32_t method_;
    int32_t level_;
};

// Writes heading line n of the section and indents the body lines after it under its level.
void Heading(ChapterData& d, ChapterSection& sec, int32_t n);

// ---- The ground of the current design as the chapters print it --------------------------------
// Every ground layer from the ground surface down (the first one from the ground record itself).
std::vector<CInpJibanLayer> DesignLayers();
// The design has more than one ground layer: the chapters print their layered forms.
bool Layered();
// The soil name of a ground kind: "砂質土" or "粘性土".
std::string SoilName(int32_t kind);
// The ground layer (1-based) a piece of an earth-pressure table belongs to.
int32_t PieceLayer(const clsSpJiban& piece);
// The layer directly below the design ground level (0-based): it decides between boiling and
// heaving.
std::size_t StabilityLayerIndex();
// Its soil (0 sandy: boiling and the sandy virtual ground; 1 clayey: heaving and the 0.5 m rule).
int32_t StabilityKind();
// The channel water stands above the design ground level (not at it).
bool ChannelWaterRaised(double channelWater);
// Chapter 2's and figure label texts of the load pieces: "①" … "⑳", then the number itself (the
// circled numerals of the report's code page end at twenty).
std::string PieceNumeral(int32_t n);

// A layer's share of a depth below a level: the layer (0-based), its top and its thickness there.
struct LayerShare {
    std::size_t layer = 0;
    double top = 0.0;
    double thickness = 0.0;
};
// The shares of the design's layers in the `depth` below the elevation `top`, from the top down
// (the last layer going on below the depth examined).
std::vector<LayerShare> SharesBelow(double top, double depth);
// The same for shares the calculation found.
std::vector<LayerShare> SharesOf(const std::vector<KhPart>& parts);
class SectionLines;
// A thickness-weighted mean over layers as the report shows it: the line `row` for each share
// (layer number, soil, top, bottom, thickness and the layer's `value`), then the line `total` with
// Σ value·h, Σ h and `mean`, the mean the calculation took.
void PrintWeightedMean(SectionLines& lines, const std::vector<LayerShare>& shares,
                       double CInpJibanLayer::*value, int32_t row, int32_t total, double mean);

// The lines of a further format section, printed into the section that is open (a block that
// several sections print alike). Its field slots are its own.
class SectionLines {
  public:
    explicit SectionLines(std::string_view section);
    void Line(int32_t n);
    void Template(int32_t n);
    ChapterData d;
};

// Slot shorthands: N(d, 1, v) sets FieldValues slot 1, S(d, 1, t) FieldTexts slot 1.
inline void N(ChapterData& d, int32_t slot, double v) { d.FieldValues.at(slot) = v; }
inline void S(ChapterData& d, int32_t slot, std::string t) { d.FieldTexts.at(slot) = std::move(t); }

}  // namespace kuvelt::chapters
