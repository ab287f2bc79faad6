// The print job: the combined file of the ticked chapters, the tick commands, item 4 and the
// clean-up of every print and figure file.
#include "report/chapters/print_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "calc/nekiri.h"
#include "chapters_test_util.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "report/chapters/contents.h"
#include "report/prn.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
using print_job::Ticks;

class PrintJobTest : public ::testing::Test {
  protected:
    void SetUp() override {
        basResOutPrn::SetReportTempFolder(tmp.path().string());
        ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));
        g = print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI");
        ASSERT_FALSE(g.failure.has_value());
    }
    void TearDown() override {
        print_job::CloseReport();
        basResOutPrn::SetReportTempFolder("");
    }
    // The combined file after its first line, which names the design for the preview; the
    // figures inside the chapters ticked, no front matter.
    static print_job::PartTicks Figures() {
        print_job::PartTicks figures{};
        for (const print_job::Part p :
             {print_job::kStructureFigure, print_job::kPressureFigure, print_job::kForceFigure})
            figures[p] = true;
        return figures;
    }
    std::string Combined(const Ticks& t) {
        EXPECT_FALSE(print_job::BuildCombinedFile(t, "", Figures()).has_value());
        return test::ReadBytesAfter(print_job::CombinedFile(),
                                    "?TI;" + cp932::FromUtf8(gInpJyoken.Title) + "\r\n");
    }
    std::string ChapterBytes(int i) { return test::ReadBytes(print_job::ChapterFile(i)); }
    // A chapter as the combined file holds it (by default with the figures ticked): the block
    // marks gone, and the blocks of unticked parts.
    std::string Printed(int i, const print_job::PartTicks& parts = Figures()) {
        std::string out;
        for (const std::string& line :
             print_job::FilterOptionalBlocks(cp932::SplitCrLf(ChapterBytes(i)), parts)) {
            out += line + "\r\n";
        }
        return out;
    }
    test::TempDir tmp;
    print_job::Generation g;
};

TEST_F(PrintJobTest, SlotsHoldTheChaptersThenTheFrontMatterThenTheCombinedFile) {
    EXPECT_EQ(basResOutPrn::PrintFileCount, 9);
    for (std::size_t k = 0; k < print_job::kFrontFiles.size(); ++k) {
        EXPECT_EQ(print_job::PartFile(print_job::kFrontFiles[k]),
                  basResOutPrn::PrintFileNames[6 + k]);
    }
    EXPECT_EQ(print_job::PartFile(print_job::kContents), "");
    EXPECT_EQ(print_job::CombinedFile(), basResOutPrn::PrintFileNames[9]);
    EXPECT_EQ(test::ReadBytes(print_job::CombinedFile()), "");
    for (int i = 0; i < 5; ++i) EXPECT_NE(ChapterBytes(i), "") << i;
    EXPECT_TRUE(g.stabilityEnabled);
}

TEST_F(PrintJobTest, OneChapterAloneEqualsItsFile) {
    for (int i = 0; i < 5; ++i) {
        Ticks t{};
        t[i] = true;
        const std::string c = Combined(t);
        EXPECT_EQ(c, print_job::NumberCaptions(Printed(i))) << i;
        EXPECT_NE(c.front(), '\x0C') << i;
    }
}

TEST_F(PrintJobTest, ChaptersAreJoinedByOnePageBreak) {
    // Figures and tables are counted over the chapters printed, and only those.
    EXPECT_EQ(Combined({true, false, false, true, false}),
              print_job::NumberCaptions(Printed(0) + "\x0C" + Printed(3)));
    EXPECT_EQ(Combined({true, true, true, true, true}),
              print_job::NumberCaptions(Printed(0) + "\x0C" + Printed(1) + "\x0C" + Printed(2) +
                                        "\x0C" + Printed(3) + "\x0C" + Printed(4)));
}

TEST_F(PrintJobTest, CombinedFileIsRebuiltOnEveryPress) {
    Combined({true, true, false, false, false});
    EXPECT_EQ(Combined({false, false, true, false, false}), print_job::NumberCaptions(Printed(2)));
}

TEST_F(PrintJobTest, ChapterLinesGetCrLf) {
    // A chapter file whose last line lacks its line end still joins as whole lines.
    test::WriteBytes(print_job::ChapterFile(1), "a\r\nb");
    EXPECT_EQ(Combined({false, true, false, false, false}), "a\r\nb\r\n");
}

TEST(OptionalBlocks, AnUntickedPartsBlockLeavesTheChapterAndTheMarksAlways) {
    const std::vector<std::string> lines = {"a",    "?OB;4", "fig",   "?OE;", "b",   "?OB;9",
                                            "kept", "?OE;",  "?OB;6", "c",    "?OE;"};
    print_job::PartTicks parts = print_job::kAllParts;
    EXPECT_EQ(print_job::FilterOptionalBlocks(lines, parts),
              (std::vector<std::string>{"a", "fig", "b", "kept", "c"}));
    parts[print_job::kStructureFigure] = false;
    parts[print_job::kForceFigure] = false;
    // A mark naming no part keeps its block: a figure is better printed than lost.
    EXPECT_EQ(print_job::FilterOptionalBlocks(lines, parts),
              (std::vector<std::string>{"a", "b", "kept"}));
}

