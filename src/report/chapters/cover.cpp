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
#include "report/format_lines.h"

namespace kuvelt {
namespace {

using namespace basResOutPrn;

// Columns of a page line (one code page 932 byte each), as the preview lays them out.
constexpr std::size_t kPageColumns = 100;

// The page row (1-based) of each line of the title and the row each block starts on: the title
// in the upper third, the project's block in the middle, the seal boxes below it; the last box
// line stands on row 52 of the 62.
constexpr int32_t kBlockRow = 28;
constexpr int32_t kSealRow = 45;

namespace line = fmt::cover;
// The title between its rules, each line on its page row; the title and "設計計算書" large.
constexpr struct {
    int32_t line, row;
    bool large;
} kTitleLines[] = {{line::kTopRule, 12, false},
                   {line::kTitle, 15, true},
                   {line::kDocument, 18, true},
                   {line::kBottomRule, 21, false}};

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
            ChapterSection sec(d, line::kSection, true);
            for (const auto& t : kTitleLines) {
                // The title's field opens its line: a "?" there would read as a print mark.
                const CoverLine c{t.line, t.line == line::kTitle
                                              ? chapters::BodyText(gInpJyoken.Title)
                                              : std::string()};
                WriteAt(d, t.row, Centred(FilledWidth(d, c)), c, t.large);
            }

            const CInpHyoshi& h = gInpHyoshi;
            const std::array<CoverLine, 6> items = {{{line::kKojiMei, h.KojiMei},
                                                     {line::kHachusha, h.Hachusha},
                                                     {line::kSekkeisha, h.Sekkeisha},
                                                     {line::kShosasha, h.Shosasha},
                                                     {line::kHizuke, h.Hizuke},
                                                     {line::kHan, h.Han}}};
            std::vector<CoverLine> block;
            for (const CoverLine& item : items) {
                if (!item.text.empty()) block.push_back(item);
            }
            WriteBlock(d, kBlockRow, block, true);

            std::vector<CoverLine> seal;
            for (int32_t l = line::kSealFirst; l <= line::kSealLast; ++l) seal.push_back({l, {}});
            WriteBlock(d, kSealRow, seal, false);
        },
        error);
}

}  // namespace kuvelt
