#include "report/numbering.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "report_test_util.h"

namespace kuvelt::test {
namespace {

namespace p = basResOutPrn;

struct HeadingCase {
    const char* name;
    friend void PrintTo(const HeadingCase& c, std::ostream* os) { *os << c.name; }
    int32_t method;
    std::array<int32_t, 4> styles;  // levels 1..4
    std::vector<int32_t> levels;    // headings in the order written
    std::vector<std::string> numbers;
};

class HeadingNumbers : public ReportTest, public ::testing::WithParamInterface<HeadingCase> {};

TEST_P(HeadingNumbers, RunFromClearedCounters) {
    const HeadingCase& c = GetParam();
    p::NumberMethod = c.method;
    for (int k = 0; k < 4; ++k) p::LevelStyles[k + 1] = c.styles[k];
    ASSERT_EQ(c.levels.size(), c.numbers.size());
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
        EXPECT_EQ(p::GetHeadingNumber(c.levels[i]), c.numbers[i]) << "heading " << i + 1;
        EXPECT_EQ(p::CurrentLevel, c.levels[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, HeadingNumbers,
    ::testing::Values(
        HeadingCase{"EachLevelAlone", 1, {1, 1, 2, 6}, {1, 2, 3, 4}, {"1 ", "1 ", "(1) ", "(i) "}},
        HeadingCase{"JoinedWithHyphen",
                    2,
                    {1, 1, 2, 6},
                    {1, 2, 3, 4, 1, 2},
                    {"1. ", "1-1 ", "(1) ", "(i) ", "2. ", "2-1 "}},
        HeadingCase{"JoinedWithPeriod",
                    3,
                    {1, 1, 2, 6},
                    {1, 2, 3, 4, 1, 2},
                    {"1. ", "1.1 ", "(1) ", "(i) ", "2. ", "2.1 "}},
        HeadingCase{"DeeperLevelsRestartUnderNewParent",
                    3,
                    {1, 1, 2, 6},
                    {1, 2, 3, 3, 4, 4, 2, 3, 4},
                    {"1. ", "1.1 ", "(1) ", "(2) ", "(i) ", "(ii) ", "1.2 ", "(1) ", "(i) "}},
        HeadingCase{"StyleZeroGivesOnlyTheSpace", 1, {0, 0, 0, 0}, {1, 2, 3}, {" ", " ", " "}},
        HeadingCase{"SectionUnderUnnumberedChapter", 2, {0, 1, 0, 0}, {1, 2}, {". ", "-1 "}},
        HeadingCase{"SectionBeforeAnyChapter", 3, {1, 1, 0, 0}, {2, 2}, {".1 ", ".2 "}},
        HeadingCase{"MiddleDotEveryTime",
                    1,
                    {9, 0, 0, 0},
                    {1, 1, 1},
                    {"\xEF\xBD\xA5 ", "\xEF\xBD\xA5 ", "\xEF\xBD\xA5 "}},
        HeadingCase{"LevelFiveHasNoStyle", 1, {1, 1, 1, 1}, {4, 5}, {"1 ", " "}}),
    [](const auto& info) { return std::string(info.param.name); });

struct StyleCase {
    const char* name;
    friend void PrintTo(const StyleCase& c, std::ostream* os) { *os << c.name; }
    int32_t style;
    int32_t counter;
    std::string text;
    int32_t counterAfter;
};

class StyleNumbers : public ::testing::TestWithParam<StyleCase> {};

TEST_P(StyleNumbers, TextAndCounterLimit) {
    const StyleCase& c = GetParam();
    int32_t counter = c.counter;
    EXPECT_EQ(p::GetStyleNumber(c.style, counter), c.text);
    EXPECT_EQ(counter, c.counterAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleNumbers,
    ::testing::Values(
        StyleCase{"Decimal99", 1, 99, "99", 99}, StyleCase{"Decimal100Wraps", 1, 100, "1", 1},
        StyleCase{"Parenthesised", 2, 7, "(7)", 7},
        StyleCase{"Parenthesised100Wraps", 2, 100, "(1)", 1},
        StyleCase{"ClosingParenthesis", 3, 12, "12)", 12}, StyleCase{"LetterZ", 4, 26, "(z)", 26},
        StyleCase{"Letter27Wraps", 4, 27, "(a)", 1}, StyleCase{"LetterClosing", 5, 2, "b)", 2},
        StyleCase{"RomanFour", 6, 4, "(iv)", 4}, StyleCase{"RomanTen", 6, 10, "(x)", 10},
        StyleCase{"Roman11Wraps", 6, 11, "(i)", 1}, StyleCase{"RomanClosing", 7, 8, "viii)", 8},
        StyleCase{"CircledOne", 8, 1, "\xE2\x91\xA0", 1},
        StyleCase{"CircledTwenty", 8, 20, "\xE2\x91\xB3", 20},
        StyleCase{"Circled21Wraps", 8, 21, "\xE2\x91\xA0", 1},
        StyleCase{"MiddleDotNoLimit", 9, 5000, "\xEF\xBD\xA5", 5000},
        StyleCase{"StyleZero", 0, 3, "", 3}, StyleCase{"UnknownStyle", 10, 3, "", 3},
        StyleCase{"CounterZero", 1, 0, "", 0}, StyleCase{"CounterNegative", 4, -2, "", -2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CircledNumerals, AreTheCodePageRow87From40To53) {
    for (int32_t n = 1; n <= 20; ++n) {
        const std::string b = cp932::FromUtf8(p::CircledNumeral(n));
        ASSERT_EQ(b.size(), 2u) << n;
        EXPECT_EQ(static_cast<unsigned char>(b[0]), 0x87) << n;
        EXPECT_EQ(static_cast<unsigned char>(b[1]), 0x40 + n - 1) << n;
    }
    EXPECT_EQ(p::CircledNumeral(0), "");
    EXPECT_EQ(p::CircledNumeral(21), "");
}

TEST_F(ReportTest, LetterCounterRunsOnAfterWrapping) {
    p::NumberMethod = 1;
    p::LevelStyles[3] = 4;
    std::string last;
    for (int i = 0; i < 28; ++i) last = p::GetHeadingNumber(3);
    EXPECT_EQ(last, "(b) ");
    EXPECT_EQ(p::LevelCounters[3], 2);
}

TEST_F(ReportTest, LoadNumberingReadsChapterSectionAndClearsCounters) {
    const std::string ini = tmp.file("Kuvelt.INI");
    WriteBytes(ini,
               "[MenuPrint]\r\nMethod=1\r\n[Chapter]\r\nMethod=3\r\nInit=5\r\nStyle1=2\r\n"
               "Style2=1\r\nStyle3=4\r\nStyle4=8\r\nMargin1=1\r\nMargin2=2\r\nMargin3=3\r\n"
               "Margin4=4\r\n");
    p::LevelCounters = {0, 7, 7, 7, 7, 7};
    p::CurrentLevel = 4;
    p::LoadNumbering(ini);
    EXPECT_EQ(p::NumberMethod, 3);
    EXPECT_EQ(p::LevelStyles, (std::array<int32_t, 6>{0, 2, 1, 4, 8, 0}));
    EXPECT_EQ(p::LevelMargins, (std::array<int32_t, 6>{0, 1, 2, 3, 4, 0}));
    EXPECT_EQ(p::CurrentLevel, 1);
    // "Init" does not move the first chapter number.
    EXPECT_EQ(p::GetHeadingNumber(1), "(1). ");
    EXPECT_EQ(p::GetHeadingNumber(2), "(1).1 ");
}

// Headings are numbered until the user stores a method; a stored one, "なし" included, wins.
TEST_F(ReportTest, LoadNumberingNumbersByDefaultUntilAMethodIsStored) {
    const struct {
        const char* ini;  // nullptr: no settings file
        int32_t method;
        std::array<int32_t, 6> styles;
    } cases[] = {
        {nullptr, 2, {0, 1, 1, 2, 3, 0}},
        {"[Chapter]\r\nMethod=\r\nStyle1=5\r\n", 2, {0, 1, 1, 2, 3, 0}},
        {"[Chapter]\r\nMethod=0\r\n", 0, {0, 0, 0, 0, 0, 0}},
        {"[Chapter]\r\nMethod=1\r\nStyle2=4\r\n", 1, {0, 0, 4, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const std::string ini = tmp.file("Kuvelt.INI");
        std::filesystem::remove(ini);
        if (c.ini) WriteBytes(ini, c.ini);
        p::LoadNumbering(ini);
        EXPECT_EQ(p::NumberMethod, c.method) << (c.ini ? c.ini : "none");
        EXPECT_EQ(p::LevelStyles, c.styles) << (c.ini ? c.ini : "none");
        EXPECT_EQ(p::LevelMargins, (std::array<int32_t, 6>{})) << (c.ini ? c.ini : "none");
    }
    p::LoadNumbering(tmp.file("missing.INI"));
    EXPECT_EQ(p::GetHeadingNumber(1), "1. ");
    EXPECT_EQ(p::GetHeadingNumber(2), "1-1 ");
    EXPECT_EQ(p::GetHeadingNumber(3), "(1) ");
    EXPECT_EQ(p::GetHeadingNumber(4), "1) ");
}

}  // namespace
}  // namespace kuvelt::test
