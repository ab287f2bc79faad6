// The load distribution diagram: scales, labels, arrows, dividing lines and pieces of the
// pressure diagram, the centroid rule, and every example design drawn inside its 128 × 80 frame
// with its levels named once and its values in kN/m2.
#include "report/chapters/zu_sp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "chapters_test_util.h"
#include "formats/figure_files.h"
#include "io/design_file.h"
#include "model/design.h"
#include "report/prn.h"
#include "report/prnz.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

namespace fs = std::filesystem;
namespace Z = basResOutPrnZ;

struct Load {
    double EU, H, PU, PL;
};

class DiagramTest : public test::PrintJobFixture {
  protected:
    // The loads above the virtual ground as the calculation would leave them in its results.
    void SetLoads(const std::vector<Load>& loads, double eldl) {
        InitData();
        gInpJyoken.ELGL = loads.front().EU;
        gInpJyoken.ELDL = eldl;
        results = {};
        clsPressure& p = results.pressure.emplace();
        for (const Load& l : loads) p.Qdi().Add(l.EU, l.H, l.PU, l.PL);
        p.WU = loads.front().EU;
        p.WL = loads.back().EU - loads.back().H;
        p.Calc();
    }
    formats::Composite Draw() {
        const std::string path = basZuSp::DrawLoadDiagram(results, 128, 80);
        formats::Composite c;
        std::string error;
        EXPECT_TRUE(formats::ReadComposite(path, formats::Mode::Strict, c, &error)) << error;
        return c;
    }
    formats::SubFigure Sub(const formats::Composite& c, std::size_t i) {
        formats::SubFigure f;
        std::string error;
        EXPECT_TRUE(
            formats::ReadSubFigure(c.subFigures.at(i).path, formats::Mode::Strict, f, &error))
            << error;
        return f;
    }
    Results results;
    static int Count(const formats::SubFigure& f, int style) {
        return static_cast<int>(std::count_if(f.segments.begin(), f.segments.end(),
                                              [&](const auto& s) { return s.style == style; }));
    }
    static int Labels(const formats::SubFigure& f) {
        return static_cast<int>(std::count_if(f.texts.begin(), f.texts.end(), [](const auto& t) {
            return t.text.rfind("\u2460", 0) == 0 || (t.text.size() == 3 && t.text[0] == '\xE2');
        }));
    }
};

TEST_F(DiagramTest, ScalesFollowTheFrame) {
    // Largest pressure 53 over a frame 128 wide: 1 mm per kN/m2; 7.5 m deep over 80 less the
    // 10 mm kept above and below: 9.33 mm per m.
    SetLoads({{4.0, 4.0, 0, 20}, {0.0, 3.5, 53, 0}}, 0.0);
    const formats::Composite c = Draw();
    ASSERT_EQ(c.subFigures.size(), 2u);
    EXPECT_EQ(c.caption, "荷重分布図");
    const formats::SubFigure p = Sub(c, 1);
    EXPECT_EQ(p.caption2, "土圧分布図");
    ASSERT_GE(p.points.size(), 6u);
    const double m = 70.0 / 7.5;
    EXPECT_NEAR(p.points[0].y, m * 4.0, 1e-6);   // top of the wall line at m·EU
    EXPECT_NEAR(p.points[1].y, m * -3.5, 1e-6);  // its foot at m·EL of the last layer
    EXPECT_DOUBLE_EQ(p.points[3].x, 0.0);        // B of layer 1: PU = 0
    EXPECT_DOUBLE_EQ(p.points[4].x, 20.0);       // C of layer 1: u·PL
    EXPECT_DOUBLE_EQ(p.points[4].y, 0.0);
    // Both sub-figures hang from the ground surface 5 mm below the frame's top, wall on wall.
    EXPECT_NEAR(c.subFigures[0].y, 80 - 5 - m * 4.0, 1e-9);
    EXPECT_DOUBLE_EQ(c.subFigures[1].y, c.subFigures[0].y);
    EXPECT_DOUBLE_EQ(c.subFigures[0].x, 45);
    EXPECT_DOUBLE_EQ(c.subFigures[1].x, 45);
}

TEST_F(DiagramTest, LayerShapes) {
    struct Case {
        const char* name;
        std::vector<Load> loads;
        int labels, dividers, arrows;
    } cases[] = {
        {"Uniform", {{2.0, 2.0, 20, 20}}, 1, 0, 2},
        {"ZeroTop", {{2.0, 2.0, 0, 30}}, 1, 1, 1},
        {"Trapezoid", {{2.0, 2.0, 10, 30}}, 2, 1, 2},
        {"TinyChange", {{2.0, 2.0, 20, 20.05}}, 2, 0, 2},
    };
    for (const Case& c : cases) {
        SetLoads(c.loads, 1.0);
        const formats::SubFigure p = Sub(Draw(), 1);
        EXPECT_EQ(Labels(p), c.labels) << c.name;
        EXPECT_EQ(Count(p, 4), c.dividers) << c.name;
        EXPECT_EQ(static_cast<int>(p.arrows.size()), c.arrows) << c.name;
        basResOutPrn::DeleteAllReportFiles();
    }
}

