// The cover page: every part on its row and centred on the page's 100 columns, the project's block
// with a line for each text given (in its order, one left edge, the longest line centred), the
// seal boxes always, one page, the title and "設計計算書" set large, and nothing of the numbered
// report (no heading number, no marker, the counters untouched) whatever levels the format file
// gives its lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chapters_test_util.h"
#include "formats/print_pages.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "report/chapters/chapters.h"
#include "report/numbering.h"
#include "report/prn.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

using namespace basResOutPrn;

// One printed row: where its text starts (in columns, from the line's start) and the text.
struct Row {
    std::size_t column = 0;
    std::size_t width = 0;  // columns of the text without its leading and trailing blanks
    std::string text;       // UTF-8, trimmed
    bool large = false;     // printed large ("?LG;" before it)
};

// The printed rows, as the page rule counts them (information lines are none).
std::vector<Row> Rows(const std::string& bytes) {
    std::vector<Row> rows;
    bool large = false;
    for (std::string line : cp932::SplitCrLf(bytes)) {
        const formats::PrintLineKind kind = formats::KindOfLine(line);
        if (kind == formats::PrintLineKind::Large) large = true;
        if (kind != formats::PrintLineKind::Counted) continue;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        const std::size_t lead = std::min(line.find_first_not_of(' '), line.size());
        rows.push_back({lead, line.size() - lead, cp932::ToUtf8(line.substr(lead)), large});
        large = false;
    }
    return rows;
}

std::size_t Centred(std::size_t width) { return (100 - width) / 2; }

class CoverTest : public test::PrintJobFixture {
  protected:
    void SetUp() override {
        PrintJobFixture::SetUp();
        LoadNumbering("/nonexistent/Kuvelt.INI");
        InitData();
        gInpJyoken.Title = "砂質土地盤の水路護岸（H=3.5m，水平載荷）";
    }
    // The cover of the current design, its rows from the first.
    std::vector<Row> Cover() {
        CurrentPrintFile = NewPrintFile();
        std::string error;
        EXPECT_TRUE(basResOutCover::Write(Results{}, &error)) << error;
        bytes = test::ReadBytes(CurrentPrintFile);
        return Rows(bytes);
    }
    std::string bytes;
};

struct BlockCase {
    const char* name;
    CInpHyoshi cover;
    std::vector<std::string> block;  // the block's rows, in order
};

TEST_F(CoverTest, PartsStandOnTheirRowsCentredAndTheBlockHoldsTheTextsGiven) {
    const std::vector<BlockCase> cases = {
        {"every_field_at_its_limit",
         {"令和6年度　第2号幹線水路（左岸）改修工事，No.3+20～No.5+40①", "○○県　△△農林振興事務所",
          "㈱髙橋ｺﾝｻﾙﾀﾝﾄ 設計部 山田", "鈴木　一郎", "令和6年10月1日", "第12版（Ⅲ案）再照査"},
         {"工 事 名　：　令和6年度　第2号幹線水路（左岸）改修工事，No.3+20～No.5+40①",
          "発 注 者　：　○○県　△△農林振興事務所", "設 計 者　：　㈱髙橋ｺﾝｻﾙﾀﾝﾄ 設計部 山田",
          "照 査 者　：　鈴木　一郎", "日　　付　：　令和6年10月1日",
          "版　　　　：　第12版（Ⅲ案）再照査"}},
        {"designer_and_issue_only",
         {"", "", "山田 太郎", "", "", "A"},
         {"設 計 者　：　山田 太郎", "版　　　　：　A"}},
        {"nothing_given", {}, {}},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        gInpHyoshi = c.cover;
        const std::vector<Row> rows = Cover();
        ASSERT_EQ(rows.size(), 52u) << "the last seal line on row 52 of the 62";
        EXPECT_EQ(bytes.find('\x0C'), std::string::npos);
        EXPECT_EQ(bytes.find("?R"), std::string::npos);

        auto row = [&](int r) -> const Row& { return rows[static_cast<std::size_t>(r - 1)]; };
        std::vector<int> expectedRows = {12, 15, 18, 21};
        EXPECT_EQ(row(15).text, gInpJyoken.Title);
        EXPECT_EQ(row(18).text, "設　計　計　算　書");
        std::string rule;
        for (int i = 0; i < 42; ++i) rule += "━";
        for (int r : {12, 21}) EXPECT_EQ(row(r).text, rule) << r;
        for (int r : {12, 15, 18, 21}) EXPECT_EQ(row(r).column, Centred(row(r).width)) << r;
        for (int r = 1; r <= static_cast<int>(rows.size()); ++r)
            EXPECT_EQ(row(r).large, r == 15 || r == 18) << "the title is set large, row " << r;

        std::size_t widest = 0;
        for (std::size_t i = 0; i < c.block.size(); ++i) {
            const int r = 28 + 2 * static_cast<int>(i);
            expectedRows.push_back(r);
            EXPECT_EQ(row(r).text, c.block[i]) << r;
            EXPECT_EQ(row(r).column, row(28).column) << "one left edge, row " << r;
            widest = std::max(widest, row(r).width);
        }
        if (!c.block.empty()) {
            EXPECT_EQ(row(28).column, Centred(widest));
        }

        for (int r = 45; r <= 52; ++r) {
            expectedRows.push_back(r);
            EXPECT_EQ(row(r).column, Centred(38)) << r;
            EXPECT_EQ(row(r).width, 38u) << r;
        }
        EXPECT_EQ(row(46).text, "│　　設 計 者　　│　　照 査 者　　│");
        EXPECT_EQ(row(45).text.rfind("┌", 0), 0u);
        EXPECT_EQ(row(52).text.rfind("└", 0), 0u);
        // Nothing else on the page.
        for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
            const bool expected =
                std::find(expectedRows.begin(), expectedRows.end(), r) != expectedRows.end();
            EXPECT_EQ(!row(r).text.empty(), expected) << "row " << r << ": " << row(r).text;
        }
    }
}

