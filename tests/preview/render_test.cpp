#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "formats/pdf_file.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "preview/document/document.h"
#include "preview/render/page_painter.h"
#include "preview/render/pdf_export.h"
#include "preview/render/pdf_outline.h"
#include "sample_report.h"
#include "support/test_support.h"

namespace kuvelt::preview {
namespace {

constexpr double kDpi = 100.0;

class Render : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "preview_render_test";
        static char* argv[] = {name, nullptr};
        // Headless unless the run names a platform (the CTest environment may lose it).
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        if (QGuiApplication::instance() == nullptr) app_ = new QGuiApplication(argc, argv);
    }
    static QGuiApplication* app_;

    static Document FromLines(const std::vector<std::string>& lines, LoadContext ctx = {}) {
        return ParsePrintFile(test::PrintBytes(lines), ctx);
    }
    // Dark pixels inside a rectangle given in mm.
    static int Ink(const QImage& img, QRectF mm) {
        const double s = kDpi / 25.4;
        const QRect r = QRectF(mm.x() * s, mm.y() * s, mm.width() * s, mm.height() * s)
                            .toAlignedRect()
                            .intersected(img.rect());
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (qGray(img.pixel(x, y)) < 128) ++n;
        return n;
    }
    // Leftmost dark column (mm) inside a band of the page, -1 when none.
    static double FirstInkX(const QImage& img, QRectF mm) {
        const double s = kDpi / 25.4;
        const QRect r = QRectF(mm.x() * s, mm.y() * s, mm.width() * s, mm.height() * s)
                            .toAlignedRect()
                            .intersected(img.rect());
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (qGray(img.pixel(x, y)) < 128) return x / s;
        return -1;
    }
    static QRectF LineBand(const PageGeometry& g, int line) {
        return QRectF(0, g.LineTop(line), kPaperWidthMm, g.linePitch);
    }
};
QGuiApplication* Render::app_ = nullptr;

TEST_F(Render, TextStandsOnTheColumnGrid) {
    // A full-width character takes exactly two columns: the bar after two of them lines up
    // with the bar after four half-width characters, and after four half-width katakana.
    const Document d = FromLines({"AAAA|", "土圧|", "ｱｲｳｴ|"});
    const QImage img = renderPageImage(d, 0, kDpi);
    const PageGeometry g = GeometryFor({});
    const QRectF barCell(g.ColumnX(4), 0, g.columnPitch, 0);
    for (int line = 0; line < 3; ++line) {
        const QRectF band = LineBand(g, line);
        EXPECT_GT(Ink(img, QRectF(barCell.x(), band.y(), barCell.width(), band.height())), 3)
            << "line " << line;
    }
    EXPECT_NEAR(FirstInkX(img, LineBand(g, 0)), g.left, 0.6);
    EXPECT_EQ(Ink(img, QRectF(g.ColumnX(6), 0, 100, 60)), 0) << "nothing right of the bars";
}

TEST_F(Render, HeadingsAreEmphasisedWithoutLeavingTheGrid) {
    const Document d = FromLines({"  ?R1設計条件", "  設計条件", "  ?R2設計条件"});
    const QImage img = renderPageImage(d, 0, kDpi);
    const PageGeometry g = GeometryFor({});
    const int heading1 = Ink(img, LineBand(g, 0));
    const int body = Ink(img, LineBand(g, 1));
    const int heading2 = Ink(img, LineBand(g, 2));
    EXPECT_GT(heading1, body * 1.15);
    EXPECT_GT(heading2, body * 1.05);
    for (int line = 0; line < 3; ++line)
        EXPECT_NEAR(FirstInkX(img, LineBand(g, line)), g.ColumnX(2), 0.7) << line;
}