// Layered ground gives many load layers: thirty with both ends loaded number sixty pieces, the
// circled numerals to twenty and the numbers themselves after; one layer more fails.
TEST_F(DiagramTest, ThirtyLayersOfSixtyPiecesFitOneMoreFails) {
    std::vector<Load> loads;
    for (int i = 0; i < basZuSp::kMaxLayers; ++i)
        loads.push_back({30.0 - i, 1.0, 10.0 + i, 20.0 + i});
    SetLoads(loads, 0.0);
    const formats::SubFigure p = Sub(Draw(), 1);
    EXPECT_EQ(Labels(p), 20);
    for (const char* n : {"21", "60"}) {
        EXPECT_TRUE(std::any_of(p.texts.begin(), p.texts.end(), [&](const auto& t) {
            return t.text == n;
        })) << n;
    }
    loads.push_back({0.0, 1.0, 30, 40});
    SetLoads(loads, 0.0);
    EXPECT_THROW(basZuSp::DrawLoadDiagram(results, 128, 80), PrintFault);
}

TEST_F(DiagramTest, NoLoadCannotBeScaled) {
    SetLoads({{3.0, 3.0, 0, 0}}, 0.0);
    EXPECT_THROW(basZuSp::DrawLoadDiagram(results, 128, 80), PrintFault);
}

TEST_F(DiagramTest, RepeatedValueIsShownOnce) {
    // Layer 2 starts with the pressure layer 1 ended with: its upper value is not repeated.
    SetLoads({{4.0, 2.0, 5, 12}, {2.0, 2.0, 12.005, 30}}, 0.0);
    const formats::SubFigure p = Sub(Draw(), 1);
    const auto n12 = std::count_if(p.texts.begin(), p.texts.end(), [](const auto& t) {
        return t.text == "12.00 kN/m^2" || t.text == "12.01 kN/m^2";
    });
    EXPECT_EQ(n12, 1);
}

TEST(PolygonCentroid, Shapes) {
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> v;
        double cx, cy;
    } cases[] = {
        {"Rectangle", {{0, 0}, {0, 2}, {20, 2}, {20, 0}}, 10, 1},
        {"TriangleWithRepeat", {{0, 0}, {0, 3}, {6, 3}, {6, 3}}, 2, 2},
        {"Degenerate", {{0, 0}, {0, 1}, {0, 1}, {0, 0}}, 0, 0},
    };
    for (const Case& c : cases) {
        const auto [x, y] = basZuSp::PolygonCentroid(c.v);
        EXPECT_NEAR(x, c.cx, 1e-9) << c.name;
        EXPECT_NEAR(y, c.cy, 1e-9) << c.name;
    }
}

// Every example design, found in the examples folder: the diagram lies inside the frame and no
// label crosses the wall line or the pressure outline.
TEST_F(DiagramTest, ExamplesFitTheirFrame) {
    int examples = 0;
    for (const auto& e : fs::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() != ".kvt") continue;
        ++examples;
        const std::string name = e.path().filename().string();
        int32_t err = 0;
        ASSERT_TRUE(ReadData(e.path().string(), err)) << name;
        ResetResultStore();
        ASSERT_TRUE(CalcMain()) << name;
        results = SnapshotResults();
        const formats::Composite c = Draw();
        ASSERT_EQ(c.subFigures.size(), 2u) << name;
        EXPECT_EQ(c.frameWidth, 128);
        EXPECT_EQ(c.frameHeight, 80);
        for (std::size_t i = 0; i < 2; ++i) {
            const formats::SubFigure f = Sub(c, i);
            const auto& at = c.subFigures[i];
            EXPECT_GE(at.x + f.minX, -0.01) << name << i;
            EXPECT_LE(at.x + f.maxX, 128.01) << name << i;
            EXPECT_GE(at.y + f.minY, -0.01) << name << i;
            EXPECT_LE(at.y + f.maxY, 80.01) << name << i;
        }
        // The wall lines meet. Each level once, at three decimals, named where it is one of the
        // design's levels; every pressure with its unit. (Clear of the lines: figures_test.)
        const formats::SubFigure scale = Sub(c, 0), diagram = Sub(c, 1);
        EXPECT_NEAR(c.subFigures[0].x, c.subFigures[1].x, 1e-9) << name;
        const std::regex level(R"(^(\S+ )?(±0\.000|[+-]\d+\.\d{3})$)");
        for (const auto& t : scale.texts) EXPECT_TRUE(std::regex_match(t.text, level)) << t.text;
        const std::regex value(R"(^\d+\.\d\d kN/m\^2$|^[\xE2][\x91][\xA0-\xB3]$)");
        for (const auto& t : diagram.texts) EXPECT_TRUE(std::regex_match(t.text, value)) << t.text;
        std::vector<std::string> names;
        for (const auto& t : scale.texts) names.push_back(t.text.substr(0, t.text.find(' ')));
        // Under the clayey 0.5 m rule (both clay examples and the layered one, clay below its
        // design ground level) the computed and the adopted virtual ground are named apart.
        const bool apart = results.ComputedVirtualGroundApart().has_value();
        EXPECT_EQ(apart, name.rfind("clay", 0) == 0 || name.rfind("layered", 0) == 0) << name;
        std::vector<const char*> wanted = {"地表面", "地下水位面", "設計地盤面"};
        if (apart) {
            wanted.insert(wanted.end(), {"計算上の仮想地盤面", "採用した仮想地盤面"});
        } else {
            wanted.push_back("仮想地盤面");
        }
        for (const char* n : wanted) {
            EXPECT_EQ(std::count(names.begin(), names.end(), n), 1) << name << " " << n;
        }
        basResOutPrn::DeleteAllReportFiles();
    }
    EXPECT_GE(examples, 1);
}

}  // namespace
}  // namespace kuvelt
