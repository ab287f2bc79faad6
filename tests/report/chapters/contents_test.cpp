// The table of contents on synthetic documents: which headings it lists, how an entry is laid
// out, and page numbers that count the cover and the contents' own pages.
#include "report/chapters/contents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/print_pages.h"
#include "platform/cp932.h"

namespace kuvelt::print_job {
namespace {

std::string Sj(const std::string& utf8) { return cp932::FromUtf8(utf8); }

std::string Blanks(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\r\n";
    return s;
}

// The contents' entry lines (UTF-8) of a document with its contents in place.
std::vector<std::string> Entries(const std::string& document) {
    std::vector<std::string> out;
    const formats::PrintLayout layout = formats::LayOutPrintFile(document, 100);
    bool in = false;
    for (const auto& page : layout.pages) {
        for (const auto& line : page.lines) {
            std::string_view title;
            if (formats::HeadingLevel(line.bytes, nullptr, &title) != 0) {
                in = cp932::ToUtf8(title) == kContentsTitle;
            } else if (in && !line.bytes.empty()) {
                out.push_back(cp932::ToUtf8(line.bytes));
            }
        }
    }
    return out;
}

// An entry as the contents write it: indent, title, leader dots, the page right-aligned.
std::string Entry(int indent, const std::string& title, int page) {
    std::string line(std::size_t(indent), ' ');
    line += title + " ";
    const std::string number = std::to_string(page);
    const int columns = int(indent + Sj(title).size() + 1);
    line += std::string(std::size_t(kContentsWidth - columns - 1 - 4), '.') + " ";
    return line + std::string(4 - number.size(), ' ') + number;
}

TEST(Contents, ListTheHeadingsAfterThemWithThePagesTheyPrintOn) {
    // A cover, the mark, then two chapters: the first runs over two pages, a section heading
    // stands on its second page, the second chapter starts a page of its own.
    const std::string document = Sj("?NF;\r\n?R1表紙の見出し\r\n\x0C") +
                                 std::string(kContentsMark) + Sj("?R11. 設計条件\r\n") +
                                 Blanks(70) +
                                 Sj("  ?R21.1 一般条件  \r\n本文\r\n\x0C?R12. 外力\r\n?R2\r\n");
    const std::string out = InsertContents(document);
    EXPECT_EQ(out.find(kContentsMark), std::string::npos);
    EXPECT_EQ(Entries(out),
              (std::vector<std::string>{Entry(2, "1. 設計条件", 3), Entry(6, "1.1 一般条件", 4),
                                        Entry(2, "2. 外力", 5)}))
        << "the cover's heading and an empty heading are not listed; the cover is page 1";
    const std::string contents = Sj("?R1目次\r\n\r\n\r\n");
    EXPECT_EQ(out.substr(0, document.find(kContentsMark) + contents.size()),
              document.substr(0, document.find(kContentsMark)) + contents)
        << "the contents take the mark's place, titled without a heading number";
    for (const std::string& e : Entries(out)) {
        EXPECT_EQ(Sj(e).size(), std::size_t(kContentsWidth)) << e;
    }
}

TEST(Contents, ManyEntriesTakeMorePagesAndTheNumbersCountThem) {
    std::string body;
    for (int i = 1; i <= 80; ++i) body += Sj("?R2節" + std::to_string(i) + "\r\n\x0C");
    const std::string out = InsertContents(std::string(kContentsMark) + body);
    const std::vector<std::string> entries = Entries(out);
    ASSERT_EQ(entries.size(), 80u);
    // 3 title lines and 80 entries: two contents pages, so the first section prints on page 3.
    EXPECT_EQ(entries.front(), Entry(6, "節1", 3));
    EXPECT_EQ(entries.back(), Entry(6, "節80", 82));
}

// Figures and tables are numbered in the order they stand, each from 1, and listed after the
// headings with their pages.
TEST(Contents, CaptionsAreNumberedInOrderAndListedAfterTheHeadings) {
    const std::string body =
        Sj("?R11. 条件\r\n  ?FN;構造図\r\n  ?TN;土層構成\r\n\x0C"
           "  ?FN;土圧分布図\r\n本文 ?x\r\n");
    const std::string numbered = NumberCaptions(body);
    EXPECT_EQ(numbered, Sj("?R11. 条件\r\n  図-1 構造図\r\n  表-1 土層構成\r\n\x0C"
                           "  図-2 土圧分布図\r\n本文 ?x\r\n"));
    EXPECT_EQ(NumberCaptions(Sj("?R1目次\r\n")), Sj("?R1目次\r\n"));
    EXPECT_EQ(
        Entries(InsertContents(std::string(kContentsMark) + numbered)),
        (std::vector<std::string>{Entry(2, "1. 条件", 2), "  図表目次", Entry(6, "図-1 構造図", 2),
                                  Entry(6, "表-1 土層構成", 2), Entry(6, "図-2 土圧分布図", 3)}));
}

TEST(Contents, LongTitlesAreCutOnACharacterAndNothingToListRemovesTheMark) {
    const std::string title(76, 'A');
    const std::string longTitle = "?R1" + title + Sj("土圧の計算") + "\r\n";
    const std::vector<std::string> entries =
        Entries(InsertContents(std::string(kContentsMark) + longTitle));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0], Entry(2, title + "土", 2)) << "the cut leaves no half character";
    EXPECT_EQ(InsertContents("a\r\n" + std::string(kContentsMark) + "b\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(InsertContents("a\r\n"), "a\r\n");
}

}  // namespace
}  // namespace kuvelt::print_job