// Units and exponents: "^" with its run of digits and signs is drawn raised and smaller, without
// the "^" and within the columns the text takes, so the bar after a blank stands where it does
// after plain text; the text right after the run closes up by the caret's column; a "^" without
// such a run is printed.
TEST_F(Render, RaisedRunsStandAboveTheBaselineAndKeepTheColumns) {
    const Document d =
        FromLines({"kN/m^2 |", "×10^8 |", "tan^-1 |", "a^b    |", "kN/m2  |", "m^2)X"});
    const QImage img = renderPageImage(d, 0, kDpi);
    const PageGeometry g = GeometryFor({});
    const double em = g.fontEm, col = g.columnPitch;
    auto band = [&](int line, double x0, double x1, double fromEm, double toEm) {
        const double base = g.Baseline(line);
        return QRectF(x0, base - toEm * em, x1 - x0, (toEm - fromEm) * em);
    };
    const struct { int line, caret, length; } raised[] = {{0, 4, 1}, {1, 4, 1}, {2, 3, 2}};
    for (const auto& r : raised) {
        const double x0 = g.ColumnX(r.caret), x1 = g.ColumnX(r.caret + 1 + r.length);
        EXPECT_GT(Ink(img, band(r.line, x0, x1, 0.45, 1.0)), 2) << r.line;
        EXPECT_EQ(Ink(img, band(r.line, x0, x1, -0.25, 0.28)), 0) << r.line << ": on the baseline";
    }
    // Where a caret would stand (the top of its cell): empty in tan^-1, inked in a^b.
    auto caretInk = [&](int line, int column) {
        return Ink(img, band(line, g.ColumnX(column) + 0.1 * col, g.ColumnX(column) + 0.6 * col,
                             0.68, 0.95));
    };
    EXPECT_EQ(caretInk(2, 3), 0);
    EXPECT_GT(caretInk(3, 1), 0);
    const double bar = FirstInkX(img, band(4, g.ColumnX(6), g.ColumnX(8), -0.2, 0.9));
    ASSERT_GT(bar, g.ColumnX(6));
    for (int line = 0; line < 4; ++line)
        EXPECT_NEAR(FirstInkX(img, band(line, g.ColumnX(6), g.ColumnX(8), -0.2, 0.9)), bar, 0.01)
            << line;
    // "m^2)X": ")" and "X" stand in the columns of "2" and ")", and nothing is left after them.
    EXPECT_GT(Ink(img, band(5, g.ColumnX(3), g.ColumnX(4), -0.2, 0.9)), 0);
    EXPECT_EQ(Ink(img, band(5, g.ColumnX(4) + 0.05 * col, g.ColumnX(6), -0.3, 1.0)), 0);
}

// A large line (the cover's title) is twice the body's size, centred on the text width, and grows
// into the blank row above it only.
TEST_F(Render, LargeLineIsTwiceTheSizeAndCentred) {
    const Document d = FromLines({"", "  設計計算書", "", "?LG;", "  設計計算書", ""});
    const QImage img = renderPageImage(d, 0, kDpi);
    const PageGeometry g = GeometryFor({});
    const int body = Ink(img, LineBand(g, 1));
    const int large = Ink(img, QRectF(0, g.LineTop(2), kPaperWidthMm, 2 * g.linePitch));
    EXPECT_GT(large, body * 3) << "twice the size: four times the ink";
    EXPECT_EQ(Ink(img, LineBand(g, 4)), 0) << "nothing below its own row";
    const double left = FirstInkX(img, QRectF(0, g.LineTop(2), kPaperWidthMm, 2 * g.linePitch));
    const double centre = (g.ColumnX(0) + g.ColumnX(kColumnsPerLine)) / 2.0;
    EXPECT_NEAR(centre - left, 5 * g.fontEm, 1.5) << "half of five characters two ems wide";
}

TEST_F(Render, MarginsFromTheSettingsMoveTheGrid) {
    const Document d = FromLines({"X"});
    const PageSetup setup{40.0, 50.0};
    const QImage img = renderPageImage(d, 0, kDpi, setup);
    const PageGeometry g = GeometryFor(setup);
    EXPECT_NEAR(FirstInkX(img, LineBand(g, 0)), 50.0, 0.6);
    EXPECT_GT(Ink(img, LineBand(g, 0)), 0);
    EXPECT_DOUBLE_EQ(g.columnPitch * kColumnsPerLine, kPaperWidthMm - 50.0 - kMarginRightMm);
    EXPECT_DOUBLE_EQ(g.LineTop(kLinesPerPage), kPaperHeightMm - kMarginBottomMm);
}