TEST_F(PrintJobTest, FrontMatterComesFirstEachOnItsOwnPages) {
    // The cover page goes without the running header, the contents follow it; a cover that wrote
    // nothing is no cover: the contents then open the document and no page goes bare.
    const std::string bare = "?NF;\r\n", mark(print_job::kContentsMark);
    const struct {
        const char* name;
        const char* cover;
        bool contents;
        std::string expected;  // before InsertContents
    } cases[] = {
        {"CoverAndStandards", "cover\r\n", false, bare + "cover\r\n\x0Cstd\r\n\x0C"},
        {"ContentsAfterTheCover", "cover\r\n", true, bare + "cover\r\n\x0C" + mark + "std\r\n\x0C"},
        {"EmptyCoverContentsFirst", "", true, mark + "std\r\n\x0C"},
    };
    for (const auto& c : cases) {
        test::WriteBytes(print_job::PartFile(print_job::kCover), c.cover);
        test::WriteBytes(print_job::PartFile(print_job::kStandards), "std\r\n");
        print_job::PartTicks parts = print_job::kNoParts;
        parts[print_job::kCover] = parts[print_job::kStandards] = true;
        parts[print_job::kContents] = c.contents;
        ASSERT_FALSE(print_job::BuildCombinedFile({true, false, false, false, false}, "", parts));
        EXPECT_EQ(
            test::ReadBytesAfter(print_job::CombinedFile(),
                                 "?TI;" + cp932::FromUtf8(gInpJyoken.Title) + "\r\n"),
            print_job::InsertContents(print_job::NumberCaptions(c.expected + Printed(0, parts))))
            << c.name;
    }
}

TEST_F(PrintJobTest, NothingTickedIsRefused) {
    const auto m = print_job::BuildCombinedFile(Ticks{});
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->text, "印刷項目はひとつ以上選択して下さい。");
    EXPECT_EQ(m->title, "検討結果の印刷");
    EXPECT_EQ(m->icon, MsgIcon::Information);
}

TEST_F(PrintJobTest, CloseDeletesEveryPrintAndFigureFile) {
    std::vector<std::string> files;
    for (int i = 1; i <= basResOutPrn::PrintFileCount; ++i)
        files.push_back(basResOutPrn::PrintFileNames[i]);
    for (int i = 1; i <= basResOutPrn::FigureFileCount; ++i)
        files.push_back(basResOutPrn::FigureFileNames[i]);
    // five chapters, three front-matter files, the combined file, thirteen figure files (the
    // structure and pressure figures one sub-figure each, the load diagram two, and a composite
    // for each; the force diagram six)
    EXPECT_EQ(files.size(), 22u);
    print_job::CloseReport();
    for (const std::string& f : files) EXPECT_FALSE(fs::exists(f)) << f;
    EXPECT_TRUE(fs::is_empty(tmp.path()));
    EXPECT_EQ(basResOutPrn::PrintFileCount, 0);
    EXPECT_EQ(basResOutPrn::FigureFileCount, 0);
}

TEST_F(PrintJobTest, TwoFailuresMakeOneMessage) {
    print_job::CloseReport();
    gInpYaita.Sect =
        99;  // missing from the catalogue: design conditions, sheet-pile design, summary
    const print_job::Generation f =
        print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI");
    ASSERT_TRUE(f.failure.has_value());
    EXPECT_EQ(f.failure->text,
              "\n･『設計条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n･『矢板の設計』の印刷ﾌｧｲﾙ生成ｴﾗｰ"
              "\n･『設計調書』の印刷ﾌｧｲﾙ生成ｴﾗｰ");
    EXPECT_EQ(f.failure->title, "Kuvelt");
    EXPECT_EQ(f.failure->icon, MsgIcon::Error);
    EXPECT_EQ(f.failure->buttons, MsgButtons::Ok);
    // A failed chapter can still be printed with what it wrote.
    EXPECT_NE(ChapterBytes(0), "");
}

TEST_F(PrintJobTest, StabilityItemByCheckAndFault) {
    print_job::CloseReport();
    gInpJyoken.Nekiri = 0;
    const print_job::Generation off =
        print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI");
    EXPECT_FALSE(off.stabilityEnabled);
    EXPECT_EQ(ChapterBytes(4), "");
    gInpJyoken.Nekiri = 1;
    Results r = SnapshotResults();
    EXPECT_TRUE(print_job::StabilityItemEnabled(r));
    r.boiling->Gw = 0;  // a fault in the boiling check
    r.boiling->Hw = 1;
    EXPECT_FALSE(r.boiling->Calc());
    EXPECT_FALSE(print_job::StabilityItemEnabled(r));
    // A check the run never reached is no check to print.
    r.boiling.reset();
    EXPECT_FALSE(print_job::StabilityItemEnabled(r));
}

TEST(PrintJobCommands, TicksFollowTheEnabledItems) {
    const Ticks enabled{true, true, true, true, false};
    const Ticks some{true, false, true, false, false};
    struct Case {
        int command;
        Ticks from, expected;
    } cases[] = {
        {0, some, {true, true, true, true, false}},
        {1, some, {false, false, false, false, false}},
        {2, some, {false, true, false, true, false}},
        {2, {false, false, false, false, false}, {true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(print_job::ApplyCheckCommand(c.command, c.from, enabled), c.expected)
            << c.command;
    }
}

}  // namespace
}  // namespace kuvelt
