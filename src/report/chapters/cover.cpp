// The cover page (表紙): the design title and "設計計算書", set large, between two rules in the
// upper part of the page, the project's block in the middle (工事名, 発注者, 設計者, 照査者, 日付,
// 版: a line for each text that is given, so a cover never shows a label with nothing after it) and
// the seal boxes of the designer and the checker below it, which are always there to be signed.
// Each line is centred on the page's 100 columns; a block's lines share their left edge, its
// longest line centred. The cover stands outside the numbered report: every line is written as body
// text whatever level the format file gives it, so it takes no heading number, moves no counter and
// makes no bookmark.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "model/design.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"

namespace kuvelt {
namespace {

using namespace basResOutPrn;

// Columns of a page line (one code page 932 byte each), as the preview lays them out.
constexpr std::size_t kPageColumns = 100;

// The page row (1-based) of each line of the title and the row each block starts on: the title
// in the upper third, the project's block in the middle, the seal boxes below it; the last box
// line stands on row 52 of the 62.
constexpr int32_t kTitleRows[] = {12, 15, 18, 21};  // rule, title, "設計計算書", rule
constexpr int32_t kBlockRow = 28;
constexpr int32_t kSealRow = 45;

// Lines of the format section "表紙".
constexpr int32_t kTitleLine = 2;       // the design title, between the rules of lines 1 and 4
constexpr int32_t kFirstBlockLine = 5;  // 工事名 … 版 on lines 5 to 10
constexpr int32_t kFirstSealLine = 12;
constexpr int32_t kLastSealLine = 19;

// One line to print: its format line and the text of its one field.
struct CoverLine {
    int32_t line;
    std::string text;
};

// The width in columns of a format line filled with its text, trailing blanks left out.
std::size_t FilledWidth(const ChapterData& d, const CoverLine& c) {
    FieldTextSlots texts{};
    texts[1] = c.text;
    std::string bytes = FillTemplate(d.LineTexts[c.line], FieldValueSlots{}, texts);
    while (!bytes.empty() && bytes.back() == ' ') bytes.pop_back();
    return bytes.size();
}

// The column (0-based) that centres `width` columns on the page.
std::size_t Centred(std::size_t width) {
    return width >= kPageColumns ? 0 : (kPageColumns - width) / 2;
}

// Blank lines down to page row `row`, then the format line starting at page column `column`
// (never left of the body text's own indent), as body text; `large`: printed large.
void WriteAt(const ChapterData& d, int32_t row, std::size_t column, const CoverLine& c,
             bool large = false) {
    PrintBlankLines(row - 1 - LineCount);
    if (large) PrintLargeNext();
    const std::size_t indent = LineHead(0).size();
    FieldTextSlots texts{};
    texts[1] = c.text;
    const std::string pad(column > indent ? column - indent : 0, ' ');
    PrintTemplateLine(0, pad + d.LineTexts[c.line], FieldValueSlots{}, texts);
}

// Lines sharing their left edge, the widest centred; one blank line between two lines when
// `spaced`.
void WriteBlock(const ChapterData& d, int32_t row, const std::vector<CoverLine>& lines,
                bool spaced) {
    std::size_t width = 0;
    for (const CoverLine& c : lines) width = std::max(width, FilledWidth(d, c));
    for (const CoverLine& c : lines) {
        WriteAt(d, row, Centred(width), c);
        row += spaced ? 2 : 1;
    }
}

}  // namespace

bool basResOutCover::Write(const Results&, std::string* error) {
    return RunChapter(
        [] {
            ChapterData d;
            ChapterSection sec(d, "表紙", true);
            for (int32_t l = 1; l <= 4; ++l) {
                const CoverLine c{l, l == kTitleLine ? gInpJyoken.Title : std::string()};
                // The title and "設計計算書" stand large between the rules.
                WriteAt(d, kTitleRows[l - 1], Centred(FilledWidth(d, c)), c,
                        l == kTitleLine || l == kTitleLine + 1);
            }

            const CInpHyoshi& h = gInpHyoshi;
            const std::array<const std::string*, 6> items = {&h.KojiMei,  &h.Hachusha, &h.Sekkeisha,
                                                             &h.Shosasha, &h.Hizuke,   &h.Han};
            std::vector<CoverLine> block;
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (!items[i]->empty()) {
                    block.push_back({kFirstBlockLine + static_cast<int32_t>(i), *items[i]});
                }
            }
            WriteBlock(d, kBlockRow, block, true);

            std::vector<CoverLine> seal;
            for (int32_t l = kFirstSealLine; l <= kLastSealLine; ++l) seal.push_back({l, {}});
            WriteBlock(d, kSealRow, seal, false);
        },
        error);
}

}  // namespace kuvelt