struct MarginCase {
    const char* name;
    const char* text;
    double expected;
};
class Margins : public ::testing::TestWithParam<MarginCase> {};
TEST_P(Margins, FromStoredText) {
    EXPECT_DOUBLE_EQ(MarginFromText(GetParam().text, 20.0), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Settings, Margins,
    ::testing::Values(MarginCase{"ZeroMeansDefault", "0", 20.0}, MarginCase{"Missing", "", 20.0},
                      MarginCase{"Plain", "30", 30.0}, MarginCase{"Decimal", "12.5", 12.5},
                      MarginCase{"Negative", "-5", 20.0}, MarginCase{"OffThePaper", "200", 20.0},
                      MarginCase{"Text", "abc", 20.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Render, BoxDrawingRulesJoinAcrossLines) {
    const Document d = FromLines({"┌─┐", "│ │", "└─┘"});
    const QImage img = renderPageImage(d, 0, kDpi);
    const PageGeometry g = GeometryFor({});
    // The left rule runs unbroken from the middle of line 0 to the middle of line 2.
    const double x = g.ColumnX(1);
    for (double y = g.LineTop(0) + g.linePitch * 0.6; y < g.LineTop(2) + g.linePitch * 0.4;
         y += 0.3)
        ASSERT_GT(Ink(img, QRectF(x - 0.3, y, 0.6, 0.3)), 0) << "gap at y = " << y;
}

class RenderedFigure : public Render {
  protected:
    kuvelt::test::TempDir dir;
    Document LoadSample(int pages = 1) {
        const test::DiagramFiles f = test::WriteLoadDiagram(dir.path().string());
        test::WriteStyleFiles(dir.path().string());
        kuvelt::test::WriteBytes(dir.file("r.prn"), test::ReportBytes(f.composite, pages));
        LoadResult r = LoadDocument(dir.file("r.prn"), dir.path().string());
        EXPECT_TRUE(r.ok);
        return r.document;
    }
};

TEST_F(RenderedFigure, DiagramIsDrawnInsideItsFrame) {
    const Document d = LoadSample();
    const QImage img = renderPageImage(d, 0, kDpi);
    const PageGeometry g = GeometryFor({});
    const Line& fig = d.pages[0].lines[7];
    const QRectF frame(g.ColumnX(fig.figureColumn), g.LineTop(7), 128, 80);
    const int inside = Ink(img, frame);
    EXPECT_GT(inside, 500);
    // The wall line of both sub-figures stands 45 mm right of the frame's left edge.
    EXPECT_GT(Ink(img, QRectF(frame.x() + 44.6, frame.y() + 20, 0.8, 30)), 40);
    // The reserved lines below the frame stay empty.
    EXPECT_EQ(
        Ink(img, QRectF(0, frame.bottom() + 1, kPaperWidthMm, g.LineTop(35) - frame.bottom() - 1)),
        0);
}

TEST_F(RenderedFigure, UnavailableFigureDrawsAFramedNote) {
    const Document d = FromLines({"?FG;000;000;/nonexistent/figure.tmp"});
    ASSERT_FALSE(d.pages[0].lines[0].figure->available);
    const QImage img = renderPageImage(d, 0, kDpi);
    const PageGeometry g = GeometryFor({});
    const QRectF frame(g.left, g.top, 128, 80);
    EXPECT_GT(Ink(img, QRectF(frame.x() - 0.3, frame.y() + 10, 0.6, 60)), 30) << "left edge";
    EXPECT_GT(Ink(img, QRectF(frame.x() + 2, frame.y() + 1, 100, 10)), 50) << "the note";
}

TEST_F(RenderedFigure, PageOutOfRangeIsABlankSheet) {
    const Document d = FromLines({"X"});
    const QImage img = renderPageImage(d, 5, kDpi);
    EXPECT_EQ(Ink(img, QRectF(0, 0, kPaperWidthMm, kPaperHeightMm)), 0);
}

// ---- PDF --------------------------------------------------------------------------------------

std::string RunTool(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> p(popen(command.c_str(), "r"), pclose);
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = fread(buf, 1, sizeof buf, p.get())) > 0) out.append(buf, n);
    return out;
}

TEST_F(RenderedFigure, PdfHasSelectableTextInReadingOrderAndTheOutline) {
    const Document d = LoadSample(3);
    const std::string pdf = dir.file("out.pdf");
    std::string error;
    ASSERT_TRUE(exportPdf(d, pdf, {}, &error)) << error;
    EXPECT_FALSE(std::filesystem::exists(pdf + ".part~"));
    const std::string info = RunTool("pdfinfo '" + pdf + "' 2>&1");
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    EXPECT_EQ(info.find("Error"), std::string::npos) << info;
    const std::string text = RunTool("pdftotext -layout '" + pdf + "' - 2>&1");
    const std::size_t a = text.find("4. 矢板の設計");
    const std::size_t b = text.find("仮想地盤面より上の荷重を１つの合力に置き換える。");
    const std::size_t c = text.find("ΣP = 132.75 kN");
    const std::size_t e = text.find("4.3 断面の照査 (その2)");
    ASSERT_NE(a, std::string::npos) << text;
    ASSERT_NE(b, std::string::npos) << text;
    ASSERT_NE(c, std::string::npos) << text;
    ASSERT_NE(e, std::string::npos) << text;
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_LT(c, e);
    EXPECT_NE(text.find("土圧 (kN/m2)"), std::string::npos) << "figure texts are real text";
    EXPECT_NE(text.find("- 2 / 3 -"), std::string::npos) << "page and pages in every footer";
    const std::string xml = RunTool("pdftohtml -xml -i -stdout -q '" + pdf + "' 2>&1");
    EXPECT_NE(xml.find("<outline>\n<item page=\"1\">4. 矢板の設計</item>\n<outline>\n"
                       "<item page=\"1\">4.1 最大曲げモーメントの算定</item>\n"
                       "<item page=\"2\">4.2 断面の照査 (その1)</item>\n"
                       "<item page=\"3\">4.3 断面の照査 (その2)</item>\n</outline>\n</outline>"),
              std::string::npos)
        << xml.substr(0, 2000);
    const std::string png =
        RunTool("pdftoppm -r 20 -f 3 -l 3 -png '" + pdf + "' '" + dir.file("p") + "' 2>&1");
    EXPECT_EQ(png, "") << "the updated file renders without complaint";
}

// A print file that names its design: the title heads every page and titles the PDF.
TEST_F(RenderedFigure, TitledPrintFileHeadsItsPagesAndNamesThePdf) {
    LoadContext ctx;
    Document d = ParsePrintFile("?TI;" + cp932::FromUtf8("水路護岸の設計") + "\r\n?R1" +
                                    cp932::FromUtf8("設計条件") + "\r\n\x0C" +
                                    cp932::FromUtf8("二頁目") + "\r\n",
                                ctx);
    EXPECT_EQ(d.title, "水路護岸の設計");
    ASSERT_EQ(d.PageCount(), 2);
    ASSERT_EQ(d.pages[0].lines.size(), 1u) << "the title line is not printed";
    const std::string pdf = dir.file("titled.pdf");
    std::string error;
    ASSERT_TRUE(exportPdf(d, pdf, {}, &error)) << error;
    const std::string info = RunTool("pdfinfo '" + pdf + "' 2>&1");
    EXPECT_NE(info.find("Title:           水路護岸の設計\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Subject:         設計計算書\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Creator:         Kuvelt\n"), std::string::npos)
        << "the writer's entries stay";
    const std::string text = RunTool("pdftotext -layout '" + pdf + "' - 2>&1");
    const std::size_t first = text.find("水路護岸の設計");
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find("水路護岸の設計", first + 1), std::string::npos)
        << "on the second page too";
    EXPECT_NE(text.find("- 1 / 2 -"), std::string::npos) << text;
}

