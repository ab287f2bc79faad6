// Figure buffer, style files and the bytes of sub-figure and composite files.
#include "report/prnz.h"

#include <gtest/gtest.h>

#include <cmath>

#include "formats/figure_files.h"
#include "platform/vberror.h"
#include "report_test_util.h"

namespace kuvelt::test {
namespace {

namespace z = basResOutPrnZ;

class Figures : public ReportTest {
  protected:
    void SetUp() override {
        ReportTest::SetUp();
        z::ClearAll();
        z::TextStyleCount = 2;
        z::TextStyles[1] = {400, "IPAGothic", 720, 0, 0, 0};  // 12.7 mm
        z::TextStyles[2] = {400, "IPAGothic", 240, 0, 0, 0};
    }
};

TEST_F(Figures, TextWidthCountsFullWidthAsOneEm) {
    EXPECT_NEAR(z::TextWidth(2, "土圧"), 8.4667, 5e-5);
    EXPECT_NEAR(z::TextWidth(2, "Pa"), 4.2333, 5e-5);
    EXPECT_NEAR(z::TextWidth(2, "土Pa"), 8.4667, 5e-5);
    EXPECT_NEAR(z::TextWidth(2, "ｱｲ"), 4.2333, 5e-5) << "half-width katakana is one byte";
    EXPECT_EQ(z::TextWidth(2, ""), 0.0);
    try {
        z::TextWidth(3, "x");
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kSubscript);
        EXPECT_STREQ(e.what(), "文字スタイルがありません: 3");
    }
}

TEST_F(Figures, PointsWithoutOtherRecordsGiveOnePointBlock) {
    z::AddPoint(12.5, -3);
    z::AddPoint(-5.5, 7);
    EXPECT_EQ(z::BuildFigureFile("土圧の計算", "標高"), Sj("土圧の計算\r\n"
                                                           "標高\r\n"
                                                           "18.00, 10.00, -5.50, " +
                                                           std::string(7, ' ') +
                                                           "-3.00, 12.50, 7.00\r\n"
                                                           "座標情報\r\n"
                                                           "1, 12.500000, -3.000000\r\n"
                                                           "2, -5.500000, 7.000000\r\n"
                                                           "END\r\n"));
}

TEST_F(Figures, EmptyBufferStillWritesThePointBlock) {
    EXPECT_EQ(z::BuildFigureFile("a", "b"), "a\r\nb\r\n0.00, 0.00, 0.00, " + std::string(10, ' ') +
                                                "0.00, 0.00, 0.00\r\n" + Sj("座標情報") +
                                                "\r\nEND\r\n");
}

TEST_F(Figures, EveryRecordKindInOrder) {
    z::AddPoint(0, 0);
    z::AddPoint(10, 5);
    z::AddSegment(1, 2, 3);
    z::AddArrow(2, 7, 1);
    z::AddText("ab", 1, 3, 10, 20);  // far corner (22.7, 32.7)
    EXPECT_EQ(z::BuildFigureFile("c1", "c2"),
              Sj("c1\r\nc2\r\n"
                 "22.70, 32.70, 0.00, " +
                 std::string(8, ' ') +
                 "0.00, 22.70, 32.70\r\n"
                 "座標情報\r\n1, 0.000000, 0.000000\r\n2, 10.000000, 5.000000\r\nEND\r\n"
                 "線分情報\r\n1, 1, 2, 3\r\nEND\r\n"
                 "矢印(1)\r\n1, 2, 7, 1\r\nEND\r\n"
                 "文字情報\r\nab\r\n10.000000, 20.000000, 1, 3\r\nEND\r\n"));
}

struct ExtentCase {
    const char* name;
    friend void PrintTo(const ExtentCase& c, std::ostream* os) { *os << c.name; }
    int32_t align;
    double minX, minY, maxX, maxY;
};

class TextExtents : public Figures, public ::testing::WithParamInterface<ExtentCase> {};

TEST_P(TextExtents, WidenByAnchorAndFarCorner) {
    const ExtentCase& c = GetParam();
    z::AddPoint(0, 0);
    z::AddText("ab", 1, c.align, 10, 20);  // width 12.7, size 12.7
    const std::string path = tmp.file("fig");
    z::WriteFigureFile(path, "x", "y");
    formats::SubFigure f;
    std::string error;
    ASSERT_TRUE(formats::ReadSubFigure(path, formats::Mode::Strict, f, &error)) << error;
    EXPECT_DOUBLE_EQ(f.minX, c.minX);
    EXPECT_DOUBLE_EQ(f.minY, c.minY);
    EXPECT_DOUBLE_EQ(f.maxX, c.maxX);
    EXPECT_DOUBLE_EQ(f.maxY, c.maxY);
    EXPECT_NEAR(f.width, c.maxX - c.minX, 1e-9);
    EXPECT_NEAR(f.height, c.maxY - c.minY, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Alignments, TextExtents,
                         ::testing::Values(ExtentCase{"RunningRight", 3, 0, 0, 22.7, 32.7},
                                           ExtentCase{"RunningUp", 1, -2.7, 0, 10, 32.7},
                                           ExtentCase{"OtherAlignmentAnchorOnly", 2, 0, 0, 10, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Figures, UnknownAlignmentReusesThePreviousCorner) {
    z::AddText("ab", 1, 3, 0, 0);  // far corner (12.7, 12.7)
    z::AddText("ab", 1, 0, -1, -1);
    formats::SubFigure f;
    ASSERT_TRUE(formats::ParseSubFigure(z::BuildFigureFile("x", "y"), formats::Mode::Strict, f));
    EXPECT_DOUBLE_EQ(f.minX, -1);
    EXPECT_DOUBLE_EQ(f.maxX, 12.7);
    EXPECT_DOUBLE_EQ(f.maxY, 12.7);
}

TEST_F(Figures, CoordinateThatIsNotANumberFailsTheFile) {
    z::AddPoint(std::nan(""), 0);
    try {
        z::BuildFigureFile("x", "y");
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kOverflow);
        EXPECT_STREQ(e.what(), "図形の座標が数値ではありません");
    }
}

TEST_F(Figures, GroundGlyphsAppendPointsAndRenumberedSegments) {
    z::AddPoint(100, 100);
    z::AddSegment(1, 1, 3);
    z::AddGroundGlyphs(-35, 10, 2);
    ASSERT_EQ(z::PointCount, 1 + 22);
    ASSERT_EQ(z::SegmentCount, 1 + 12);
    // Second copy starts at b = -31, points 13..23.
    const double expect[11][2] = {{-31, 10},    {-33, 7},     {-30, 10},    {-32, 7},
                                  {-29, 10},    {-29.5, 9.2}, {-30.1, 8.4}, {-31, 7},
                                  {-27.6, 9.1}, {-28.1, 8.3}, {-28.7, 7.4}};
    for (int i = 0; i < 11; ++i) {
        EXPECT_NEAR(z::Points[13 + i].X, expect[i][0], 1e-12) << "P" << i + 1;
        EXPECT_NEAR(z::Points[13 + i].Y, expect[i][1], 1e-12) << "P" << i + 1;
    }
    const int32_t pairs[6][2] = {{1, 2}, {3, 4}, {5, 8}, {5, 9}, {6, 10}, {7, 11}};
    for (int copy = 0; copy < 2; ++copy) {
        for (int s = 0; s < 6; ++s) {
            const z::ZSegment& seg = z::Segments[2 + copy * 6 + s];
            EXPECT_EQ(seg.StartPoint, 1 + copy * 11 + pairs[s][0]);
            EXPECT_EQ(seg.EndPoint, 1 + copy * 11 + pairs[s][1]);
            EXPECT_EQ(seg.Style, 1);
        }
    }
}

TEST_F(Figures, BufferCapacities) {
    struct Cap {
        const char* what;
        int32_t capacity;
        std::function<void()> add;
        const char* text;
    };
    const Cap caps[] = {
        {"points", z::kMaxPoints, [] { z::AddPoint(0, 0); }, "図形バッファが一杯です: 座標 (600)"},
        {"segments", z::kMaxSegments, [] { z::AddSegment(1, 1, 1); },
         "図形バッファが一杯です: 線分 (600)"},
        {"arrows", z::kMaxArrows, [] { z::AddArrow(1, 7, 1); },
         "図形バッファが一杯です: 矢印 (500)"},
        {"texts", z::kMaxTexts, [] { z::AddText("a", 2, 3, 0, 0); },
         "図形バッファが一杯です: 文字 (500)"},
        {"subfigures", z::kMaxSubFigures, [] { z::AddSubFigure("f"); },
         "図形バッファが一杯です: 子図 (10)"},
    };
    for (const Cap& c : caps) {
        z::ClearAll();
        for (int32_t i = 0; i < c.capacity; ++i) c.add();
        try {
            c.add();
            ADD_FAILURE() << c.what;
        } catch (const PrintFault& e) {
            EXPECT_EQ(e.code(), vberr::kSubscript) << c.what;
            EXPECT_STREQ(e.what(), c.text);
        }
    }
    z::ClearDrawing();
    EXPECT_EQ(z::SubFigureCount, 10) << "a new sub-figure keeps the placed ones";
}

// ---- Composite file and print zones -----------------------------------------------------------

TEST(PrintZones, PadToColumnsFifteenTwentyNine) {
    struct {
        std::string in;
        std::size_t out;
    } cases[] = {
        {"", 14}, {" 128 ", 14}, {"1234567890123", 14}, {"12345678901234", 28}, {"土圧", 14}};
    for (auto& c : cases) {
        std::string s = c.in;
        basResOutPrnZ::AdvanceToNextZone(s);
        EXPECT_EQ(cp932::ByteLength(s), c.out) << c.in;
    }
    EXPECT_EQ(basResOutPrnZ::PrintForm(128), " 128 ");
    EXPECT_EQ(basResOutPrnZ::PrintForm(-5.5), "-5.5 ");
    EXPECT_EQ(basResOutPrnZ::PrintForm(-0.0), " 0 ");
    EXPECT_EQ(basResOutPrnZ::PrintForm(0.1 + 0.2), " 0.3 ");
}

TEST_F(Figures, CompositeFileListsPlacedSubFigures) {
    z::AddSubFigure("/tmp/~MTa", 45, 12.25);
    z::AddSubFigure("/tmp/~MTb", -5.5, 0);
    EXPECT_EQ(z::BuildCompositeFile("荷重分布図", 128, 80), Sj("荷重分布図\r\n"
                                                               " 128 " +
                                                               std::string(9, ' ') +
                                                               " 80 \r\n"
                                                               "/tmp/~MTa\r\n"
                                                               " 45 " +
                                                               std::string(10, ' ') +
                                                               " 12.25 \r\n"
                                                               "/tmp/~MTb\r\n"
                                                               "-5.5 " +
                                                               std::string(9, ' ') +
                                                               " 0 \r\n"
                                                               "END\r\n"));
}

TEST_F(Figures, SubFigureExtentsReadBackForPlacement) {
    z::AddPoint(-45, 0);
    z::AddPoint(0, 40);
    const std::string a = basResOutPrn::NewFigureFile();
    z::AddSubFigure(a);
    z::WriteFigureFile(a, "土圧の計算", "標高");
    z::ClearDrawing();
    z::AddPoint(0, -3.5);
    z::AddPoint(83, 75);
    const std::string b = basResOutPrn::NewFigureFile();
    z::AddSubFigure(b);
    z::WriteFigureFile(b, "土圧の計算", "土圧分布図");
    z::ReadSubFigureExtents();
    EXPECT_DOUBLE_EQ(z::SubFigures[1].Width, 45);
    EXPECT_DOUBLE_EQ(z::SubFigures[1].MinX, -45);
    EXPECT_DOUBLE_EQ(z::SubFigures[2].Height, 78.5);
    EXPECT_DOUBLE_EQ(z::SubFigures[2].MinY, -3.5);
    EXPECT_DOUBLE_EQ(z::SubFigures[2].MaxX, 83);

    z::AddSubFigure(tmp.file("missing"));
    try {
        z::ReadSubFigureExtents();
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kFileNotFound);
    }
    WriteBytes(tmp.file("missing"), "caption only\r\n");
    try {
        z::ReadSubFigureExtents();
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kPathFileAccess);
        EXPECT_EQ(e.what(), "図形ファイルを読めません: " + tmp.file("missing") +
                                ": 2行目: ファイルが途中で終わっています: 見出し2");
    }
}

TEST_F(Figures, WriteIntoMissingFolderFails) {
    const std::string path = tmp.file("no/such/fig");
    try {
        z::WriteFigureFile(path, "a", "b");
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_NE(e.code(), 0);
        EXPECT_EQ(e.what(), "図形ファイルを作成できません: " + path);
    }
}

// ---- Style files -----------------------------------------------------------------------------

TEST_F(Figures, InstalledStyleFilesHoldTheStylesTheDiagramUses) {
    const std::string data = (SourceDir() / "data").string();
    for (const char* name : {"LINE_PRN.DEF", "STR_PRN.DEF"}) {
        const std::string bytes = ReadBytes(data + "/" + name);
        bool exact = false;
        cp932::ToUtf8(bytes, &exact);
        EXPECT_TRUE(exact) << name << " is code page 932";
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n') {
                EXPECT_EQ(bytes[i - 1], '\r') << name << " byte " << i;
            }
        }
    }
    basResOutPrn::SetReportDataFolder(data);
    z::LoadLineStyles(z::LineStyleFile());
    z::LoadTextStyles(z::TextStyleFile());
    ASSERT_GE(z::LineStyleCount, 4);
    EXPECT_EQ(z::LineStyles[1].Type, 0);
    EXPECT_EQ(z::LineStyles[1].Width, 18);
    EXPECT_EQ(z::LineStyles[3].Type, 0);
    EXPECT_EQ(z::LineStyles[3].Width, 50);
    EXPECT_EQ(z::LineStyles[4].Type, 1);
    EXPECT_EQ(z::TextStyleCount, 2);
    EXPECT_EQ(z::TextStyles[2].Font, "IPAGothic");
    EXPECT_EQ(z::TextStyles[2].Size, 160);
    EXPECT_EQ(z::TextStyles[2].Weight, 400);
}

