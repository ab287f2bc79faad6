// The page rule of print files on synthetic files: where lines fall with form feeds, full pages
// and keep marks (a kept group that does not fit moves whole, pulling the heading it continues),
// and which lines are information only.
#include "formats/print_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kuvelt::formats {
namespace {

std::string Lines(int n, const char* text = "x") {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(text) + "\r\n";
    return s;
}

// n times `text` as PageText shows them: "t|t|t".
std::string Run(int n, const char* text) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? "|" : "") + std::string(text);
    return s;
}

std::string Keep(int n) { return "?KN;" + std::to_string(n) + "\r\n"; }

// Pages as "a|b|c", runs of the filler line "x" written as "x*n".
std::string PageText(const PrintLayout::LaidPage& page) {
    std::string s;
    for (std::size_t i = 0; i < page.lines.size();) {
        std::size_t j = i;
        while (j < page.lines.size() && page.lines[j].bytes == "x") ++j;
        if (!s.empty()) s += '|';
        if (j > i) {
            s += "x*" + std::to_string(j - i);
            i = j;
        } else {
            s += std::string(page.lines[i].bytes);
            ++i;
        }
    }
    return s;
}

struct KeepCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> pages;
};

class KeepRule : public ::testing::TestWithParam<KeepCase> {};

TEST_P(KeepRule, PlacesEveryLine) {
    const PrintLayout layout = LayOutPrintFile(GetParam().bytes, 100);
    std::vector<std::string> pages;
    for (const PrintLayout::LaidPage& p : layout.pages) {
        EXPECT_LE(p.lines.size(), std::size_t(kPrintLinesPerPage));
        pages.push_back(PageText(p));
    }
    EXPECT_EQ(pages, GetParam().pages);
    EXPECT_FALSE(layout.truncated);
}