// Regression: a heading's half-width katakana looked regular beside its bold kanji in a PDF
// viewer, which widened the thin outline stroke of the emphasis to a pixel on straight edges
// only. Every kind of character of a heading carries about as much more ink than in body text,
// on the screen image and in the PDF as a viewer renders it at reading size.
TEST_F(RenderedFigure, HalfWidthKanaOfAHeadingAreAsBoldAsItsKanji) {
    const Document d = FromLines({"?R2最大曲げﾓｰﾒﾝﾄ", "最大曲げﾓｰﾒﾝﾄ"});
    const std::string pdf = dir.file("bold.pdf");
    ASSERT_TRUE(exportPdf(d, pdf));
    RunTool("pdftoppm -r 150 -gray -singlefile -png '" + pdf + "' '" + dir.file("bold") + "'");
    const QImage viewer(QString::fromStdString(dir.file("bold.png")));
    ASSERT_FALSE(viewer.isNull());
    const PageGeometry g = GeometryFor({});
    const struct {
        const char* device;
        QImage image;
    } devices[] = {{"screen", renderPageImage(d, 0, 150)}, {"PDF viewer", viewer}};
    for (const auto& dev : devices) {
        // Solid ink (what reads as bold, unlike grey antialiasing) in the cells of columns
        // [from, to) of a line.
        auto ink = [&](int line, int from, int to) {
            const double s = dev.image.width() / kPaperWidthMm;
            const QRect r = QRectF(g.ColumnX(from) * s, g.LineTop(line) * s,
                                   (g.ColumnX(to) - g.ColumnX(from)) * s, g.linePitch * s)
                                .toAlignedRect();
            double sum = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    sum += qGray(dev.image.pixel(x, y)) < 48;
            return sum;
        };
        const double kanji = ink(0, 0, 6) / ink(1, 0, 6);   // 最大曲
        const double kana = ink(0, 8, 13) / ink(1, 8, 13);  // ﾓｰﾒﾝﾄ
        EXPECT_GT(kanji, 1.3) << dev.device;
        EXPECT_GT(kana, 1.3) << dev.device;
        EXPECT_GT(kana / kanji, 0.9) << dev.device << ": kanji " << kanji << ", kana " << kana;
    }
}