// A title that opens its line with "?" would reach the preview as a print mark (a figure to
// load, a bookmark): it is printed with a full-width "？".
TEST_F(CoverTest, TitleNeverReadsAsAPrintMark) {
    gInpJyoken.Title = "?FG;000;000;/etc/passwd";
    const std::vector<Row> rows = Cover();
    ASSERT_GE(rows.size(), 15u);
    EXPECT_EQ(rows[14].text, "？FG;000;000;/etc/passwd");
}

// A format file whose cover lines are headings: the cover still writes them as body text, so the
// numbering of the report goes on from the chapters as if the cover were not there.
TEST_F(CoverTest, HeadingLevelsInTheFormatFileNeitherNumberNorMarkTheCover) {
    std::vector<std::string> lines;
    for (const std::string& l :
         cp932::SplitCrLf(test::ReadBytes((test::ProgramDir() / "Kuvelt.FMT").string()))) {
        lines.push_back(cp932::ToUtf8(l));
    }
    const auto start = std::find(lines.begin(), lines.end(), "表紙");
    ASSERT_NE(start, lines.end());
    for (auto it = start + 1; it != lines.end() && *it != "End"; ++it) {
        if (it->size() > 5 && (*it)[0] != '\'') (*it)[4] = it - start < 5 ? '1' : '2';
    }
    std::string fmt;
    for (const std::string& l : lines) fmt += cp932::FromUtf8(l) + "\r\n";
    test::WriteBytes(tmp.file("Kuvelt.FMT"), fmt);
    SetReportDataFolder(tmp.path().string());

    NumberMethod = 2;
    LevelStyles = {0, 1, 1, 1, 1, 0};
    LevelMargins = {0, 0, 2, 4, 6, 0};
    LevelCounters = {0, 3, 2, 1, 0, 0};
    CurrentLevel = 3;
    gInpHyoshi.KojiMei = "工事";
    const std::vector<Row> rows = Cover();
    EXPECT_EQ(LevelCounters, (std::array<int32_t, 6>{0, 3, 2, 1, 0, 0}));
    EXPECT_EQ(CurrentLevel, 3);
    EXPECT_EQ(bytes.find("?R"), std::string::npos);
    ASSERT_GE(rows.size(), 28u);
    EXPECT_EQ(rows[14].text, gInpJyoken.Title) << "no heading number before it";
    EXPECT_EQ(rows[14].column, Centred(rows[14].width)) << "centred past the body indent of 6";
    EXPECT_EQ(rows[27].text, "工 事 名　：　工事");
}

}  // namespace
}  // namespace kuvelt