INSTANTIATE_TEST_SUITE_P(
    PrintFile, KeepRule,
    ::testing::Values(
        KeepCase{"MarkIsNeitherCountedNorPrinted", Keep(2) + "a\r\nb\r\n", {"a|b"}},
        KeepCase{
            "GroupThatFitsStays", Lines(58) + Keep(4) + "h\r\na\r\nb\r\nc\r\n", {"x*58|h|a|b|c"}},
        KeepCase{"GroupFillingThePageExactlyStays",
                 Lines(59) + Keep(3) + "h\r\na\r\nb\r\n",
                 {"x*59|h|a|b"}},
        KeepCase{"GroupAtTheFootStartsTheNextPage",
                 Lines(60) + Keep(3) + "h\r\na\r\nb\r\n",
                 {"x*60", "h|a|b"}},
        KeepCase{"GroupAfterAFullPageMakesNoEmptyPage",
                 Lines(62) + Keep(3) + "h\r\na\r\n",
                 {"x*62", "h|a"}},
        KeepCase{"BlockInsideAHeadingsGroupPullsTheHeading",
                 Lines(55) + Keep(3) + "h\r\n\r\n" + Keep(8) + Lines(8, "t"),
                 {"x*55", "h||" + Run(8, "t")}},
        KeepCase{"ChapterAndSectionHeadingsMoveTogether",
                 Lines(57) + Keep(4) + "H1\r\n\r\n" + Keep(4) + "H2\r\n\r\nt\r\nu\r\n",
                 {"x*57", "H1||H2||t|u"}},
        KeepCase{"BlockAfterTheGroupEndedLeavesTheHeading",
                 Lines(50) + Keep(2) + "h\r\na\r\n" + Keep(12) + Lines(12, "t"),
                 {"x*50|h|a", Run(12, "t")}},
        KeepCase{"GroupAtTheTopOfAPageNeverBreaks", Keep(62) + Lines(64), {"x*62", "x*2"}},
        KeepCase{"GroupLongerThanAPageKeepsAPage",
                 Lines(10) + Keep(100) + Lines(70, "t"),
                 {"x*10", Run(62, "t"), Run(8, "t")}},
        KeepCase{"FormFeedEndsAGroup",
                 Lines(10) + Keep(5) + "a\r\n\x0C" + Lines(60, "b") + "c\r\n",
                 {"x*10|a", Run(60, "b") + "|c"}},
        KeepCase{"MarkRightAfterAFormFeed", "a\r\n\x0C" + Keep(3) + "b\r\n", {"a", "b"}},
        KeepCase{"MalformedMarksKeepNothing",
                 Lines(60) + "?KN;x\r\n?KN;0\r\n?KN;-3\r\nh\r\na\r\nb\r\n",
                 {"x*60|h|a", "b"}},
        KeepCase{"InformationLinesAreNotPrinted",
                 "?TI;t\r\n?DF;d\r\n?OB;4\r\na\r\n?OE;\r\n?NF;\r\nb\r\n",
                 {"a|b"}},
        KeepCase{"OnlyAMarkAtTheLineStartCounts", " ?KN;3\r\na\r\n", {" ?KN;3|a"}},
        // The foot of a page.
        KeepCase{"LabelAtTheFootMovesWithTheBlockItOpens",
                 Lines(59) + "\r\nL\r\n\r\nf\r\n",
                 {"x*59|", "L||f"}},
        KeepCase{"FirstLineOfASplitParagraphMoves", Lines(60) + "\r\na\r\nb\r\n", {"x*60|", "a|b"}},
        KeepCase{"LabelAndTheParagraphItOpensMoveTogether",
                 Lines(58) + "\r\nL\r\n\r\na\r\nb\r\n",
                 {"x*58|", "L||a|b"}},
        KeepCase{"CompleteOneLineParagraphsStayTogether",
                 Lines(58) + "\r\nL\r\n\r\nf\r\n\r\ng\r\n",
                 {"x*58||L||f", "g"}},
        KeepCase{"HeadingKeptWithOneLineMovesWithIt",
                 Lines(58) + Keep(4) + "h\r\n\r\nf\r\n\r\nc\r\n",
                 {"x*58", "h||f||c"}},
        KeepCase{"LastEntryOfAKeptListStaysWithIt",
                 Lines(50) + Keep(12) + Lines(6, "\r\nt") + "c\r\n",
                 {"x*50||t||t||t||t||t||t", "c"}},
        KeepCase{"GroupThatMovesTakesTheLabelAbove",
                 Lines(55) + "\r\nW\r\n" + Keep(8) + Lines(8, "t"),
                 {"x*55|", "W|" + Run(8, "t")}},
        KeepCase{
            "ABlankPageFootCarriesNothing", Lines(59) + Lines(3, "") + "c\r\n", {"x*59|||", "c"}},
        // A continued list repeats its head, counted, on each page it runs on to.
        KeepCase{"ListOverThePageRepeatsItsHead",
                 Lines(60) + "?CN;H\r\n" + Lines(130, "t") + "?CN;\r\n",
                 {"x*60|t|t", "H|" + Run(61, "t"), "H|" + Run(61, "t"), "H|" + Run(6, "t")}},
        KeepCase{"HeadStandsAboveTheLinesCarried",
                 Lines(50) + "?CN;H\r\n" + Lines(9, "t") + "\r\nL\r\n\r\na\r\n?CN;\r\n",
                 {"x*50|" + Run(9, "t") + "|", "H|L||a"}},
        KeepCase{"ListMovingWholeNeedsNoHead",
                 Lines(60) + Keep(4) + "?CN;H\r\n" + Lines(4, "t") + "?CN;\r\n",
                 {"x*60", "t|t|t|t"}},
        KeepCase{"ClosedListHasNoHead",
                 Lines(58) + "?CN;H\r\nt\r\n?CN;\r\n" + Lines(6, "u"),
                 {"x*58|t|u|u|u", "u|u|u"}},
        KeepCase{"GroupUnderAHeadMovesBelowTheHead",
                 Lines(58) + "?CN;H\r\nt\r\n" + Keep(6) + Lines(6, "k") + "?CN;\r\n",
                 {"x*58|t", "H|" + Run(6, "k")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintPages, LayoutRecordsMarksBreaksAndInformation) {
    const std::string bytes = "?TI;first\r\n?TI;title\r\n?DF;/d/x.kvt\r\n?NF;\r\ncover\x0C" +
                              Keep(3) + "a\r\nb\x0C" + "c";
    const PrintLayout l = LayOutPrintFile(bytes, 100);
    ASSERT_EQ(l.pages.size(), 3u);
    EXPECT_EQ(l.title, "title") << "the last title line names the document";
    EXPECT_EQ(l.designFile, "/d/x.kvt");
    EXPECT_TRUE(l.pages[0].noFrame);
    EXPECT_FALSE(l.pages[1].noFrame);
    EXPECT_EQ(l.pages[1].lines[0].keep, 3);
    EXPECT_EQ(l.pages[1].lines[1].keep, 0);
    EXPECT_TRUE(l.pages[0].endsAtBreak);
    EXPECT_TRUE(l.pages[1].endsAtBreak);
    EXPECT_FALSE(l.pages[2].endsAtBreak);
}

TEST(PrintPages, MovedLinesStopAtThePageBound) {
    const std::string bytes = Lines(58) + Keep(4) + "h\r\n" + Keep(9) + Lines(9);
    const PrintLayout l = LayOutPrintFile(bytes, 1);
    EXPECT_TRUE(l.truncated);
    ASSERT_EQ(l.pages.size(), 1u);
    EXPECT_EQ(l.pages[0].lines.size(), 59u) << "the heading stays where it was, nothing is lost";
}

}  // namespace
}  // namespace kuvelt::formats