TEST_F(Figures, StyleRecordsWithQuotesAndBlanks) {
    z::ParseTextStyles(
        Sj("heading, 1, 2, 3, 4, 5, 6, 7\r\n"
           " 1 , 700 , \"MS, Gothic\" , 200 , 16711680 , 1 , 0 , \"太字, 赤\"\r\n"
           "\r\n"
           "END\r\n"
           "3, 1, \"after END\", 1, 1, 1, 1, x\r\n"));
    ASSERT_EQ(z::TextStyleCount, 1);
    EXPECT_EQ(z::TextStyles[1].Weight, 700);
    EXPECT_EQ(z::TextStyles[1].Font, "MS, Gothic");
    EXPECT_EQ(z::TextStyles[1].Size, 200);
    EXPECT_EQ(z::TextStyles[1].Color, 0xFF0000);
    EXPECT_EQ(z::TextStyles[1].Italic, 1);
    z::ParseLineStyles("h\r\n1,0,18\r\nEND\r\n");
    EXPECT_EQ(z::LineStyleCount, 1) << "the trailing comment is optional";
}

struct StyleFailure {
    const char* name;
    friend void PrintTo(const StyleFailure& c, std::ostream* os) { *os << c.name; }
    bool lineStyles;
    std::string bytes;
    int32_t code;
    std::string text;
};