TEST_F(Render, ACoverPageGoesWithoutHeaderButKeepsItsNumber) {
    const Document d = FromLines({"?TI;水路護岸の設計", "?NF;", "表紙", "\x0C二頁目"});
    ASSERT_EQ(d.PageCount(), 2);
    const QRectF header(0, 0, kPaperWidthMm, 14), footer(0, kPaperHeightMm - 15, kPaperWidthMm, 15);
    const QImage cover = renderPageImage(d, 0, kDpi), next = renderPageImage(d, 1, kDpi);
    EXPECT_EQ(Ink(cover, header), 0);
    EXPECT_GT(Ink(cover, footer), 20) << "every page is numbered, the cover 1 / 2";
    EXPECT_GT(Ink(next, header), 20);
    EXPECT_GT(Ink(next, footer), 20) << "the second page is numbered 2 / 2";
}

TEST_F(RenderedFigure, FailedExportLeavesTheOldFile) {
    const Document d = FromLines({"X"});
    std::string error;
    EXPECT_FALSE(exportPdf(d, dir.file("no/such/folder/out.pdf"), {}, &error));
    EXPECT_EQ(error, "PDF ファイルを書き込めません。（ｴﾗｰｺｰﾄﾞ ： 76）\n\nﾌｧｲﾙ名：" +
                         dir.file("no/such/folder/out.pdf") + "\n原因：" +
                         files::SystemErrorText(ENOENT) +
                         "\n\nお問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。");
}

// The files the document comes from are never its PDF, however named; and a PDF cut anywhere is
// not complete, so it never replaces a good one.
TEST_F(RenderedFigure, ExportRefusesItsInputsAndOnlyWholePdfsAreComplete) {
    Document d = FromLines({"X"});
    d.sourcePath = dir.file("same.prn");
    d.designFile = dir.file("wall.kvt");
    kuvelt::test::WriteBytes(d.sourcePath, "print file");
    kuvelt::test::WriteBytes(d.designFile, "design");
    std::filesystem::create_symlink(d.designFile, dir.file("wall.pdf"));
    for (const std::string& target : {d.sourcePath, dir.file("wall.pdf")}) {
        std::string error;
        EXPECT_FALSE(exportPdf(d, target, {}, &error));
        EXPECT_NE(error.find("原因：読み込んだﾌｧｲﾙ自身には書き込めません"), std::string::npos);
    }
    EXPECT_EQ(kuvelt::test::ReadBytes(d.sourcePath), "print file");
    EXPECT_EQ(kuvelt::test::ReadBytes(d.designFile), "design");
    ASSERT_TRUE(exportPdf(d, dir.file("whole.pdf")));
    const std::string pdf = kuvelt::test::ReadBytes(dir.file("whole.pdf"));
    EXPECT_TRUE(formats::PdfIsComplete(pdf));
    EXPECT_TRUE(formats::PdfIsComplete(pdf + "\r\n"));
    for (std::size_t cut = 1; cut < 64; ++cut)
        EXPECT_FALSE(formats::PdfIsComplete(pdf.substr(0, pdf.size() * cut / 64))) << cut;
    EXPECT_FALSE(formats::PdfIsComplete(pdf.substr(1)));
}

