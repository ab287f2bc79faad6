// The figure file reader: round trips through the writer, malformed files, random damage.
#include "report/figure_read.h"

#include <gtest/gtest.h>

#include <random>

#include "report/prnz.h"
#include "report_test_util.h"

namespace kuvelt::test {
namespace {

namespace z = basResOutPrnZ;

class FigureReader : public ReportTest {
  protected:
    void SetUp() override {
        ReportTest::SetUp();
        z::ClearAll();
        z::TextStyleCount = 2;
        z::TextStyles[2] = {400, "IPAGothic", 160, 0, 0, 0};
    }

    // A drawing with every record kind: a wall line, a ground symbol, arrows and labels.
    static void Draw() {
        z::AddPoint(0, 40);
        z::AddPoint(0, -35.25);
        z::AddSegment(1, 2, 3);
        z::AddGroundGlyphs(-35, 0, 3);
        z::AddArrow(1, 7, 1);
        z::AddArrow(2, 7, 1);
        z::AddText("+4.00", 2, 3, -20.5, 40);
        z::AddText("①", 2, 3, 3.125, -10);
        z::AddText("土圧 Pa", 2, 1, 50, 0.000001);
    }
};

TEST_F(FigureReader, SubFigureRoundTrip) {
    Draw();
    figread::SubFigure f;
    std::string error;
    ASSERT_TRUE(figread::ParseSubFigure(z::BuildFigureFile("土圧の計算", "標高"), f, &error))
        << error;
    EXPECT_EQ(f.caption1, "土圧の計算");
    EXPECT_EQ(f.caption2, "標高");
    ASSERT_EQ(f.points.size(), static_cast<std::size_t>(z::PointCount));
    for (int32_t k = 1; k <= z::PointCount; ++k) {
        EXPECT_EQ(f.points[k - 1].number, k);
        EXPECT_NEAR(f.points[k - 1].x, z::Points[k].X, 5e-7) << k;
        EXPECT_NEAR(f.points[k - 1].y, z::Points[k].Y, 5e-7) << k;
    }
    ASSERT_EQ(f.segments.size(), static_cast<std::size_t>(z::SegmentCount));
    EXPECT_EQ(f.segments[0].style, 3);
    EXPECT_EQ(f.segments.back().startPoint, z::Segments[z::SegmentCount].StartPoint);
    EXPECT_EQ(f.segments.back().endPoint, z::Segments[z::SegmentCount].EndPoint);
    ASSERT_EQ(f.arrows.size(), 2u);
    EXPECT_EQ(f.arrows[1].point, 2);
    EXPECT_EQ(f.arrows[1].code, 7);
    ASSERT_EQ(f.texts.size(), 3u);
    EXPECT_EQ(f.texts[1].text, "①");
    EXPECT_DOUBLE_EQ(f.texts[1].x, 3.125);
    EXPECT_EQ(f.texts[2].text, "土圧 Pa");
    EXPECT_EQ(f.texts[2].align, 1);
    EXPECT_EQ(f.texts[2].style, 2);
    EXPECT_DOUBLE_EQ(f.minX, -37);  // left end of the first ground symbol
    EXPECT_DOUBLE_EQ(f.maxX, 50);   // anchor of the upright label
}

TEST_F(FigureReader, CompositeRoundTrip) {
    z::AddSubFigure("/tmp/~MT土圧a", 45.5, -12.125);
    z::AddSubFigure("/tmp/~MTb", 0, 1e-5);
    figread::Composite c;
    ASSERT_TRUE(figread::ParseComposite(z::BuildCompositeFile("荷重分布図", 128, 80), c));
    EXPECT_EQ(c.caption, "荷重分布図");
    EXPECT_EQ(c.frameWidth, 128);
    EXPECT_EQ(c.frameHeight, 80);
    ASSERT_EQ(c.subFigures.size(), 2u);
    EXPECT_EQ(c.subFigures[0].path, "/tmp/~MT土圧a");
    EXPECT_EQ(c.subFigures[0].x, 45.5);
    EXPECT_EQ(c.subFigures[0].y, -12.125);
    EXPECT_EQ(c.subFigures[1].y, 1e-5);
}

TEST_F(FigureReader, LoneLineFeedsAndFilesFromDisk) {
    figread::SubFigure f;
    ASSERT_TRUE(
        figread::ParseSubFigure(Sj("a\nb\n1, 2, 3,     4, 5, 6\n座標情報\n1, 1.5, 2.5\nEND\n"), f));
    EXPECT_EQ(f.points.size(), 1u);
    EXPECT_EQ(f.maxY, 6);
    std::string error;
    EXPECT_FALSE(figread::ReadSubFigure(tmp.file("none"), f, &error));
    EXPECT_EQ(error, "ファイルを読めません (53): " + tmp.file("none"));
}

struct Malformed {
    const char* name;
    friend void PrintTo(const Malformed& c, std::ostream* os) { *os << c.name; }
    std::string bytes;  // UTF-8, converted before parsing
    std::string error;
};

const std::string kHead = "c1\r\nc2\r\n1, 2, 3, 4, 5, 6\r\n";

class MalformedSubFigures : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedSubFigures, AreRejectedWithTheLine) {
    figread::SubFigure f;
    f.caption1 = "unchanged";
    std::string error;
    EXPECT_FALSE(figread::ParseSubFigure(Sj(GetParam().bytes), f, &error));
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(f.caption1, "unchanged") << "a failed read leaves the result alone";
}

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedSubFigures,
    ::testing::Values(
        Malformed{"Empty", "", "1行目: ファイルが途中で終わっています: 見出し1"},
        Malformed{"NoExtents", "c1\r\nc2\r\n", "3行目: ファイルが途中で終わっています: 範囲"},
        Malformed{"FiveExtents", "c1\r\nc2\r\n1, 2, 3, 4, 5\r\n",
                  "3行目: 項目の数が6ではありません"},
        Malformed{"ExtentNotANumber", "c1\r\nc2\r\n1, 2, x, 4, 5, 6\r\n",
                  "3行目: 数値ではありません: x"},
        Malformed{"ExtentOverflow", "c1\r\nc2\r\n1, 2, 1e999, 4, 5, 6\r\n",
                  "3行目: 数値ではありません: 1e999"},
        Malformed{"NoPointBlock", kHead, "3行目: \"座標情報\"がありません"},
        Malformed{"PointsWithoutEnd", kHead + "座標情報\r\n1, 0, 0\r\n",
                  "6行目: ファイルが途中で終わっています: END"},
        Malformed{"PointWithTwoFields", kHead + "座標情報\r\n1, 0\r\nEND\r\n",
                  "5行目: 項目の数が3ではありません"},
        Malformed{"FractionalPointNumber", kHead + "座標情報\r\n1.5, 0, 0\r\nEND\r\n",
                  "5行目: 整数ではありません: 1.5"},
        Malformed{"HugeSegmentNumber",
                  kHead + "座標情報\r\nEND\r\n線分情報\r\n1, 1, 99999999999, 1\r\nEND\r\n",
                  "7行目: 整数ではありません: 99999999999"},
        Malformed{"UnknownBlock", kHead + "座標情報\r\nEND\r\n円弧情報\r\n",
                  "6行目: 未知のレコードです: 円弧情報"},
        Malformed{"TextWithoutPosition", kHead + "座標情報\r\nEND\r\n文字情報\r\nab\r\n",
                  "8行目: ファイルが途中で終わっています: 文字の位置"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MalformedComposites, AreRejected) {
    const struct {
        std::string bytes;
        std::string error;
    } cases[] = {
        {"", "1行目: ファイルが途中で終わっています: 見出し"},
        {"c\r\n 128 \r\nEND\r\n", "2行目: 数値が2つではありません"},
        {"c\r\n 128  80 \r\n/p\r\n", "4行目: ファイルが途中で終わっています: 配置"},
        {"c\r\n 128  80 \r\n/p\r\n 1  y \r\nEND\r\n", "4行目: 数値ではありません: y"},
        {"c\r\n 128  80 \r\n", "3行目: ファイルが途中で終わっています: END"},
    };
    for (const auto& c : cases) {
        figread::Composite out;
        std::string error;
        EXPECT_FALSE(figread::ParseComposite(c.bytes, out, &error)) << c.bytes;
        EXPECT_EQ(error, c.error) << c.bytes;
    }
    figread::Composite out;
    std::string error;
    EXPECT_FALSE(
        figread::ParseComposite(std::string(figread::kMaxFileBytes + 1, 'x'), out, &error));
    EXPECT_EQ(error, "ファイルが大きすぎます");
}

// Damaged copies of real files: every outcome is a clean true or false.
TEST_F(FigureReader, RandomDamageNeverBreaksTheReader) {
    Draw();
    const std::string figure = z::BuildFigureFile("土圧の計算", "土圧分布図");
    z::AddSubFigure("/tmp/~MTa", 1, 2);
    const std::string composite = z::BuildCompositeFile("荷重分布図", 128, 80);
    std::mt19937 rng(12345);
    const std::string alphabet = "0123456789,.-+eE \r\nEND#\x81\x40\xFF";
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = round % 2 ? figure : composite;
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = rng() % bytes.size();
            switch (rng() % 4) {
                case 0:
                    bytes[at] = alphabet[rng() % alphabet.size()];
                    break;
                case 1:
                    bytes.erase(at, 1 + rng() % 16);
                    break;
                case 2:
                    bytes.insert(at, 1, alphabet[rng() % alphabet.size()]);
                    break;
                default:
                    bytes.resize(at);
                    break;
            }
        }
        figread::SubFigure f;
        figread::Composite c;
        std::string error;
        accepted += figread::ParseSubFigure(bytes, f, &error);
        accepted += figread::ParseComposite(bytes, c, &error);
        figread::ParseSubFigureHeader(bytes, f, &error);
    }
    EXPECT_GT(accepted, 0) << "some harmless damage reads back";
}

}  // namespace
}  // namespace kuvelt::test