class StyleFileFailures : public Figures, public ::testing::WithParamInterface<StyleFailure> {};

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

TEST_P(StyleFileFailures, FailAndKeepTheTable) {
    const StyleFailure& c = GetParam();
    z::LineStyleCount = 1;
    z::LineStyles[1] = {0, 18};
    try {
        if (c.lineStyles) {
            z::ParseLineStyles(c.bytes);
        } else {
            z::ParseTextStyles(c.bytes);
        }
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), c.code);
        EXPECT_EQ(e.what(), c.text);
    }
    EXPECT_EQ(z::LineStyleCount, 1);
    EXPECT_EQ(z::TextStyleCount, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StyleFileFailures,
    ::testing::Values(
        StyleFailure{"TenLineStyles", true, "h\r\n" + Repeat("1, 0, 18, x\r\n", 10) + "END\r\n",
                     vberr::kSubscript, "LINE_PRN.DEF: 線種が9を超えています"},
        StyleFailure{"ThreeTextStyles", false,
                     "h\r\n" + Repeat("1, 400, \"f\", 160, 0, 0, 0, x\r\n", 3) + "END\r\n",
                     vberr::kSubscript, "STR_PRN.DEF: 文字スタイルが2を超えています"},
        StyleFailure{"EndMissing", true, "h\r\n1, 0, 18, x\r\n", vberr::kPastEndOfFile,
                     "LINE_PRN.DEF に\"END\"がありません"},
        StyleFailure{"HeadingOnly", false, "END\r\n", vberr::kPastEndOfFile,
                     "STR_PRN.DEF に\"END\"がありません"},
        StyleFailure{"NotANumber", true, "h\r\n1, solid, 18, x\r\nEND\r\n", vberr::kTypeMismatch,
                     "LINE_PRN.DEF の2行目: 数値ではありません: solid"},
        StyleFailure{"TooFewFields", false, "h\r\n1, 400, \"f\", 160\r\nEND\r\n",
                     vberr::kPastEndOfFile, "STR_PRN.DEF の2行目: 項目が足りません"},
        StyleFailure{"TooLarge", true, "h\r\n1, 0, 1e12, x\r\nEND\r\n", vberr::kOverflow,
                     "LINE_PRN.DEF の2行目: 値が大きすぎます: 1e12"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Figures, MissingStyleFileFails) {
    try {
        z::LoadLineStyles(tmp.file("LINE_PRN.DEF"));
        FAIL();
    } catch (const PrintFault& e) {
        EXPECT_EQ(e.code(), vberr::kFileNotFound);
        EXPECT_EQ(e.what(), "スタイルファイルを読めません: " + tmp.file("LINE_PRN.DEF"));
    }
}

}  // namespace
}  // namespace kuvelt::test