TEST(PdfOutline, RefusesWhatItCannotFollowAndLeavesTheBytes) {
    struct Case {
        const char* name;
        std::string pdf;
        const char* error;
    } cases[] = {
        {"NotAPdf", "hello", "startxref がありません"},
        {"BadStartxref", "%PDF-1.4\nstartxref\nabc\n%%EOF", "startxref の値が正しくありません"},
        {"XrefStream", "%PDF-1.5\n1 0 obj<<>>endobj\nstartxref\n9\n%%EOF", "xref 表ではありません"},
        {"NoRoot",
         "%PDF-1.4\nxref\n0 1\n0000000000 65535 f \ntrailer\n<< /Size 1 >>\nstartxref\n9\n%%EOF",
         "trailer に /Root または /Size がありません"},
    };
    for (const Case& c : cases) {
        std::string pdf = c.pdf;
        std::string error;
        EXPECT_FALSE(AppendPdfOutline(pdf, {{1, "x", 0, 800}}, &error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(pdf, c.pdf) << c.name;
    }
    std::string pdf = "anything";
    EXPECT_TRUE(AppendPdfOutline(pdf, {})) << "no headings, nothing to add";
    EXPECT_EQ(pdf, "anything");
}

TEST(PdfOutline, ReplacesAnExistingOutlineEntryOfTheCatalog) {
    // A minimal file whose catalog already names an outline and a page mode.
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> off(4);
    off[1] = pdf.size();
    pdf +=
        "1 0 obj\n<< /Type /Catalog /Pages 2 0 R /Outlines 9 0 R /PageMode /UseNone >>\nendobj\n";
    off[2] = pdf.size();
    pdf += "2 0 obj\n<< /Type /Pages /Kids [3 0 R] /Count 1 >>\nendobj\n";
    off[3] = pdf.size();
    pdf += "3 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>\nendobj\n";
    const std::size_t xref = pdf.size();
    char line[32];
    pdf += "xref\n0 4\n0000000000 65535 f \n";
    for (int i = 1; i <= 3; ++i) {
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", off[std::size_t(i)]);
        pdf += line;
    }
    pdf += "trailer\n<< /Size 4 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    const std::string original = pdf;
    std::string error;
    ASSERT_TRUE(AppendPdfOutline(pdf, {{1, "第1章", 0, 800}, {2, "節", 0, 700}}, &error)) << error;
    EXPECT_EQ(pdf.compare(0, original.size(), original), 0) << "an update only appends";
    const std::string update = pdf.substr(original.size());
    EXPECT_NE(update.find("/Type /Catalog /Pages 2 0 R"), std::string::npos) << update;
    EXPECT_NE(update.find("/Outlines 4 0 R /PageMode /UseOutlines >>"), std::string::npos);
    EXPECT_EQ(update.find("/UseNone"), std::string::npos);
    EXPECT_EQ(update.find("9 0 R"), std::string::npos);
    EXPECT_NE(update.find("/Title <FEFF7B2C00317AE0>"), std::string::npos) << update;
    EXPECT_NE(update.find("/Prev " + std::to_string(xref) + " >>"), std::string::npos);
    EXPECT_NE(update.find("/Size 7 "), std::string::npos);

    // The document information: a file without one gets a new dictionary, a second update
    // replaces the entry and keeps the others.
    const std::size_t before = pdf.size();
    ASSERT_TRUE(SetPdfInfo(pdf, {{"Subject", "計算書"}, {"Title", "T"}}, &error)) << error;
    std::string info = pdf.substr(before);
    EXPECT_NE(info.find("7 0 obj\n<</Subject <FEFF8A087B9766F8>\n/Title <FEFF0054>\n>>"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("/Size 8 /Root 1 0 R /Info 7 0 R /Prev "), std::string::npos) << info;
    const std::size_t second = pdf.size();
    ASSERT_TRUE(SetPdfInfo(pdf, {{"Subject", "設計計算書"}}, &error)) << error;
    info = pdf.substr(second);
    EXPECT_NE(info.find("7 0 obj\n<<\n/Title <FEFF0054>\n/Subject <FEFF8A2D8A088A087B9766F8>\n>>"),
              std::string::npos)
        << info;
    EXPECT_NE(info.find("/Size 8 "), std::string::npos) << "no new object this time";
}

}  // namespace
}  // namespace kuvelt::preview
