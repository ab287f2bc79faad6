// The figure view: figure-file bytes from the report's figure writer drawn the right way up and
// scaled into the widget, several parts placed in one frame, and a note for bytes that are no
// figure.
#include "ui/figure_view.h"

#include <gtest/gtest.h>

#include <QImage>

#include "report/prnz.h"

namespace kuvelt::ui {
namespace {

namespace Z = basResOutPrnZ;

// A sub-figure of 100 × 50 mm: its frame outlined, and a heavy bar along its bottom-left
// quarter (so up and down, left and right can be told apart).
std::string Bar(double dx) {
    Z::ClearAll();
    Z::LoadLineStyles(Z::LineStyleFile());
    Z::LoadTextStyles(Z::TextStyleFile());
    auto seg = [](double x1, double y1, double x2, double y2, int style) {
        Z::AddSegment(Z::AddPoint(x1, y1), Z::AddPoint(x2, y2), style);
    };
    seg(dx + 0, 0, dx + 100, 0, 1);
    seg(dx + 100, 0, dx + 100, 50, 1);
    seg(dx + 100, 50, dx + 0, 50, 1);
    seg(dx + 0, 50, dx + 0, 0, 1);
    for (double y = 2; y < 12; y += 0.4) seg(dx + 2, y, dx + 48, y, 3);
    return Z::BuildFigureFile("図", "試験");
}

// Share of dark pixels in a rectangle given as fractions of the image.
double Dark(const QImage& img, double x0, double y0, double x1, double y1) {
    int dark = 0, all = 0;
    for (int y = int(y0 * img.height()); y < int(y1 * img.height()); ++y) {
        for (int x = int(x0 * img.width()); x < int(x1 * img.width()); ++x) {
            ++all;
            if (qGray(img.pixel(x, y)) < 128) ++dark;
        }
    }
    return all ? double(dark) / all : 0.0;
}

TEST(FigureView, DrawsFigureBytesUprightAndScaled) {
    FigureView v;
    v.resize(412, 212);  // 400 × 200 inside the margins: 4 px per mm for a 100 × 50 frame
    const int before = v.revision();
    v.setSubFigure(Bar(0));
    EXPECT_GT(v.revision(), before);
    ASSERT_TRUE(v.hasFigure()) << v.note().toStdString();
    EXPECT_DOUBLE_EQ(v.figure().width, 100.0);
    EXPECT_DOUBLE_EQ(v.figure().height, 50.0);
    const QImage img = v.grab().toImage();
    // The bar is at the bottom left, Y upwards in the figure, downwards on the screen.
    EXPECT_GT(Dark(img, 0.06, 0.76, 0.44, 0.92), 0.5);
    EXPECT_LT(Dark(img, 0.06, 0.10, 0.44, 0.60), 0.02);
    EXPECT_LT(Dark(img, 0.56, 0.76, 0.94, 0.92), 0.02);

    // Two parts in one frame of 200 × 50 mm: the second placed 100 mm to the right.
    v.setFigure(200, 50, {{Bar(0), 0, 0}, {Bar(0), 100, 0}});
    ASSERT_TRUE(v.hasFigure());
    const QImage two = v.grab().toImage();
    EXPECT_GT(Dark(two, 0.54, 0.64, 0.72, 0.71), 0.3);  // the second bar
    EXPECT_LT(Dark(two, 0.78, 0.64, 0.96, 0.71), 0.02);
}

TEST(FigureView, BytesThatAreNoFigureGiveANote) {
    FigureView v;
    v.resize(300, 300);
    v.setSubFigure("no figure at all");
    EXPECT_FALSE(v.hasFigure());
    EXPECT_FALSE(v.note().isEmpty());
    v.setFigure(0, 0, {{Bar(0), 0, 0}});
    EXPECT_FALSE(v.hasFigure());
    EXPECT_FALSE(v.note().isEmpty());
    v.setNote(QStringLiteral("断面力図はありません"));
    EXPECT_EQ(v.note(), QStringLiteral("断面力図はありません"));
    const QImage img = v.grab().toImage();  // painting a note never fails
    EXPECT_FALSE(img.isNull());
}

}  // namespace
}  // namespace kuvelt::ui
