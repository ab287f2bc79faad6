// The style file readers in both modes: the installed files read alike, and the tolerant
// reader's skipping, defaults and capacities beside the strict refusals.
#include "formats/style_files.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "platform/vberror.h"
#include "support/test_support.h"

namespace kuvelt::formats {
namespace {

std::string Crlf(const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const std::string& l : utf8Lines) out += cp932::FromUtf8(l) + "\r\n";
    return out;
}

TEST(StyleFiles, InstalledFilesReadAlikeInBothModes) {
    const std::string data = (test::SourceDir() / "data").string();
    std::vector<LineStyle> strictLines, tolerantLines;
    std::vector<TextStyle> strictTexts, tolerantTexts;
    StyleError error;
    ASSERT_TRUE(ReadLineStyles(data + "/LINE_PRN.DEF", Mode::Strict, strictLines, &error))
        << error.text;
    ASSERT_TRUE(ReadLineStyles(data + "/LINE_PRN.DEF", Mode::Tolerant, tolerantLines));
    ASSERT_TRUE(ReadTextStyles(data + "/STR_PRN.DEF", Mode::Strict, strictTexts, &error))
        << error.text;
    ASSERT_TRUE(ReadTextStyles(data + "/STR_PRN.DEF", Mode::Tolerant, tolerantTexts));
    ASSERT_GE(strictLines.size(), 4u);
    ASSERT_EQ(tolerantLines.size(), strictLines.size());
    for (std::size_t k = 0; k < strictLines.size(); ++k) {
        EXPECT_EQ(tolerantLines[k].type, strictLines[k].type) << k;
        EXPECT_EQ(tolerantLines[k].width, strictLines[k].width) << k;
    }
    ASSERT_EQ(strictTexts.size(), 2u);
    ASSERT_EQ(tolerantTexts.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(tolerantTexts[k].family, strictTexts[k].family) << k;
        EXPECT_EQ(tolerantTexts[k].sizeTwips, strictTexts[k].sizeTwips) << k;
        EXPECT_EQ(tolerantTexts[k].weight, strictTexts[k].weight) << k;
        EXPECT_EQ(tolerantTexts[k].color, strictTexts[k].color) << k;
    }
    EXPECT_FALSE(ReadLineStyles(data + "/NONE.DEF", Mode::Tolerant, tolerantLines, &error));
    EXPECT_EQ(error.code, vberr::kFileNotFound);
    EXPECT_EQ(error.text, "スタイルファイルを読めません: " + data + "/NONE.DEF");
}

TEST(StyleFiles, TolerantReadsUpToEndAndWithinTheCapacity) {
    std::vector<std::string> lines = {"heading"};
    for (int i = 1; i <= 12; ++i) {
        lines.push_back(std::to_string(i) + ", 1, " + std::to_string(i * 10) + ", x");
    }
    std::vector<LineStyle> many;
    StyleError error;
    ASSERT_TRUE(ParseLineStyles(Crlf(lines), Mode::Tolerant, many));
    EXPECT_EQ(many.size(), 9u);
    EXPECT_EQ(many[8].width, 90);
    EXPECT_FALSE(ParseLineStyles(Crlf(lines), Mode::Strict, many, &error));
    EXPECT_EQ(error.code, vberr::kSubscript);
    EXPECT_EQ(many.size(), 9u) << "a refused file leaves the table alone";

    std::vector<LineStyle> ended;
    const std::string endedBytes =
        Crlf({"h", "1, 0, 13, a", "bad, x, y, z", "END, 0, 0,", "2, 0, 9, b"});
    ASSERT_TRUE(ParseLineStyles(endedBytes, Mode::Tolerant, ended));
    ASSERT_EQ(ended.size(), 1u) << "bad records are skipped, END stops";
    EXPECT_FALSE(ParseLineStyles(endedBytes, Mode::Strict, ended, &error));
    EXPECT_EQ(error.code, vberr::kTypeMismatch);
    EXPECT_EQ(error.text, "LINE_PRN.DEF の3行目: 数値ではありません: x");

    std::vector<TextStyle> texts;
    const std::string textBytes = Crlf({"h", "1, 700, \"IPA, Gothic\", 240, 255, 1, 0, a",
                                        "2, 400, IPAGothic, 99999, 0, 0, 0, b"});
    ASSERT_TRUE(ParseTextStyles(textBytes, Mode::Tolerant, texts));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].family, "IPA, Gothic") << "a quoted field keeps its comma";
    EXPECT_EQ(texts[0].weight, 700);
    EXPECT_EQ(texts[0].color, 255);
    EXPECT_EQ(texts[0].italic, 1);
    EXPECT_EQ(texts[1].sizeTwips, 180) << "an absurd size falls back to the default";
    EXPECT_FALSE(ParseTextStyles(textBytes, Mode::Strict, texts, &error));
    EXPECT_EQ(error.text, "STR_PRN.DEF に\"END\"がありません");

    ASSERT_TRUE(ParseTextStyles(Crlf({"h", "1, bold, F, 200", "END"}), Mode::Tolerant, texts));
    ASSERT_EQ(texts.size(), 1u) << "four fields are enough";
    EXPECT_EQ(texts[0].weight, 400) << "a broken weight reads as normal";
    EXPECT_EQ(texts[0].sizeTwips, 200);
}

}  // namespace
}  // namespace kuvelt::formats
