#include "preview/document/figure.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/cp932.h"
#include "sample_report.h"

namespace kuvelt::preview {
namespace {

using test::PrintBytes;

const std::vector<std::string> kHeader = {"土圧の計算", "土圧分布図",
                                          "83.00, 82.82, 0.00,           -35.00, 83.00, 47.82"};

std::string SubFile(std::vector<std::string> body) {
    std::vector<std::string> l = kHeader;
    l.insert(l.end(), body.begin(), body.end());
    return PrintBytes(l);
}

TEST(SubFigureReader, ReadsEveryBlockOfAWrittenFile) {
    std::string why;
    const auto f = ParseSubFigure(
        SubFile({"座標情報", "1, 0.000000, 40.000000", "2, 20.500000, -3.000000", "END", "線分情報",
                 "1,     1,     2,     4", "END", "矢印(1)", "1,     2,     7,     1", "END",
                 "文字情報", "20.50", "19.500000, -3.000000,   2,   3", "①",
                 "5.000000, 6.000000,   2,   1", "END"}),
        &why);
    ASSERT_TRUE(f) << why;
    EXPECT_EQ(f->caption1, "土圧の計算");
    EXPECT_DOUBLE_EQ(f->width, 83);
    EXPECT_DOUBLE_EQ(f->height, 82.82);
    EXPECT_DOUBLE_EQ(f->minX, 0);
    EXPECT_DOUBLE_EQ(f->minY, -35);
    EXPECT_DOUBLE_EQ(f->maxY, 47.82);
    ASSERT_EQ(f->points.size(), 2u);
    EXPECT_DOUBLE_EQ(f->points[1].x, 20.5);
    EXPECT_DOUBLE_EQ(f->points[1].y, -3);
    ASSERT_EQ(f->segments.size(), 1u);
    EXPECT_EQ(f->segments[0].from, 0);
    EXPECT_EQ(f->segments[0].to, 1);
    EXPECT_EQ(f->segments[0].style, 4);
    ASSERT_EQ(f->arrows.size(), 1u);
    EXPECT_EQ(f->arrows[0].point, 1);
    EXPECT_EQ(f->arrows[0].code, 7);
    ASSERT_EQ(f->texts.size(), 2u);
    EXPECT_EQ(f->texts[0].text, "20.50");
    EXPECT_EQ(f->texts[1].text, "①");
    EXPECT_EQ(f->texts[1].align, 1);
    EXPECT_EQ(f->droppedItems, 0);
}

TEST(SubFigureReader, BrokenNumbersDropOnlyTheirRecords) {
    const auto f = ParseSubFigure(SubFile(
        {"座標情報", "1, 0.0, 0.0",  "2, abc, 1.0", "3, 1e999, 2", "4, 5.0, 5.0", "END",
         "線分情報", "1, 1, 4, 1",   "2, 1, 2, 1",  "3, x, 4, 1",  "4, 1, 99, 1", "END",
         "矢印(1)",  "1, 3, 7, 1",   "END",         "文字情報",    "ok",          "1.0, 2.0, 2, 3",
         "bad",      "?, 2.0, 2, 3", "nostyle",     "3.0, 4.0",    "END"}));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->points.size(), 2u) << "points 2 and 3 have unreadable coordinates";
    ASSERT_EQ(f->segments.size(), 1u) << "segments to dropped or unknown points are dropped";
    EXPECT_EQ(f->segments[0].to, 1);
    EXPECT_TRUE(f->arrows.empty());
    ASSERT_EQ(f->texts.size(), 2u);
    EXPECT_EQ(f->texts[1].text, "nostyle");
    EXPECT_EQ(f->texts[1].style, 1);
    EXPECT_EQ(f->texts[1].align, 3);
    EXPECT_EQ(f->droppedItems, 2 + 3 + 1 + 1);
}

struct RejectCase {
    const char* name;
    std::string bytes;
    const char* problem;
};

class SubFigureRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(SubFigureRejects, SaysWhy) {
    std::string why;
    EXPECT_FALSE(ParseSubFigure(GetParam().bytes, &why));
    EXPECT_EQ(why, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SubFigureRejects,
    ::testing::Values(RejectCase{"Empty", "", "図のファイルが短すぎます"},
                      RejectCase{"TwoLines", "a\r\nb\r\n", "図のファイルが短すぎます"},
                      RejectCase{"NoPointBlock", SubFile({"線分情報", "1, 1, 2, 1", "END"}),
                                 "座標情報がありません"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CompositeReader, ReadsFrameAndPlacementsInPrintForm) {
    std::string why;
    const auto c = ParseComposite(PrintBytes({"荷重分布図", " 128          80 ", "/tmp/a.tmp",
                                              " 45           -2.5 ", "/tmp/b.tmp", " 45 ", "END"}),
                                  &why);
    ASSERT_TRUE(c) << why;
    EXPECT_EQ(c->caption, "荷重分布図");
    EXPECT_DOUBLE_EQ(c->width, 128);
    EXPECT_DOUBLE_EQ(c->height, 80);
    ASSERT_EQ(c->parts.size(), 2u);
    EXPECT_EQ(c->parts[0].path, "/tmp/a.tmp");
    EXPECT_DOUBLE_EQ(c->parts[0].y, -2.5);
    EXPECT_DOUBLE_EQ(c->parts[1].y, 0) << "a missing placement number reads as 0";
}

class CompositeRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(CompositeRejects, SaysWhy) {
    std::string why;
    EXPECT_FALSE(ParseComposite(GetParam().bytes, &why));
    EXPECT_EQ(why, GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CompositeRejects,
    ::testing::Values(RejectCase{"Empty", "", "図のファイルが短すぎます"},
                      RejectCase{"BrokenFrame", PrintBytes({"c", " 12x8 ", "a", " 0 0 ", "END"}),
                                 "図の枠の大きさが読めません"},
                      RejectCase{"ZeroFrame", PrintBytes({"c", " 0   80 ", "a", " 0 0 ", "END"}),
                                 "図の枠の大きさが読めません"},
                      RejectCase{"HugeFrame", PrintBytes({"c", " 1e9 80 ", "a", " 0 0 ", "END"}),
                                 "図の枠の大きさが読めません"},
                      RejectCase{"NoParts", PrintBytes({"c", " 128  80 ", "END"}),
                                 "図の部品がありません"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StyleFiles, ReadUpToEndAndWithinTheirCapacity) {
    std::vector<std::string> lines = {"heading"};
    for (int i = 1; i <= 12; ++i)
        lines.push_back(std::to_string(i) + ", 1, " + std::to_string(i * 10) + ", x");
    const std::vector<LineStyle> many = ParseLineStyles(PrintBytes(lines));
    EXPECT_EQ(many.size(), 9u);
    EXPECT_EQ(many[8].width, 90);
    const std::vector<LineStyle> ended = ParseLineStyles(
        PrintBytes({"h", "1, 0, 13, a", "bad, x, y, z", "END, 0, 0,", "2, 0, 9, b"}));
    ASSERT_EQ(ended.size(), 1u) << "bad records are skipped, END stops";
    const std::vector<TextStyle> texts =
        ParseTextStyles(PrintBytes({"h", "1, 700, \"IPA, Gothic\", 240, 255, 1, 0, a",
                                    "2, 400, IPAGothic, 99999, 0, 0, 0, b"}));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].family, "IPA, Gothic") << "a quoted field keeps its comma";
    EXPECT_EQ(texts[0].weight, 700);
    EXPECT_EQ(texts[0].color, 255);
    EXPECT_EQ(texts[0].italic, 1);
    EXPECT_EQ(texts[1].sizeTwips, 180) << "an absurd size falls back to the default";
}

TEST(StyleTables, StylesOutsideTheTableUseDefaults) {
    StyleTables t;
    t.lines = {{2, 7}};
    t.texts = {{400, "X", 300, 0, 0, 0}};
    EXPECT_EQ(t.Line(1).width, 7);
    EXPECT_EQ(t.Line(3).width, DefaultStyles().Line(3).width);
    EXPECT_EQ(t.Line(0).type, 0);
    EXPECT_EQ(t.Text(2).sizeTwips, 300) << "the last text style stands in for a missing one";
}

struct NumberCase {
    const char* name;
    const char* text;
    bool ok;
    double value;
};

class Numbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(Numbers, ReadTolerantly) {
    double v = -1;
    EXPECT_EQ(ReadNumber(GetParam().text, v), GetParam().ok);
    EXPECT_DOUBLE_EQ(v, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Figure, Numbers,
                         ::testing::Values(NumberCase{"Plain", "12.5", true, 12.5},
                                           NumberCase{"Blanks", "  -3.000000 ", true, -3},
                                           NumberCase{"Plus", "+0.5", true, 0.5},
                                           NumberCase{"Exponent", "1E-05", true, 1e-5},
                                           NumberCase{"TrailingText", "45mm", true, 45},
                                           NumberCase{"Empty", "", false, 0},
                                           NumberCase{"Letters", "abc", false, 0},
                                           NumberCase{"Overflow", "1e999", false, 0},
                                           NumberCase{"NaN", "nan", false, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FigureReaders, RandomBytesNeverCrash) {
    std::mt19937 rng(7);
    const std::string words[] = {cp932::FromUtf8("座標情報"),
                                 cp932::FromUtf8("線分情報"),
                                 cp932::FromUtf8("矢印(1)"),
                                 cp932::FromUtf8("文字情報"),
                                 "END",
                                 "1, 2, 3",
                                 "1e308, -1e308",
                                 "\r\n",
                                 ",",
                                 "\"",
                                 "\x81"};
    for (int round = 0; round < 400; ++round) {
        std::string bytes = round % 2 ? "a\r\nb\r\n1, 2, 3, 4, 5, 6\r\n" : "";
        const int n = int(rng() % 200);
        for (int i = 0; i < n; ++i)
            bytes +=
                rng() % 4 ? words[rng() % std::size(words)] : std::string(1, char(rng() % 256));
        if (auto f = ParseSubFigure(bytes)) {
            for (const FigSegment& s : f->segments) {
                ASSERT_LT(std::size_t(s.from), f->points.size());
                ASSERT_LT(std::size_t(s.to), f->points.size());
            }
            for (const FigArrow& a : f->arrows) ASSERT_LT(std::size_t(a.point), f->points.size());
        }
        ParseComposite(bytes);
        ParseLineStyles(bytes);
        ParseTextStyles(bytes);
    }
}

}  // namespace
}  // namespace kuvelt::preview
