// Print files on disk: line prefixes, page control, temporary files and the chapter protocol.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <set>

#include "formats/print_pages.h"
#include "platform/vberror.h"
#include "report/prn.h"
#include "report_test_util.h"

namespace kuvelt::test {
namespace {

namespace p = basResOutPrn;

using PrintFiles = ReportTest;

// The keep mark a heading of level 1 to 3 is written after.
const std::string kHeadingKeep = "?KN;4\r\n";

TEST_F(PrintFiles, MethodZeroPrefixesCarryMarginsAndMarkersOnly) {
    p::LevelMargins = {0, 2, 3, 4, 6, 0};
    p::LevelStyles = {0, 1, 1, 2, 6, 0};  // ignored with method 0
    OpenNewPrintFile();
    p::PrintFormatLine(1, "設計条件");
    p::PrintFormatLine(0, "本文");
    p::PrintFormatLine(2, "節");
    p::PrintFormatLine(3, "項目");
    p::PrintFormatLine(4, "点");
    p::PrintFormatLine(5, "細目");
    p::PrintFormatLine(0, "本文");
    EXPECT_EQ(CloseAndRead(), kHeadingKeep +
                                  Sj("  ?R1設計条件\r\n"
                                     "    本文\r\n") +
                                  kHeadingKeep + Sj("   ?R2節\r\n") + kHeadingKeep +
                                  Sj("    項目\r\n"
                                     "      点\r\n"
                                     "細目\r\n"
                                     "    本文\r\n"))
        << "levels 1 to 3 keep with the lines after them, 4 and 5 do not";
    EXPECT_EQ(p::CurrentLevel, 1) << "method 0 never moves the level";
    EXPECT_EQ(p::LevelCounters, (std::array<int32_t, 6>{}));
    EXPECT_EQ(p::LineCount, 7);
}

TEST_F(PrintFiles, NumberedHeadingsSetTheBodyIndent) {
    p::NumberMethod = 3;
    p::LevelStyles = {0, 1, 1, 2, 6, 0};
    p::LevelMargins = {0, 0, 2, 4, 6, 0};
    OpenNewPrintFile();
    p::PrintFormatLine(1, "章");
    p::PrintFormatLine(0, "a");
    p::PrintFormatLine(3, "項");
    p::PrintFormatLine(0, "b");
    p::PrintFormatLine(2, "節");
    p::PrintFormatLine(0, "c");
    EXPECT_EQ(CloseAndRead(), kHeadingKeep +
                                  Sj("?R11. 章\r\n"
                                     "  a\r\n") +
                                  kHeadingKeep +
                                  Sj("    (1) 項\r\n"
                                     "      b\r\n") +
                                  kHeadingKeep +
                                  Sj("  ?R21.1 節\r\n"
                                     "    c\r\n"));
}

TEST_F(PrintFiles, FieldCharactersInFormatLinesAreWrittenAsTheyAre) {
    OpenNewPrintFile();
    p::PrintFormatLine(0, "##0.00 &  & !");
    p::FieldValueSlots v{};
    p::FieldTextSlots t{};
    v[1] = 2.5;
    t[1] = "kN";
    t[2] = "X";  // no "&" remains: the "!" is a field now
    p::PrintTemplateLine(0, "##0.00 &  & !", v, t);
    EXPECT_EQ(CloseAndRead(), "  ##0.00 &  & !\r\n    2.50 kN   X\r\n");
}

TEST_F(PrintFiles, MarginsFromTheSettingsAreBounded) {
    p::LevelMargins = {0, -5, 100000, 0, 0, 0};
    EXPECT_EQ(p::LineHead(1), "?R1");
    EXPECT_EQ(p::LineHead(2), std::string(255, ' ') + "?R2");
    EXPECT_EQ(p::LineHead(0), "  ") << "negative margin 1 gives no blanks, plus 2";
}

TEST_F(PrintFiles, LevelOutsideRangeFailsBeforeWriting) {
    p::NumberMethod = 1;
    p::LevelStyles[1] = 1;
    OpenNewPrintFile();
    for (int32_t level : {-1, 6}) {
        try {
            p::PrintFormatLine(level, "x");
            FAIL() << level;
        } catch (const PrintFault& e) {
            EXPECT_EQ(e.code(), vberr::kSubscript);
            EXPECT_EQ(e.what(), "行のレベルが0～5の範囲外です: " + std::to_string(level));
        }
    }
    EXPECT_EQ(CloseAndRead(), "");
    EXPECT_EQ(p::LineCount, 0);
}

TEST_F(PrintFiles, WritingWithoutAnOpenFileFails) {
    p::NumberMethod = 1;
    p::LevelStyles[1] = 1;
    try {
        p::PrintFormatLine(1, "x");
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kBadFileName);
        EXPECT_STREQ(e.what(), "印刷ファイルが開かれていません");
    }
    EXPECT_EQ(p::LevelCounters[1], 0) << "a failed line does not use up a number";
    EXPECT_THROW(p::PrintBlankLines(1), PrintFault);
}

TEST_F(PrintFiles, NewPageIfShortAtStartWritesTheBlanks) {
    OpenNewPrintFile();
    p::LinesPerPage = 62;
    p::NewPageIfShort(62, 1);
    EXPECT_EQ(p::LineCount, 1);
    EXPECT_EQ(CloseAndRead(), "\r\n");
}

TEST_F(PrintFiles, NewPageIfShortAfterALineBreaksThePage) {
    OpenNewPrintFile();
    p::LinesPerPage = 62;
    p::PrintFormatLine(0, "a");
    p::NewPageIfShort(62, 1);
    EXPECT_EQ(p::LineCount, 0);
    p::PrintFormatLine(0, "b");
    EXPECT_EQ(CloseAndRead(), "  a\r\n\x0C  b\r\n") << "the next line follows the 0C directly";
}

TEST_F(PrintFiles, NewPageIfShortCountsRemainingLines) {
    OpenNewPrintFile();
    p::LinesPerPage = 62;
    p::LineCount = 59;
    p::NewPageIfShort(3, 2);  // three lines remain: enough
    EXPECT_EQ(p::LineCount, 61);
    p::NewPageIfShort(3, 2);  // one remains
    EXPECT_EQ(p::LineCount, 0);
    p::PrintBlankLines(0);
    p::PrintPageBreak();
    EXPECT_EQ(CloseAndRead(), "\r\n\r\n\x0C\x0C");
}

// The writer counts the lines of its page as the preview will place them, so its own page
// breaks (NewPageIfShort, the paged tables) stay right after a keep moved lines: after each
// script its line count is the number of lines on the last page of the file's layout.
TEST_F(PrintFiles, LineCountFollowsThePagesThePreviewMakes) {
    const struct {
        const char* name;
        std::function<void()> write;
        int32_t lineCount;
    } cases[] = {
        {"HeadingAtTheFootStartsTheNextPage",
         [] {
             p::PrintBlankLines(59);
             p::PrintFormatLine(2, "節");
         },
         1},
        {"HeadingWithRoomStays",
         [] {
             p::PrintBlankLines(58);
             p::PrintFormatLine(3, "項");
         },
         59},
        {"BlockPullsTheHeadingItFollows",
         [] {
             p::PrintBlankLines(56);
             p::PrintFormatLine(2, "節");
             p::PrintBlankLines(1);
             p::PrintKeepLines(10);
             for (int i = 0; i < 10; ++i) p::PrintFormatLine(0, "表");
         },
         12},
        {"ShortPageCheckSeesTheMovedLines",
         [] {
             p::PrintBlankLines(56);
             p::PrintFormatLine(1, "章");
             p::PrintBlankLines(1);
             p::PrintKeepLines(10);
             p::NewPageIfShort(60, 1);  // 60 lines are left below the two carried over
             p::PrintFormatLine(0, "本文");
         },
         4},
        {"OverfullPageCountsOnTheNext", [] { p::PrintBlankLines(63); }, 1},
        {"LevelFourDoesNotKeep",
         [] {
             p::PrintBlankLines(61);
             p::PrintFormatLine(4, "点");
         },
         62},
    };
    for (const auto& c : cases) {
        p::ResetPrintJob();
        OpenNewPrintFile();
        c.write();
        EXPECT_EQ(p::LineCount, c.lineCount) << c.name;
        const std::string bytes = CloseAndRead();
        const formats::PrintLayout layout = formats::LayOutPrintFile(bytes, 100);
        EXPECT_EQ(p::LineCount, int32_t(layout.pages.back().lines.size())) << c.name;
    }
}

TEST_F(PrintFiles, FigureLineNamesTheFigureFile) {
    p::LevelMargins[1] = 3;
    OpenNewPrintFile();
    p::PrintFigureLine("/tmp/~MTabc123");
    EXPECT_EQ(CloseAndRead(), "     ?FG;000;000;/tmp/~MTabc123\r\n");
    EXPECT_EQ(p::LineCount, 1);
}

TEST_F(PrintFiles, AppendPageBreakAppendsAndNeverFails) {
    const std::string path = OpenNewPrintFile();
    p::PrintFormatLine(0, "a");
    p::AppendPageBreak();  // the open handle is not disturbed
    p::PrintFormatLine(0, "b");
    EXPECT_EQ(CloseAndRead(), "  a\r\n\x0C  b\r\n");

    std::filesystem::remove(path);
    p::AppendPageBreak();
    EXPECT_FALSE(std::filesystem::exists(path)) << "a deleted print file is not brought back";
    p::CurrentPrintFile.clear();
    p::AppendPageBreak();
}

TEST_F(PrintFiles, TemporaryFilesAreUniquePrivateAndAllDeleted) {
    std::set<std::string> names;
    for (int i = 0; i < 100; ++i) names.insert(p::NewPrintFile());
    for (int i = 0; i < 100; ++i) names.insert(p::NewFigureFile());
    ASSERT_EQ(names.size(), 200u);
    for (const std::string& n : names) {
        const std::filesystem::path f(n);
        EXPECT_EQ(f.parent_path(), tmp.path());
        EXPECT_EQ(f.filename().string().rfind("~MT", 0), 0u) << n;
        struct stat st {};
        ASSERT_EQ(::stat(n.c_str(), &st), 0) << n;
        EXPECT_EQ(st.st_mode & 0777, 0600u) << n;
        EXPECT_EQ(st.st_size, 0) << n;
    }
    for (int i = 1; i <= 100; ++i) {
        EXPECT_EQ(names.count(p::PrintFileNames[i]), 1u) << i;
        EXPECT_EQ(names.count(p::FigureFileNames[i]), 1u) << i;
    }

    for (auto make : {&p::NewPrintFile, &p::NewFigureFile}) {
        try {
            make();
            FAIL() << "101st file";
        } catch (const PrintFault& e) {
            EXPECT_EQ(e.code(), vberr::kSubscript);
            EXPECT_STREQ(e.what(), "一時ファイルの数が上限(100)を超えました");
        }
    }
    EXPECT_EQ(p::PrintFileCount, 100);

    p::DeleteAllReportFiles();
    for (const std::string& n : names) EXPECT_FALSE(std::filesystem::exists(n)) << n;
    EXPECT_EQ(p::PrintFileCount, 0);
    EXPECT_EQ(p::FigureFileCount, 0);
    EXPECT_NO_THROW(p::NewPrintFile()) << "the next opening starts counting again";
}

TEST_F(PrintFiles, ReopeningWithoutClosingDeletesTheOldFiles) {
    const std::string print = p::NewPrintFile();
    const std::string figure = p::NewFigureFile();
    p::ResetPrintJob();
    EXPECT_FALSE(std::filesystem::exists(print));
    EXPECT_FALSE(std::filesystem::exists(figure));
    EXPECT_EQ(p::PrintFileCount, 0);
}

TEST_F(PrintFiles, NewPrintFileInAMissingFolderFails) {
    p::SetReportTempFolder(tmp.file("gone"));
    try {
        p::NewPrintFile();
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_NE(e.code(), 0);
        EXPECT_EQ(e.what(), "一時ファイルを作成できません: " + tmp.file("gone"));
    }
    EXPECT_EQ(p::PrintFileCount, 0) << "a failed creation uses no slot";
}

// ---- Chapter protocol --------------------------------------------------------------------------

const char* const kChapterFormat =
    "設計条件\r\n"
    "  1 1設計条件\r\n"
    "  2 2一般条件\r\n"
    "  3 0地表面高  ELGL = +#0.000 m\r\n"
    "  4 0形状      &      &\r\n"
    "End\r\n"
    "地盤条件\r\n"
    "  1 2地盤条件\r\n"
    "  2 3土質 : &    &  γ = ##0.0 kN/m3\r\n"
    "End\r\n";

void WriteDesignConditions(p::ChapterData& d) {
    {
        p::ChapterSection s(d, "設計条件", true);
        s.Line(1);
        s.Line(2);
        d.FieldValues[1] = 4.0;
        s.Template(3);
        d.FieldTexts[1] = "台形";
        s.Template(4);
    }
    {
        p::ChapterSection s(d, "地盤条件");
        p::NewPageIfShort(10, 1);
        s.Line(1);
        d.FieldTexts[1] = "砂質土";
        d.FieldValues[1] = 18;
        s.Template(2);
    }
}

TEST_F(PrintFiles, SameFormatValuesAndSettingsGiveIdenticalBytes) {
    WriteBytes(tmp.file("Kuvelt.FMT"), Sj(kChapterFormat));
    const std::string ini = tmp.file("Kuvelt.INI");
    WriteBytes(ini,
               "[Chapter]\r\nMethod=2\r\nStyle1=1\r\nStyle2=2\r\nStyle3=8\r\nMargin1=0\r\n"
               "Margin2=2\r\nMargin3=4\r\n");
    std::string runs[2];
    for (std::string& bytes : runs) {
        p::ResetPrintJob();
        p::LoadNumbering(ini);
        p::CurrentPrintFile = p::NewPrintFile();
        p::ChapterData d;
        ASSERT_TRUE(p::RunChapter([&] { WriteDesignConditions(d); }));
        EXPECT_FALSE(p::IsPrintFileOpen());
        bytes = ReadBytes(p::CurrentPrintFile);
        p::DeleteAllReportFiles();
    }
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(runs[0], kHeadingKeep + Sj("?R11. 設計条件\r\n") + kHeadingKeep +
                           Sj("  ?R21-(1) 一般条件\r\n"
                              "    地表面高  ELGL =  +4.000 m\r\n"
                              "    形状      台形    \r\n"
                              "\r\n") +
                           kHeadingKeep + Sj("  ?R21-(2) 地盤条件\r\n") + kHeadingKeep +
                           Sj("    ① 土質 : 砂質土  γ =  18.0 kN/m3\r\n"));
    EXPECT_EQ(p::LinesPerPage, 62);
}

TEST_F(PrintFiles, FailingSectionEndsTheChapterAndKeepsWhatWasWritten) {
    WriteBytes(tmp.file("Kuvelt.FMT"), Sj(kChapterFormat));
    p::CurrentPrintFile = p::NewPrintFile();
    p::ChapterData d;
    std::string error;
    bool reachedAfter = false;
    const bool ok = p::RunChapter(
        [&] {
            {
                p::ChapterSection s(d, "設計条件", true);
                s.Line(1);
            }
            p::ChapterSection s(d, "土圧_砂質土1");
            reachedAfter = true;
        },
        &error);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(reachedAfter);
    EXPECT_EQ(error, "書式ファイルに節がありません: 土圧_砂質土1 (62)");
    EXPECT_EQ(ReadBytes(p::CurrentPrintFile), kHeadingKeep + Sj("?R1設計条件\r\n"));
}

TEST_F(PrintFiles, FailingLineClosesTheFileOnTheWayOut) {
    WriteBytes(tmp.file("Kuvelt.FMT"), Sj(kChapterFormat));
    const std::string path = p::CurrentPrintFile = p::NewPrintFile();
    p::ChapterData d;
    std::string error;
    EXPECT_FALSE(p::RunChapter(
        [&] {
            p::ChapterSection s(d, "設計条件", true);
            s.Line(2);
            s.Line(51);
        },
        &error));
    EXPECT_EQ(error, "書式行番号が1～50の範囲外です: 51 (9)");
    EXPECT_FALSE(p::IsPrintFileOpen());
    EXPECT_EQ(ReadBytes(path), kHeadingKeep + Sj("?R2一般条件\r\n"));

    // The files are still deleted when the menu closes after the failure.
    p::DeleteAllReportFiles();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PrintFiles, ChapterArithmeticFaultsAndForeignExceptionsFailTheChapter) {
    std::string error;
    EXPECT_FALSE(p::RunChapter([] { p::Checked(1.0 / std::stod("0")); }, &error));
    EXPECT_EQ(error, "計算値が数値ではありません (6)");
    EXPECT_FALSE(p::RunChapter([] { throw std::out_of_range("index"); }, &error));
    EXPECT_EQ(error, "index");
    EXPECT_TRUE(p::RunChapter([] {}, &error));
}

TEST_F(PrintFiles, ChapterSectionWithoutCurrentFileFails) {
    WriteBytes(tmp.file("Kuvelt.FMT"), Sj(kChapterFormat));
    p::ChapterData d;
    std::string error;
    EXPECT_FALSE(p::RunChapter([&] { p::ChapterSection s(d, "設計条件"); }, &error));
    EXPECT_EQ(error, "印刷ファイルが指定されていません (52)");
}

}  // namespace
}  // namespace kuvelt::test
