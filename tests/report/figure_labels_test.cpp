// The label rule: segment/box geometry, the placement next to lines and other labels, leader
// lines when a point is crowded, and the checker on written figures (with composites merged).
#include "report/figure_labels.h"

#include <gtest/gtest.h>

#include "formats/figure_files.h"
#include "report/prnz.h"
#include "report_test_util.h"

namespace kuvelt::test {
namespace {

namespace z = basResOutPrnZ;
namespace L = figure_labels;

class Labels : public ReportTest {
  protected:
    void SetUp() override {
        ReportTest::SetUp();
        z::ClearAll();
        z::TextStyleCount = 2;
        z::TextStyles[1] = {400, "IPAGothic", 200, 0, 0, 0};
        z::TextStyles[2] = {400, "IPAGothic", 144, 0, 0, 0};  // 2.54 mm em, 1.27 mm a digit
    }
    static formats::SubFigure Written() {
        formats::SubFigure f;
        std::string error;
        EXPECT_TRUE(
            formats::ParseSubFigure(z::BuildFigureFile("a", "b"), formats::Mode::Strict, f, &error))
            << error;
        return f;
    }
};

TEST(LabelGeometry, SegmentsAgainstABox) {
    const L::Box b{0, 0, 10, 4};
    struct Case {
        const char* name;
        L::Line line;
        bool crosses;
    } cases[] = {
        {"Through", {-5, 2, 15, 2}, true},       {"Diagonal", {-1, -1, 11, 5}, true},
        {"Inside", {2, 1, 3, 2}, true},          {"PointInside", {5, 2, 5, 2}, true},
        {"OnTheEdge", {-5, 4, 15, 4}, false},    {"Above", {-5, 4.5, 15, 6}, false},
        {"EndsAtTheEdge", {-5, 2, 0, 2}, false}, {"CornerMiss", {9, 5, 11, 3.1}, false},
        {"CornerCut", {9, 5, 11, 2.5}, true},    {"Vertical", {5, -3, 5, 1}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(L::Crosses(b, c.line), c.crosses) << c.name;
    EXPECT_TRUE(L::Overlap(b, {9, 3, 12, 6}));
    EXPECT_FALSE(L::Overlap(b, {10, 0, 12, 4})) << "sharing an edge";
    // A text running right has its descent below the baseline; one running up is turned left.
    const L::Box right = L::TextBox(6, 2, 3, 1, 1);
    EXPECT_DOUBLE_EQ(right.y0, 1 - L::kDescent * 2);
    EXPECT_DOUBLE_EQ(right.x1, 7);
    const L::Box up = L::TextBox(6, 2, 1, 1, 1);
    EXPECT_DOUBLE_EQ(up.x0, -1);
    EXPECT_DOUBLE_EQ(up.y1, 7);
    // The arrow's stroke stands away from the wall line.
    EXPECT_DOUBLE_EQ(L::ArrowBox(3, 0).x1, 3 + L::kArrowLength);
    EXPECT_DOUBLE_EQ(L::ArrowBox(-3, 0).x0, -3 - L::kArrowLength);
}

TEST_F(Labels, PreferredSideWhenFreeOtherwiseTheNextFreeOne) {
    // A level line through the point: a label centred on the point's level would sit on it.
    const int32_t a = z::AddPoint(-20, 10), b = z::AddPoint(20, 10);
    z::AddSegment(a, b, 1);
    const auto placed = L::PlaceInDrawing({{"+3.500", 2, 0, 10, {L::Side::kRight}, true},
                                           {"+3.500", 2, 0, 10, {L::Side::kAboveRight}, true}});
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_TRUE(placed[0].clear && placed[1].clear);
    EXPECT_GE(placed[0].box.y0, 10) << "moved off the line";
    EXPECT_FALSE(L::Overlap(placed[0].box, placed[1].box));
    EXPECT_TRUE(L::Overlaps(Written()).empty());
}

TEST_F(Labels, CrowdedPointGetsALeader) {
    // A point boxed in by a tight square of lines: no side is free next to it.
    const double c[][2] = {{-3, -3}, {3, -3}, {3, 3}, {-3, 3}};
    for (int i = 0; i < 4; ++i) {
        const int32_t p = z::AddPoint(c[i][0], c[i][1]);
        const int32_t q = z::AddPoint(c[(i + 1) % 4][0], c[(i + 1) % 4][1]);
        z::AddSegment(p, q, 1);
    }
    const auto placed = L::PlaceInDrawing({{"12.50 kN/m2", 2, 0, 0, {L::Side::kRight}, true}});
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_TRUE(placed[0].clear);
    EXPECT_TRUE(placed[0].leader);
    const formats::SubFigure f = Written();
    EXPECT_EQ(f.segments.size(), 5u) << "the leader is a segment of the figure";
    EXPECT_TRUE(L::Overlaps(f).empty());
    // Without a leader allowed, the label stays at the point and the checker names the clash.
    z::ClearAll();
    for (int i = 0; i < 4; ++i) {
        const int32_t p = z::AddPoint(c[i][0], c[i][1]);
        const int32_t q = z::AddPoint(c[(i + 1) % 4][0], c[(i + 1) % 4][1]);
        z::AddSegment(p, q, 1);
    }
    const auto stuck = L::PlaceInDrawing({{"12.50 kN/m2", 2, 0, 0, {L::Side::kRight}, false}});
    EXPECT_FALSE(stuck[0].clear);
    EXPECT_FALSE(L::Overlaps(Written()).empty());
}

TEST_F(Labels, AreaNumbersStandInsideOrBesideWithALeaderFromInside) {
    // A thin sliver along the wall and a wide triangle beside it, both outlined.
    const L::Area sliver = {{0, 0}, {0, 30}, {3, 30}};
    const L::Area wide = {{0, 0}, {3, 30}, {30, 0}};
    for (const L::Area* a : {&sliver, &wide}) {
        for (std::size_t i = 0; i < a->size(); ++i) {
            const auto [x0, y0] = (*a)[i];
            const auto [x1, y1] = (*a)[(i + 1) % a->size()];
            z::AddSegment(z::AddPoint(x0, y0), z::AddPoint(x1, y1), 1);
        }
    }
    const std::vector<L::Area> areas = {sliver, wide};
    const L::Box room{0.5, -10, 60, 40};
    const auto placed = L::PlaceInDrawing(
        {{"①", 2, 1, 10, {L::Side::kCentre}, true}, {"②", 2, 11, 10, {L::Side::kCentre}, true}}, 1,
        &room, &areas);
    ASSERT_EQ(placed.size(), 2u);
    const L::Box& b = placed[1].box;
    EXPECT_FALSE(placed[1].leader);
    for (double x : {b.x0, b.x1})
        for (double y : {b.y0, b.y1}) EXPECT_TRUE(L::InsideConvex(wide, x, y));
    ASSERT_TRUE(placed[0].leader);
    EXPECT_TRUE(L::InsideConvex(sliver, placed[0].leaderLine.x0, placed[0].leaderLine.y0));
    const L::Box& s = placed[0].box;
    for (const L::Area* a : {&sliver, &wide})
        EXPECT_FALSE(L::InsideConvex(*a, (s.x0 + s.x1) / 2, (s.y0 + s.y1) / 2));
    EXPECT_TRUE(L::Overlaps(Written()).empty());
}

TEST_F(Labels, BoundsKeepLabelsInsideTheFrame) {
    const L::Box frame{-10, -10, 10, 10};
    const auto placed =
        L::PlaceInDrawing({{"+3.500", 2, 9, 0, {L::Side::kRight}, true}}, 1, &frame);
    EXPECT_TRUE(placed[0].clear);
    EXPECT_LE(placed[0].box.x1, 10.01);
}

TEST_F(Labels, CheckerFindsEveryKindOfClash) {
    const int32_t a = z::AddPoint(0, 0), b = z::AddPoint(10, 0);
    z::AddSegment(a, b, 1);
    z::AddArrow(b, 7, 1);
    z::AddText("ab", 2, 3, 1, -0.2);
    z::AddText("on the arrow", 2, 3, 12, 0);
    z::AddText("x", 2, 3, 30, 0);
    z::AddText("y", 2, 3, 30.5, 0.5);
    z::AddText("clear", 2, 3, 40, 10);
    const auto clashes = L::Overlaps(Written());
    ASSERT_EQ(clashes.size(), 3u);
    EXPECT_EQ(clashes[0].kind, L::Clash::kLine);
    EXPECT_EQ(clashes[1].kind, L::Clash::kArrow);
    EXPECT_EQ(clashes[2].kind, L::Clash::kLabel);
    EXPECT_EQ(clashes[2].text, 2);
    EXPECT_EQ(clashes[2].other, 3);
}

TEST_F(Labels, MergedCompositeChecksAcrossSubFigures) {
    // Sub-figure 1 ends in a label just left of its origin; sub-figure 2, placed 2 mm to the
    // left, draws a line through where that label lands in the frame.
    formats::SubFigure one, two;
    one.texts.push_back({"+1.000", -8, 0, 2, 3});
    two.points = {{0, -1, 1}, {0, 5, 2}};
    two.segments.push_back({1, 1, 2, 1, 0, 1});
    two.arrows.push_back({1, 1, 7, 1, 0});
    formats::Composite c;
    c.subFigures = {{"1", 10, 10}, {"2", 6, 10}};
    EXPECT_TRUE(L::Overlaps(one).empty());
    const formats::SubFigure m = L::Merge(c, {one, two});
    EXPECT_TRUE(m.arrows.empty()) << "arrows become strokes";
    EXPECT_EQ(m.segments.size(), 4u);
    const auto clashes = L::Overlaps(m);
    ASSERT_FALSE(clashes.empty());
    EXPECT_EQ(clashes[0].kind, L::Clash::kLine);
}

}  // namespace
}  // namespace kuvelt::test
