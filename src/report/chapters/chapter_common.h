// Helpers shared by the chapter writers: the layer-table paging, the judgement texts, the
// mantissa/exponent split of elastic moduli and the rounding of row counts. Failures throw
// PrintFault like the writer they serve.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

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

// Slot shorthands: N(d, 1, v) sets FieldValues slot 1, S(d, 1, t) FieldTexts slot 1.
inline void N(ChapterData& d, int32_t slot, double v) { d.FieldValues.at(slot) = v; }
inline void S(ChapterData& d, int32_t slot, std::string t) { d.FieldTexts.at(slot) = std::move(t); }

}  // namespace kuvelt::chapters
