// The figure file readers in both modes: files as the writer writes them read alike in both, a
// table of damaged files with the strict reason and the tolerant outcome side by side, the
// tolerant reader's dropping and defaults, and random damage.
#include "formats/figure_files.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "formats/style_files.h"
#include "platform/cp932.h"
#include "report/prnz.h"
#include "support/test_support.h"

namespace kuvelt::formats {
namespace {

namespace z = basResOutPrnZ;

// Code page 932 bytes of UTF-8 lines, each ending CR LF.
std::string Crlf(const std::vector<std::string>& utf8Lines) {
    std::string out;
    for (const std::string& l : utf8Lines) out += cp932::FromUtf8(l) + "\r\n";
    return out;
}
std::string Sj(std::string_view utf8) { return cp932::FromUtf8(utf8); }

std::optional<SubFigure> Tolerant(std::string_view bytes, std::string* why = nullptr) {
    SubFigure f;
    if (!ParseSubFigure(bytes, Mode::Tolerant, f, why)) return std::nullopt;
    return f;
}

class WrittenFigures : public ::testing::Test {
  protected:
    void SetUp() override {
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
    test::TempDir tmp;
};

TEST_F(WrittenFigures, SubFigureReadsAlikeInBothModes) {
    Draw();
    const std::string bytes = z::BuildFigureFile("土圧の計算", "標高");
    SubFigure f, t;
    std::string error;
    ASSERT_TRUE(ParseSubFigure(bytes, Mode::Strict, f, &error)) << error;
    ASSERT_TRUE(ParseSubFigure(bytes, Mode::Tolerant, t, &error)) << error;
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
    EXPECT_EQ(f.segments.back().from, z::Segments[z::SegmentCount].StartPoint - 1);
    ASSERT_EQ(f.arrows.size(), 2u);
    EXPECT_EQ(f.arrows[1].point, 2);
    EXPECT_EQ(f.arrows[1].at, 1);
    EXPECT_EQ(f.arrows[1].code, 7);
    ASSERT_EQ(f.texts.size(), 3u);
    EXPECT_EQ(f.texts[1].text, "①");
    EXPECT_DOUBLE_EQ(f.texts[1].x, 3.125);
    EXPECT_EQ(f.texts[2].text, "土圧 Pa");
    EXPECT_EQ(f.texts[2].align, 1);
    EXPECT_EQ(f.texts[2].style, 2);
    EXPECT_DOUBLE_EQ(f.minX, -37);  // left end of the first ground symbol
    EXPECT_DOUBLE_EQ(f.maxX, 50);   // anchor of the upright label

    // What the report writes, the preview sees record for record.
    EXPECT_EQ(t.caption1, f.caption1);
    EXPECT_EQ(t.caption2, f.caption2);
    const double ext[] = {f.width, f.height, f.minX, f.minY, f.maxX, f.maxY};
    const double text[] = {t.width, t.height, t.minX, t.minY, t.maxX, t.maxY};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(text[k], ext[k]) << k;
    ASSERT_EQ(t.points.size(), f.points.size());
    for (std::size_t k = 0; k < f.points.size(); ++k) {
        EXPECT_EQ(t.points[k].x, f.points[k].x);
        EXPECT_EQ(t.points[k].y, f.points[k].y);
        EXPECT_EQ(t.points[k].number, f.points[k].number);
    }
    ASSERT_EQ(t.segments.size(), f.segments.size());
    for (std::size_t k = 0; k < f.segments.size(); ++k) {
        EXPECT_EQ(t.segments[k].from, f.segments[k].from);
        EXPECT_EQ(t.segments[k].to, f.segments[k].to);
        EXPECT_EQ(t.segments[k].style, f.segments[k].style);
    }
    ASSERT_EQ(t.arrows.size(), f.arrows.size());
    for (std::size_t k = 0; k < f.arrows.size(); ++k) {
        EXPECT_EQ(t.arrows[k].at, f.arrows[k].at);
        EXPECT_EQ(t.arrows[k].code, f.arrows[k].code);
    }
    ASSERT_EQ(t.texts.size(), f.texts.size());
    for (std::size_t k = 0; k < f.texts.size(); ++k) {
        EXPECT_EQ(t.texts[k].text, f.texts[k].text);
        EXPECT_EQ(t.texts[k].x, f.texts[k].x);
        EXPECT_EQ(t.texts[k].y, f.texts[k].y);
        EXPECT_EQ(t.texts[k].style, f.texts[k].style);
        EXPECT_EQ(t.texts[k].align, f.texts[k].align);
    }
    EXPECT_EQ(t.droppedItems, 0);
    EXPECT_EQ(f.droppedItems, 0);

    SubFigure head;
    ASSERT_TRUE(ParseSubFigureHeader(bytes, Mode::Strict, head));
    EXPECT_EQ(head.maxX, f.maxX);
    EXPECT_TRUE(head.points.empty());
}

TEST_F(WrittenFigures, CompositeReadsAlikeInBothModes) {
    z::AddSubFigure("/tmp/~MT土圧a", 45.5, -12.125);
    z::AddSubFigure("/tmp/~MTb", 0, 1e-5);
    const std::string bytes = z::BuildCompositeFile("荷重分布図", 128, 80);
    for (const Mode mode : {Mode::Strict, Mode::Tolerant}) {
        Composite c;
        ASSERT_TRUE(ParseComposite(bytes, mode, c));
        EXPECT_EQ(c.caption, "荷重分布図");
        EXPECT_EQ(c.frameWidth, 128);
        EXPECT_EQ(c.frameHeight, 80);
        ASSERT_EQ(c.subFigures.size(), 2u);
        EXPECT_EQ(c.subFigures[0].path, "/tmp/~MT土圧a");
        EXPECT_EQ(c.subFigures[0].x, 45.5);
        EXPECT_EQ(c.subFigures[0].y, -12.125);
        EXPECT_EQ(c.subFigures[1].y, 1e-5);
    }
}

TEST_F(WrittenFigures, LoneLineFeedsAndFilesFromDisk) {
    SubFigure f;
    ASSERT_TRUE(ParseSubFigure(Sj("a\nb\n1, 2, 3,     4, 5, 6\n座標情報\n1, 1.5, 2.5\nEND\n"),
                               Mode::Strict, f));
    EXPECT_EQ(f.points.size(), 1u);
    EXPECT_EQ(f.maxY, 6);
    std::string error;
    EXPECT_FALSE(ReadSubFigure(tmp.file("none"), Mode::Strict, f, &error));
    EXPECT_EQ(error, "ファイルを読めません (53): " + tmp.file("none"));
    Draw();
    z::WriteFigureFile(tmp.file("fig"), "x", "y");
    ASSERT_TRUE(ReadSubFigure(tmp.file("fig"), Mode::Tolerant, f, &error)) << error;
    EXPECT_EQ(f.points.size(), static_cast<std::size_t>(z::PointCount));
}

// One damaged file, what the report says of it and what the preview makes of it.
struct Damaged {
    const char* name;
    friend void PrintTo(const Damaged& c, std::ostream* os) { *os << c.name; }
    std::string bytes;        // UTF-8, converted before parsing
    std::string strictError;  // "" = reads
    std::string tolerantWhy;  // "" = reads, with:
    std::size_t points = 0;
    int dropped = 0;
};

const std::string kHead = "c1\r\nc2\r\n1, 2, 3, 4, 5, 6\r\n";

class DamagedSubFigures : public ::testing::TestWithParam<Damaged> {};

TEST_P(DamagedSubFigures, StrictNamesTheLineTolerantReadsWhatItCan) {
    const Damaged& c = GetParam();
    SubFigure f;
    f.caption1 = "unchanged";
    std::string error;
    EXPECT_EQ(ParseSubFigure(Sj(c.bytes), Mode::Strict, f, &error), c.strictError.empty());
    if (!c.strictError.empty()) {
        EXPECT_EQ(error, c.strictError);
        EXPECT_EQ(f.caption1, "unchanged") << "a failed read leaves the result alone";
    }
    std::string why;
    const std::optional<SubFigure> t = Tolerant(Sj(c.bytes), &why);
    ASSERT_EQ(t.has_value(), c.tolerantWhy.empty()) << why;
    if (t) {
        EXPECT_EQ(t->points.size(), c.points);
        EXPECT_EQ(t->droppedItems, c.dropped);
    } else {
        EXPECT_EQ(why, c.tolerantWhy);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedSubFigures,
    ::testing::Values(
        Damaged{"Empty", "", "1行目: ファイルが途中で終わっています: 見出し1",
                "図のファイルが短すぎます"},
        Damaged{"NoExtents", "c1\r\nc2\r\n", "3行目: ファイルが途中で終わっています: 範囲",
                "図のファイルが短すぎます"},
        Damaged{"FiveExtents", "c1\r\nc2\r\n1, 2, 3, 4, 5\r\n", "3行目: 項目の数が6ではありません",
                "座標情報がありません"},
        Damaged{"ExtentNotANumber", "c1\r\nc2\r\n1, 2, x, 4, 5, 6\r\n",
                "3行目: 数値ではありません: x", "座標情報がありません"},
        Damaged{"ExtentOverflow", "c1\r\nc2\r\n1, 2, 1e999, 4, 5, 6\r\n",
                "3行目: 数値ではありません: 1e999", "座標情報がありません"},
        Damaged{"NoPointBlock", kHead, "3行目: \"座標情報\"がありません", "座標情報がありません"},
        Damaged{"OnlySegments", kHead + "線分情報\r\n1, 1, 2, 1\r\nEND\r\n",
                "6行目: \"座標情報\"がありません", "座標情報がありません"},
        Damaged{"PointsWithoutEnd", kHead + "座標情報\r\n1, 0, 0\r\n",
                "6行目: ファイルが途中で終わっています: END", "", 1, 0},
        Damaged{"EndBetweenBlanks", kHead + "座標情報\r\n1, 0, 0\r\n END \r\n",
                "6行目: 項目の数が3ではありません", "", 1, 0},
        Damaged{"PointWithTwoFields", kHead + "座標情報\r\n1, 0\r\nEND\r\n",
                "5行目: 項目の数が3ではありません", "", 0, 1},
        Damaged{"FractionalPointNumber", kHead + "座標情報\r\n1.5, 0, 0\r\nEND\r\n",
                "5行目: 整数ではありません: 1.5", "", 1, 0},
        Damaged{"HugeSegmentNumber",
                kHead + "座標情報\r\nEND\r\n線分情報\r\n1, 1, 99999999999, 1\r\nEND\r\n",
                "7行目: 整数ではありません: 99999999999", "", 0, 1},
        Damaged{"SegmentToAMissingPoint",
                kHead + "座標情報\r\n1, 0, 0\r\nEND\r\n線分情報\r\n1, 1, 2, 1\r\nEND\r\n", "", "",
                1, 1},
        Damaged{"UnknownBlock", kHead + "座標情報\r\nEND\r\n円弧情報\r\n1, 2\r\nEND\r\n",
                "6行目: 未知のレコードです: 円弧情報", "", 0, 0},
        Damaged{"TextWithoutPosition", kHead + "座標情報\r\nEND\r\n文字情報\r\nab\r\n",
                "8行目: ファイルが途中で終わっています: 文字の位置", "", 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct DamagedComposite {
    const char* name;
    friend void PrintTo(const DamagedComposite& c, std::ostream* os) { *os << c.name; }
    std::string bytes;
    std::string strictError;  // "" = reads
    std::string tolerantWhy;  // "" = reads
};

class DamagedComposites : public ::testing::TestWithParam<DamagedComposite> {};

TEST_P(DamagedComposites, StrictNamesTheLineTolerantNeedsAFrameAndAPart) {
    const DamagedComposite& c = GetParam();
    Composite out;
    std::string error;
    EXPECT_EQ(ParseComposite(c.bytes, Mode::Strict, out, &error), c.strictError.empty());
    if (!c.strictError.empty()) {
        EXPECT_EQ(error, c.strictError);
    }
    error.clear();
    EXPECT_EQ(ParseComposite(c.bytes, Mode::Tolerant, out, &error), c.tolerantWhy.empty());
    EXPECT_EQ(error, c.tolerantWhy);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedComposites,
    ::testing::Values(
        DamagedComposite{"Empty", "", "1行目: ファイルが途中で終わっています: 見出し",
                         "図のファイルが短すぎます"},
        DamagedComposite{"OneFrameNumber", "c\r\n 128 \r\nEND\r\n",
                         "2行目: 数値が2つではありません", "図の枠の大きさが読めません"},
        DamagedComposite{"BrokenFrame", Crlf({"c", " 12x8 ", "a", " 0 0 ", "END"}),
                         "2行目: 数値が2つではありません", "図の枠の大きさが読めません"},
        DamagedComposite{"ZeroFrame", Crlf({"c", " 0   80 ", "a", " 0 0 ", "END"}), "",
                         "図の枠の大きさが読めません"},
        DamagedComposite{"HugeFrame", Crlf({"c", " 1e9 80 ", "a", " 0 0 ", "END"}), "",
                         "図の枠の大きさが読めません"},
        DamagedComposite{"NoPlacement", "c\r\n 128  80 \r\n/p\r\n",
                         "4行目: ファイルが途中で終わっています: 配置", ""},
        DamagedComposite{"PlacementNotANumber", "c\r\n 128  80 \r\n/p\r\n 1  y \r\nEND\r\n",
                         "4行目: 数値ではありません: y", ""},
        DamagedComposite{"NoEnd", "c\r\n 128  80 \r\n",
                         "3行目: ファイルが途中で終わっています: END", "図の部品がありません"},
        DamagedComposite{"NoParts", Crlf({"c", " 128  80 ", "END"}), "", "図の部品がありません"},
        DamagedComposite{"TooLarge", std::string(kMaxFileBytes + 1, 'x'), "ファイルが大きすぎます",
                         "図のファイルが短すぎます"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Tolerant reading of hand-made files ------------------------------------------------------

const std::vector<std::string> kHeader = {"土圧の計算", "土圧分布図",
                                          "83.00, 82.82, 0.00,           -35.00, 83.00, 47.82"};

std::string SubFile(std::vector<std::string> body) {
    std::vector<std::string> l = kHeader;
    l.insert(l.end(), body.begin(), body.end());
    return Crlf(l);
}

TEST(TolerantSubFigures, ReadEveryBlockOfAHandWrittenFile) {
    std::string why;
    const auto f = Tolerant(
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
    EXPECT_EQ(f->arrows[0].at, 1);
    EXPECT_EQ(f->arrows[0].code, 7);
    ASSERT_EQ(f->texts.size(), 2u);
    EXPECT_EQ(f->texts[0].text, "20.50");
    EXPECT_EQ(f->texts[1].text, "①");
    EXPECT_EQ(f->texts[1].align, 1);
    EXPECT_EQ(f->droppedItems, 0);
}

TEST(TolerantSubFigures, BrokenNumbersDropOnlyTheirRecords) {
    const auto f = Tolerant(SubFile(
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

TEST(TolerantComposites, ReadFrameAndPlacementsInPrintForm) {
    std::string why;
    Composite c;
    ASSERT_TRUE(ParseComposite(Crlf({"荷重分布図", " 128          80 ", "/tmp/a.tmp",
                                     " 45           -2.5 ", "", "/tmp/b.tmp", " 45 ", "END"}),
                               Mode::Tolerant, c, &why))
        << why;
    EXPECT_EQ(c.caption, "荷重分布図");
    EXPECT_DOUBLE_EQ(c.frameWidth, 128);
    EXPECT_DOUBLE_EQ(c.frameHeight, 80);
    ASSERT_EQ(c.subFigures.size(), 2u) << "a stray blank line between entries is passed over";
    EXPECT_EQ(c.subFigures[0].path, "/tmp/a.tmp");
    EXPECT_DOUBLE_EQ(c.subFigures[0].y, -2.5);
    EXPECT_DOUBLE_EQ(c.subFigures[1].y, 0) << "a missing placement number reads as 0";
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

// Damaged copies of written files and soups of record words: every outcome in either mode (of
// the style readers too) is a clean true or false, a strict failure leaves the result alone, and a
// tolerant figure refers only to points it holds and keeps its coordinates within the clamp.
TEST_F(WrittenFigures, RandomDamageNeverBreaksEitherMode) {
    Draw();
    const std::string figure = z::BuildFigureFile("土圧の計算", "土圧分布図");
    z::AddSubFigure("/tmp/~MTa", 1, 2);
    const std::string composite = z::BuildCompositeFile("荷重分布図", 128, 80);
    const std::string words[] = {
        Sj("座標情報"),  Sj("線分情報"), Sj("矢印(1)"), Sj("文字情報"), "END", "1, 2, 3",
        "1e308, -1e308", "\r\n",         ",",           "\"",           "\x81"};
    std::mt19937 rng(12345);
    const std::string alphabet = "0123456789,.-+eE \r\nEND#\x81\x40\xFF";
    int accepted[2] = {0, 0};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        if (round % 3 == 2) {
            bytes = round % 2 ? "a\r\nb\r\n1, 2, 3, 4, 5, 6\r\n" : "";
            const int n = static_cast<int>(rng() % 200);
            for (int i = 0; i < n; ++i) {
                bytes += rng() % 4 ? words[rng() % std::size(words)]
                                   : std::string(1, static_cast<char>(rng() % 256));
            }
        } else {
            bytes = round % 3 ? figure : composite;
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
        }
        for (const Mode mode : {Mode::Strict, Mode::Tolerant}) {
            SubFigure f;
            f.caption1 = "unchanged";
            Composite c;
            std::string error;
            const bool read = ParseSubFigure(bytes, mode, f, &error);
            accepted[mode == Mode::Tolerant] += read;
            accepted[mode == Mode::Tolerant] += ParseComposite(bytes, mode, c, &error);
            SubFigure head;
            ParseSubFigureHeader(bytes, mode, head, &error);
            std::vector<LineStyle> lines;
            std::vector<TextStyle> texts;
            if (ParseLineStyles(bytes, mode, lines)) {
                ASSERT_LE(lines.size(), kMaxLineStyles);
            }
            if (ParseTextStyles(bytes, mode, texts)) {
                ASSERT_LE(texts.size(), kMaxTextStyles);
            }
            if (!read) {
                ASSERT_EQ(f.caption1, "unchanged");
                ASSERT_FALSE(error.empty());
                continue;
            }
            if (mode == Mode::Strict) continue;
            const auto n = static_cast<int32_t>(f.points.size());
            for (const Segment& s : f.segments) {
                ASSERT_TRUE(s.from >= 0 && s.from < n && s.to >= 0 && s.to < n);
            }
            for (const Arrow& a : f.arrows) ASSERT_TRUE(a.at >= 0 && a.at < n);
            for (const Point& p : f.points) {
                ASSERT_LE(std::abs(p.x), kMaxCoordinate);
                ASSERT_LE(std::abs(p.y), kMaxCoordinate);
            }
        }
    }
    EXPECT_GT(accepted[0], 0) << "some harmless damage reads back strictly";
    EXPECT_GT(accepted[1], accepted[0]) << "the tolerant reader reads more";
}

}  // namespace
}  // namespace kuvelt::formats
