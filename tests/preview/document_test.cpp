#include "preview/document/document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/cp932.h"
#include "sample_report.h"
#include "support/test_support.h"

namespace kuvelt::preview {
namespace {

using test::PrintBytes;

Document Parse(const std::string& bytes) { return ParsePrintFile(bytes, LoadContext{}); }

// Page i as "line|line|..." in UTF-8 (figure lines as "[FG path]").
std::string PageText(const Document& d, int i) {
    std::string s;
    bool first = true;
    for (const Line& l : d.pages[std::size_t(i)].lines) {
        if (!first) s += '|';
        first = false;
        s += l.kind == LineKind::Figure ? "[FG " + l.figurePath + "]" : LineText(l);
    }
    return s;
}

std::string Lines(int n, const char* text = "x") {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(text) + "\r\n";
    return s;
}

struct PagingCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> pages;  // expected PageText of every page
};

class Paging : public ::testing::TestWithParam<PagingCase> {};

TEST_P(Paging, CutsPagesAndLines) {
    const Document d = Parse(GetParam().bytes);
    ASSERT_EQ(d.PageCount(), int(GetParam().pages.size()));
    for (int i = 0; i < d.PageCount(); ++i)
        EXPECT_EQ(PageText(d, i), GetParam().pages[std::size_t(i)]) << i;
    for (const Page& p : d.pages) EXPECT_LE(p.lines.size(), std::size_t(kLinesPerPage));
}

std::string Join(int n, const char* text) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? "|" : "") + std::string(text);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    PrintFile, Paging,
    ::testing::Values(PagingCase{"EmptyFile", "", {""}},
                      PagingCase{"CrLfLines", "AB\r\n\r\nCD\r\n", {"AB||CD"}},
                      PagingCase{"BareLfReadsLikeCrLf", "AB\n\nCD\n", {"AB||CD"}},
                      PagingCase{"LastLineWithoutLineEnd", "AB\r\nCD", {"AB|CD"}},
                      PagingCase{"LoneCrStaysInLine", "A\rB\r\n", {"A\rB"}},
                      PagingCase{"BreakAtLineStart",
                                 "AB\r\n\x0C"
                                 "CD\r\n",
                                 {"AB", "CD"}},
                      PagingCase{"BreakMidLineSplitsIt",
                                 "AB\x0C"
                                 "CD\r\n",
                                 {"AB", "CD"}},
                      PagingCase{"BreakAtFileStartMakesNoEmptyPage",
                                 "\x0C"
                                 "AB\r\n",
                                 {"AB"}},
                      PagingCase{"TrailingBreakMakesNoEmptyPage", "AB\r\n\x0C", {"AB"}},
                      PagingCase{"DoubleBreakMakesNoEmptyPage",
                                 "AB\r\n\x0C\x0C"
                                 "CD\r\n",
                                 {"AB", "CD"}},
                      PagingCase{"SixtyThirdLineStartsPageTwo", Lines(63), {Join(62, "x"), "x"}},
                      PagingCase{"BreakAfterFullPageMakesNoEmptyPage",
                                 Lines(62) + "\x0C" + "y\r\n",
                                 {Join(62, "x"), "y"}},
                      PagingCase{
                          "BlankLinesCountAsLines", Lines(62, "") + "z\r\n", {Join(62, ""), "z"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintFileMarkers, HeadingsBecomeBookmarksWithoutTheirMarker) {
    const Document d = Parse(PrintBytes({"  ?R11. 設計条件", "    ?R21.1 一般条件", "      本文",
                                         "\x0C  ?R12. 外力の計算  ", "?R3 三", "AB?R1 X"}));
    ASSERT_EQ(d.PageCount(), 2);
    const std::vector<Line>& p1 = d.pages[0].lines;
    EXPECT_EQ(LineText(p1[0]), "  1. 設計条件");
    EXPECT_EQ(p1[0].level, 1);
    EXPECT_EQ(LineText(p1[1]), "    1.1 一般条件");
    EXPECT_EQ(p1[1].level, 2);
    EXPECT_EQ(p1[2].level, 0);
    const std::vector<Line>& p2 = d.pages[1].lines;
    EXPECT_EQ(LineText(p2[1]), "?R3 三") << "only levels 1 and 2 carry a marker";
    EXPECT_EQ(LineText(p2[2]), "AB?R1 X") << "a marker stands right after the margin blanks";
    ASSERT_EQ(d.bookmarks.size(), 3u);
    EXPECT_EQ(d.bookmarks[0].title, "1. 設計条件");
    EXPECT_EQ(d.bookmarks[1].level, 2);
    EXPECT_EQ(d.bookmarks[1].line, 1);
    EXPECT_EQ(d.bookmarks[2].title, "2. 外力の計算");
    EXPECT_EQ(d.bookmarks[2].page, 1);
}

// "?LG;" sets the next line large (a title); the mark itself is no line.
TEST(PrintFileMarkers, LargeMarkSetsTheNextLineLarge) {
    const Document d = Parse(PrintBytes({"a", "?LG;", "  題名  ", "b"}));
    ASSERT_EQ(d.pages[0].lines.size(), 3u);
    EXPECT_FALSE(d.pages[0].lines[0].large);
    EXPECT_TRUE(d.pages[0].lines[1].large);
    EXPECT_EQ(LineText(d.pages[0].lines[1]), "  題名  ");
    EXPECT_FALSE(d.pages[0].lines[2].large);
}

TEST(PrintFileMarkers, FigureLinesKeepColumnOffsetsAndPath) {
    const Document d = Parse(PrintBytes(
        {"    ?FG;000;000;/tmp/図/~MT0001.tmp  ", "?FG;012;003;rel.tmp", "  ?FG;broken"}));
    const std::vector<Line>& l = d.pages[0].lines;
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].kind, LineKind::Figure);
    EXPECT_EQ(l[0].figureColumn, 4);
    EXPECT_EQ(l[0].figurePath, "/tmp/図/~MT0001.tmp");
    EXPECT_DOUBLE_EQ(l[1].figureOffsetX, 12.0);
    EXPECT_DOUBLE_EQ(l[1].figureOffsetY, 3.0);
    EXPECT_EQ(l[2].figurePath, "broken");
    for (const Line& x : l) {
        ASSERT_NE(x.figure, nullptr);
        EXPECT_FALSE(x.figure->available) << "no file source: nothing can be read";
    }
}

