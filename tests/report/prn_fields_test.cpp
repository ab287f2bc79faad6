// Template filling and the format-file reader, on the bytes they produce.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/vberror.h"
#include "report/prn.h"
#include "report_test_util.h"

namespace kuvelt::test {
namespace {

namespace p = basResOutPrn;

struct FillCase {
    const char* name;
    friend void PrintTo(const FillCase& c, std::ostream* os) { *os << c.name; }
    std::string tmpl;  // UTF-8
    std::vector<double> values;
    std::vector<std::string> texts;
    std::string expected;  // code page 932 bytes
};

class TemplateFilling : public ::testing::TestWithParam<FillCase> {};

TEST_P(TemplateFilling, Bytes) {
    const FillCase& c = GetParam();
    p::FieldValueSlots values{};
    p::FieldTextSlots texts{};
    for (std::size_t i = 0; i < c.values.size(); ++i) values[i + 1] = c.values[i];
    for (std::size_t i = 0; i < c.texts.size(); ++i) texts[i + 1] = c.texts[i];
    const std::string filled = p::FillTemplate(c.tmpl, values, texts);
    EXPECT_EQ(filled, c.expected);
    EXPECT_EQ(filled.size(), Sj(c.tmpl).size()) << "the line length never changes";
}

INSTANTIATE_TEST_SUITE_P(
    Numeric, TemplateFilling,
    ::testing::Values(FillCase{"PaddedOnTheLeft", "###0.00", {3.14159}, {}, "   3.14"},
                      FillCase{"LongerRenderingCut", "###0.00", {12345.678}, {}, "12345.6"},
                      FillCase{"PlusPositive", "+#0.00", {1.5}, {}, " +1.50"},
                      FillCase{"PlusNegative", "+#0.00", {-1.5}, {}, " -1.50"},
                      FillCase{"PlusZero", "+#0.00", {0.0}, {}, " +0.00"},
                      FillCase{"PlusNegativeZero", "+#0.00", {-0.0}, {}, " +0.00"},
                      FillCase{"BackslashLiteral", "\\###0", {42}, {}, "  \\42"},
                      FillCase{"HalfAwayFromZero", "#0.00", {0.125}, {}, " 0.13"},
                      FillCase{"DigitsWithoutHashAreText", "0.00 m", {0.125}, {}, "0.00 m"},
                      FillCase{"NoIntegerDigitPlace", "#.00", {0.5}, {}, " .50"},
                      FillCase{"GroupingCut", "#,##0", {1234567}, {}, "1,234"},
                      FillCase{"Grouping", "##,##0", {12345}, {}, "12,345"},
                      FillCase{"SurroundingTextKept", "a=###0.00 m", {1.234}, {}, "a=   1.23 m"},
                      FillCase{
                          "FieldsInPositionOrder", "##0.0/##0.0", {1.25, 2.5}, {}, "  1.3/  2.5"},
                      FillCase{"PlusWithoutHashIsText", "+ 1 ##", {7}, {}, "+ 1  7"},
                      FillCase{"SlotsBeyondFieldsUnused", "##0", {5, 6, 7}, {}, "  5"},
                      // The second byte of a full-width character can be a backslash (表 is 95 5C):
                      // it never begins a field, so the character stays whole.
                      FillCase{"FullWidthTrailBackslash", "表##0", {5}, {}, "\x95\x5C  5"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Text, TemplateFilling,
    ::testing::Values(
        FillCase{"RightAligned", "&>  &", {}, {"OK"}, "   OK"},
        FillCase{"LeftAligned", "&   &", {}, {"OK"}, "OK   "},
        FillCase{"EmptyTextBlanksField", "&   &", {}, {""}, "     "},
        FillCase{"EmptyTextBlanksRightField", "[&>  &]", {}, {""}, "[     ]"},
        FillCase{"TwoAmpersands", "&&", {}, {"A"}, "A "},
        FillCase{"FourAmpersandsTwoFields", "&&&&", {}, {"A", "B"}, "A B "},
        FillCase{"LongTextCut", "&  &", {}, {"ABCDEFG"}, "ABCD"},
        FillCase{"BangBeforeAmpersandIsLiteral", "!&  &", {}, {"X"}, "!X   "},
        FillCase{"BangAfterLastAmpersandIsField", "&  & !", {}, {"ab", "c"}, "ab   c"},
        // A field too narrow for a double-byte character keeps a blank, never half of it.
        FillCase{"BangFieldRightAligned", "[!]", {}, {"≦"}, "[ ]"},
        FillCase{"UnclosedAmpersandRunsToEnd", "ab&  ", {}, {"X"}, "abX  "},
        FillCase{"FullWidthLeftAligned", "&    &", {}, {"土圧"}, "\x93\x79\x88\xB3  "},
        // Padding counts characters, the copy counts bytes: the right-aligned field is cut
        // before 圧 (88 B3), whose first byte would be left alone, and ends in a blank.
        FillCase{
            "FullWidthRightAlignedCutBetweenCharacters", "&>  &", {}, {"土圧力"}, "  \x93\x79 "},
        FillCase{"NumericThenText", "&  & = ##0.00 kN", {12.345}, {"Pa"}, "Pa   =  12.35 kN"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TemplateFillingLimits, TwentyFieldsOfEachKindFitTwentyOneFail) {
    p::FieldValueSlots values{};
    p::FieldTextSlots texts{};
    std::string numeric20, text20;
    for (int i = 0; i < 20; ++i) {
        numeric20 += "# ";
        text20 += "&&";
    }
    EXPECT_NO_THROW(p::FillTemplate(numeric20, values, texts));
    EXPECT_NO_THROW(p::FillTemplate(text20, values, texts));
    for (const std::string& t : {numeric20 + "#", text20 + "&&"}) {
        try {
            p::FillTemplate(t, values, texts);
            ADD_FAILURE() << "no failure for " << t;
        } catch (const PrintFault& e) {
            EXPECT_EQ(e.code(), vberr::kSubscript);
        }
    }
}

TEST(TemplateFillingLimits, ValueThatIsNotANumberFailsTheLine) {
    p::FieldValueSlots values{};
    p::FieldTextSlots texts{};
    values[2] = std::nan("");
    EXPECT_NO_THROW(p::FillTemplate("##0", values, texts)) << "slot 2 is not used";
    try {
        p::FillTemplate("##0 ##0", values, texts);
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kOverflow);
        EXPECT_STREQ(e.what(), "数値欄の値が数値ではありません");
    }
}

// ---- Format sections -------------------------------------------------------------------------

const std::string kFormatFile =
    Sj("' report format\r\n"
       "設計条件2\r\n"
       "  1 0wrong section\r\n"
       "End\r\n"
       "設計条件\r\n"
       "  7 2ABC\r\n"
       "' 9 1a comment overwrites nothing\r\n"
       " 12 0first\r\n"
       "  3 1見出し&  &\r\n"
       "12  0second\r\n"
       " 50 3\r\n"
       "End\r\n"
       "地盤条件\r\n"
       "  1 0x\r\n"
       "End\r\n");

TEST(FormatSection, ReadsSlotsByLineNumber) {
    p::LineLevelSlots levels{};
    p::LineTextSlots texts{};
    levels[9] = 4;
    texts[9] = "kept";
    EXPECT_EQ(p::ParseFormatSection(kFormatFile, "設計条件", levels, texts), 5);
    EXPECT_EQ(levels[7], 2);
    EXPECT_EQ(texts[7], "ABC");
    EXPECT_EQ(levels[12], 0);
    EXPECT_EQ(texts[12], "second") << "a repeated number overwrites the earlier line";
    EXPECT_EQ(levels[3], 1);
    EXPECT_EQ(texts[3], "見出し&  &");
    EXPECT_EQ(levels[50], 3);
    EXPECT_EQ(texts[50], "") << "a line ending after the level digit has an empty text";
    EXPECT_EQ(levels[9], 4);
    EXPECT_EQ(texts[9], "kept");
    EXPECT_EQ(texts[1], "") << "line 1 of another section is not read";
}

TEST(FormatSection, PositionsCountCharactersNotBytes) {
    p::LineLevelSlots levels{};
    p::LineTextSlots texts{};
    // A full-width blank in column 4 is one character: the level is still column 5.
    EXPECT_EQ(p::ParseFormatSection(Sj("S\r\n  5　3土圧\r\nEnd\r\n"), "S", levels, texts), 1);
    EXPECT_EQ(levels[5], 3);
    EXPECT_EQ(texts[5], "土圧");
}

struct SectionFailure {
    const char* name;
    friend void PrintTo(const SectionFailure& c, std::ostream* os) { *os << c.name; }
    std::string body;  // UTF-8 lines of section "S"
    int32_t code;
    std::string text;
};

class FormatSectionFailures : public ::testing::TestWithParam<SectionFailure> {};

TEST_P(FormatSectionFailures, Fail) {
    const SectionFailure& c = GetParam();
    p::LineLevelSlots levels{};
    p::LineTextSlots texts{};
    try {
        p::ParseFormatSection(Sj(c.body), "S", levels, texts);
        FAIL() << "no failure";
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), c.code);
        EXPECT_EQ(e.what(), c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sections, FormatSectionFailures,
    ::testing::Values(
        SectionFailure{"SectionMissing", "T\r\n  1 0a\r\nEnd\r\n", vberr::kPastEndOfFile,
                       "書式ファイルに節がありません: S"},
        SectionFailure{"NameMustMatchWholeLine", "S \r\n  1 0a\r\nEnd\r\n", vberr::kPastEndOfFile,
                       "書式ファイルに節がありません: S"},
        SectionFailure{"EndMissing", "S\r\n  1 0a\r\n", vberr::kPastEndOfFile,
                       "書式ファイルの節に\"End\"がありません: S"},
        SectionFailure{"EndIsCaseSensitive", "S\r\n  1 0a\r\nEND\r\nEnd\r\n", vberr::kTypeMismatch,
                       "書式ファイルの行番号が数値ではありません (S 3行目)"},
        SectionFailure{"LineNumberZero", "S\r\n  0 0a\r\nEnd\r\n", vberr::kSubscript,
                       "書式ファイルの行番号が1～50の範囲外です (S 2行目)"},
        SectionFailure{"LineNumber51", "S\r\n 51 0a\r\nEnd\r\n", vberr::kSubscript,
                       "書式ファイルの行番号が1～50の範囲外です (S 2行目)"},
        SectionFailure{"BlankLineInsideSection", "S\r\n  1 0a\r\n\r\nEnd\r\n", vberr::kSubscript,
                       "書式ファイルの行番号が1～50の範囲外です (S 3行目)"},
        SectionFailure{"LevelSix", "S\r\n  1 6a\r\nEnd\r\n", vberr::kSubscript,
                       "書式ファイルのレベルが0～5の範囲外です (S 2行目)"},
        SectionFailure{"LevelNotADigit", "S\r\n  1 xa\r\nEnd\r\n", vberr::kTypeMismatch,
                       "書式ファイルのレベルが数値ではありません (S 2行目)"},
        SectionFailure{"LineNumberNotANumber", "S\r\n1a  0a\r\nEnd\r\n", vberr::kTypeMismatch,
                       "書式ファイルの行番号が数値ではありません (S 2行目)"},
        SectionFailure{"LineEndsNeedCrLf", "S\nEnd\n", vberr::kPastEndOfFile,
                       "書式ファイルに節がありません: S"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportTest, ReadFormatSectionFromMissingFileFails) {
    p::LineLevelSlots levels{};
    p::LineTextSlots texts{};
    try {
        p::ReadFormatSection(tmp.file("none.FMT"), "S", levels, texts);
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kFileNotFound);
        EXPECT_EQ(e.what(), "書式ファイルを読めません: " + tmp.file("none.FMT"));
    }
}

TEST_F(ReportTest, ReadFormatSectionFromFile) {
    WriteBytes(tmp.file("Kuvelt.FMT"), kFormatFile);
    p::LineLevelSlots levels{};
    p::LineTextSlots texts{};
    EXPECT_EQ(p::ReadFormatSection(p::ReportFormatFile(), "地盤条件", levels, texts), 1);
    EXPECT_EQ(texts[1], "x");
}

}  // namespace
}  // namespace kuvelt::test