TEST(PrintFileBounds, OverlongLineIsCutOnACharacterBoundary) {
    std::string line(kMaxLineBytes - 1, 'a');
    line += cp932::FromUtf8("土土");
    const Document d = Parse(line + "\r\n");
    const std::string& b = d.pages[0].lines[0].bytes;
    EXPECT_EQ(b.size(), kMaxLineBytes - 1)
        << "the double-byte character at the cut is dropped whole";
    EXPECT_TRUE(d.truncated);
}

// bench/preview times the same file.
TEST(PrintFileBounds, HundredThousandLinesParse) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes += "      本文の行 " + std::to_string(i) + "\r\n";
    bytes = cp932::FromUtf8(bytes);
    const Document d = Parse(bytes);
    EXPECT_EQ(d.PageCount(), (100000 + kLinesPerPage - 1) / kLinesPerPage);
    EXPECT_EQ(LineText(d.pages.back().lines.back()), "      本文の行 99999");
}

TEST(PrintFileBounds, FormFeedFloodStopsAtThePageBound) {
    std::string bytes;
    for (std::size_t i = 0; i < kMaxPages + 50; ++i) bytes += "x\x0C";
    const Document d = Parse(bytes);
    EXPECT_EQ(d.pages.size(), kMaxPages);
    EXPECT_TRUE(d.truncated);
}

TEST(PrintFileBounds, RandomBytesNeverBreakTheInvariants) {
    std::mt19937 rng(20261209);
    const char special[] = {'\r', '\n', '\x0C', '?', 'R',    '1',   '2',
                            'F',  'G',  ';',    ' ', '\x81', '\xFC'};
    for (int round = 0; round < 300; ++round) {
        std::string bytes(rng() % 5000, '\0');
        for (char& c : bytes) c = rng() % 3 ? special[rng() % sizeof special] : char(rng() % 256);
        const Document d = Parse(bytes);
        ASSERT_GE(d.PageCount(), 1);
        for (const Page& p : d.pages) ASSERT_LE(p.lines.size(), std::size_t(kLinesPerPage));
        for (const Bookmark& b : d.bookmarks) {
            ASSERT_LT(b.page, d.PageCount());
            ASSERT_LT(b.line, int(d.pages[std::size_t(b.page)].lines.size()));
            ASSERT_NE(d.pages[std::size_t(b.page)].lines[std::size_t(b.line)].level, 0);
        }
    }
}

TEST(PrintFileBounds, FigureFilesTogetherStayWithinTheirBudget) {
    // Every figure file is a valid 4 MiB composite; a source never hands out more than asked.
    const std::string big =
        "c" + std::string(4u << 20, 'x') + "\r\n 128 80 \r\npart\r\n 0 0 \r\nEND\r\n";
    std::size_t served = 0;
    LoadContext ctx;
    ctx.files = [&](const std::string& path, std::size_t maxBytes) -> std::optional<std::string> {
        if (path == "part") return std::nullopt;
        if (big.size() > maxBytes) return std::nullopt;
        served += big.size();
        return big;
    };
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i) lines.push_back("?FG;000;000;f" + std::to_string(i));
    const Document d = ParsePrintFile(PrintBytes(lines), ctx);
    EXPECT_LE(served, kMaxFigureBytesTotal);
    EXPECT_GE(served, kMaxFigureBytesTotal - big.size());
    EXPECT_EQ(d.pages[0].lines.back().figure->problem, "図のファイルを読めません: f39");
}

class LoadedFigures : public ::testing::Test {
  protected:
    kuvelt::test::TempDir dir;
    std::string Path(const char* n) { return dir.file(n); }
};

TEST_F(LoadedFigures, HundredMissingFiguresEachGetAMarker) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i)
        lines.push_back("    ?FG;000;000;" + dir.file("none" + std::to_string(i)));
    kuvelt::test::WriteBytes(Path("p.prn"), PrintBytes(lines));
    const LoadResult r = LoadDocument(Path("p.prn"), dir.path().string());
    ASSERT_TRUE(r.ok);
    int unavailable = 0;
    for (const Page& p : r.document.pages)
        for (const Line& l : p.lines) {
            ASSERT_NE(l.figure, nullptr);
            if (!l.figure->available) ++unavailable;
            EXPECT_EQ(l.figure->problem, "図のファイルを読めません: " + l.figurePath);
        }
    EXPECT_EQ(unavailable, 100);
}

TEST_F(LoadedFigures, EverythingIsInMemoryOnceLoaded) {
    const test::DiagramFiles f = test::WriteLoadDiagram(dir.path().string());
    test::WriteStyleFiles(dir.path().string());
    kuvelt::test::WriteBytes(Path("p.prn"), test::ReportBytes(f.composite, 2));
    const LoadResult r = LoadDocument(Path("p.prn"), dir.path().string());
    ASSERT_TRUE(r.ok);
    for (const char* n : {"p.prn", "~MT0001.tmp", "~MT0002.tmp", "~MT0003.tmp"})
        std::filesystem::remove(Path(n));
    const Document& d = r.document;
    ASSERT_EQ(d.PageCount(), 2);
    EXPECT_TRUE(d.styles.lineFileRead);
    EXPECT_TRUE(d.styles.textFileRead);
    EXPECT_EQ(d.styles.Line(4).type, 1);
    EXPECT_EQ(d.styles.Text(2).sizeTwips, 160);
    const Line& fig = d.pages[0].lines[7];
    ASSERT_EQ(fig.kind, LineKind::Figure);
    ASSERT_TRUE(fig.figure->available) << fig.figure->problem;
    EXPECT_EQ(fig.figure->caption, "荷重分布図");
    EXPECT_DOUBLE_EQ(fig.figure->width, 128);
    EXPECT_DOUBLE_EQ(fig.figure->height, 80);
    ASSERT_EQ(fig.figure->parts.size(), 2u);
    const SubFigure& scale = *fig.figure->parts[0].figure;
    EXPECT_EQ(scale.caption2, "標高");
    EXPECT_DOUBLE_EQ(scale.minX, -45);
    EXPECT_DOUBLE_EQ(fig.figure->parts[0].x, 45);
    const SubFigure& pressure = *fig.figure->parts[1].figure;
    EXPECT_EQ(pressure.arrows.size(), 3u);
    EXPECT_EQ(pressure.texts.back().text, "土圧 (kN/m2)");
    EXPECT_EQ(pressure.droppedItems, 0);
    ASSERT_EQ(d.bookmarks.size(), 3u);
    EXPECT_EQ(d.bookmarks[2].page, 1);
}

TEST_F(LoadedFigures, MissingPrintFileIsTheOnlyFailure) {
    const LoadResult r = LoadDocument(Path("gone.prn"), dir.path().string());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message.text, "印刷ファイルを読み込めません。\n" + Path("gone.prn"));
    EXPECT_EQ(r.message.title, "印刷プレビュー");
    EXPECT_EQ(r.message.icon, MsgIcon::Error);
    EXPECT_FALSE(LoadDocument(dir.path().string(), dir.path().string()).ok) << "a folder";
}

TEST_F(LoadedFigures, MissingStyleFilesFallBackToBuiltInStyles) {
    kuvelt::test::WriteBytes(Path("p.prn"), "A\r\n");
    const LoadResult r = LoadDocument(Path("p.prn"), Path("nowhere"));
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.document.styles.lineFileRead);
    EXPECT_EQ(r.document.styles.Line(3).width, 50);
    EXPECT_EQ(r.document.styles.Text(2).sizeTwips, 180);
}

TEST_F(LoadedFigures, MissingPartLeavesTheOtherPartAndANote) {
    const test::DiagramFiles f = test::WriteLoadDiagram(dir.path().string());
    std::filesystem::remove(f.levelScale);
    kuvelt::test::WriteBytes(Path("p.prn"), PrintBytes({"?FG;000;000;" + f.composite}));
    const LoadResult r = LoadDocument(Path("p.prn"), dir.path().string());
    const Figure& fig = *r.document.pages[0].lines[0].figure;
    EXPECT_TRUE(fig.available);
    EXPECT_FALSE(fig.parts[0].figure.has_value());
    EXPECT_TRUE(fig.parts[1].figure.has_value());
    EXPECT_EQ(fig.problem, "図のファイルを読めません: " + f.levelScale);
}

TEST_F(LoadedFigures, RelativeFigurePathsResolveBesideThePrintFile) {
    const test::DiagramFiles f = test::WriteLoadDiagram(dir.path().string());
    kuvelt::test::WriteBytes(Path("p.prn"), PrintBytes({"?FG;000;000;~MT0001.tmp"}));
    const LoadResult r = LoadDocument(Path("p.prn"), dir.path().string());
    EXPECT_TRUE(r.document.pages[0].lines[0].figure->available);
}

}  // namespace
}  // namespace kuvelt::preview
