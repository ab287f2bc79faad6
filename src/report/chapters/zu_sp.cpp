#include "report/chapters/zu_sp.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/zu_common.h"
#include "report/figure_labels.h"
#include "report/numbering.h"
#include "report/prn.h"
#include "report/prnz.h"

namespace kuvelt::basZuSp {
namespace {

using namespace basResOutPrnZ;
using basResOutPrn::Checked;

constexpr int32_t kTextStyle = 2;
constexpr int32_t kArrowCode = 7;

struct Layer {
    double EU = 0, EL = 0, H = 0, PU = 0, PL = 0;
};

// Values staged when the diagram is drawn.
struct Staged {
    double ELGL = 0;
    double ELDL = 0;
    double ELWL = 0;
    std::optional<double> channel;   // the channel water, where it stands above the design ground
    std::optional<double> computed;  // the computed virtual ground, where the adopted one differs
    double maxP = 0;
    std::vector<Layer> layers;
};
Staged g;

void Stage(const Results& results) {
    g = Staged{};
    g.ELGL = gInpJyoken.ELGL;
    g.ELDL = gInpJyoken.ELDL;
    g.ELWL = gInpJyoken.ELWL;
    if (chapters::ChannelWaterRaised(ChannelWaterLevel(gInpJyoken))) {
        g.channel = ChannelWaterLevel(gInpJyoken);
    }
    g.computed = results.ComputedVirtualGroundApart();
    const colPressureLoad& q = chapters::Reached(results.pressure).Qdo();
    if (q.Count() > kMaxLayers) {
        throw PrintFault(vberr::kSubscript,
                         "荷重分布図の荷重層が" + std::to_string(kMaxLayers) + "を超えています");
    }
    for (const clsPressureLoad& l : q) g.layers.push_back({l.EU, l.EL, l.H, l.PU, l.PL});
    if (g.layers.empty()) throw PrintFault(vberr::kObjectMissing, "荷重分布図の荷重層がありません");
}

// Two new points, start then end, joined by a segment.
void Segment(double x1, double y1, double x2, double y2, int32_t style) {
    const int32_t a = AddPoint(x1, y1);
    const int32_t b = AddPoint(x2, y2);
    AddSegment(a, b, style);
}

}  // namespace

std::pair<double, double> PolygonCentroid(const std::vector<std::pair<double, double>>& v) {
    double a = 0, sx = 0, sy = 0;
    const std::size_t n = v.size();
    for (std::size_t j = 0; j < n; ++j) {
        const auto& [xj, yj] = v[j];
        const auto& [xp, yp] = v[j == 0 ? n - 1 : j - 1];
        const double t = (xj * yp - yj * xp) / 2;
        a += t;
        sx += t / 3 * (xj + xp);
        sy += t / 3 * (yj + yp);
    }
    if (std::fabs(a) < 0.001) return {0.0, 0.0};
    return {Checked(sx / a), Checked(sy / a)};
}

namespace {

// Where the labels of both sub-figures must stay: between the frame's edges across, and
// within the vertical room above the ground surface and below the last layer.
figure_labels::Box LabelBounds(double x0, double x1, double m) {
    return {x0, m * g.layers.back().EL - kVerticalRoom / 2 + 0.3, x1,
            m * g.ELGL + kVerticalRoom / 2 - 0.3};
}

// The level's names among the named levels of the design.
std::vector<std::string> LevelNames(double z) {
    std::vector<std::string> names;
    auto add = [&](double level, const char* n) {
        if (std::fabs(level - z) < 0.0005) names.emplace_back(n);
    };
    add(g.ELGL, "地表面");
    add(g.ELWL, "地下水位面");
    if (g.channel) add(*g.channel, "前面水位");
    add(g.ELDL, "設計地盤面");
    if (g.computed) add(*g.computed, "計算上の仮想地盤面");
    add(g.layers.back().EL, g.computed ? "採用した仮想地盤面" : "仮想地盤面");
    return names;
}

}  // namespace

void DrawLevelScale(double scaleWidth, double m) {
    ClearDrawing();
    const double yGL = m * g.ELGL, yDL = m * g.ELDL;
    // The wall above the design ground level, a box of zero width. Its first point stands at the
    // ground surface (not at the datum), so the scale's extents cover only what it draws.
    AddPoint(0, yGL);
    const int32_t p2 = AddPoint(0, yGL);
    const int32_t p3 = AddPoint(0, yDL);
    const int32_t p4 = AddPoint(0, yGL);
    const int32_t p5 = AddPoint(0, yDL);
    AddSegment(p2, p3, 3);
    AddSegment(p2, p4, 3);
    AddSegment(p4, p5, 3);
    // Design ground level.
    const int32_t p6 = AddPoint(-scaleWidth, yDL);
    const int32_t p7 = AddPoint(0, yDL);
    const int32_t p8 = AddPoint(0, yDL);
    const int32_t p9 = AddPoint(0, yDL);
    AddSegment(p6, p7, 1);
    AddSegment(p8, p9, 1);
    // Ground surface.
    const int32_t p10 = AddPoint(-scaleWidth, yGL);
    const int32_t p11 = AddPoint(-1, yGL);
    AddSegment(p10, p11, 1);
    AddGroundGlyphs(-35, yDL, 3);
    // Every boundary of the loads once, named where it is one of the design's levels, three
    // decimals throughout: a short tick at the wall for the unnamed ones; the groundwater level
    // (a boundary when it lies above the virtual ground; its mark stands behind the wall, in the
    // pressure diagram) and a computed virtual ground above the adopted one.
    std::vector<double> zs;
    for (const Layer& l : g.layers) zs.push_back(l.EU);
    zs.push_back(g.layers.back().EL);
    const double bottom = g.layers.back().EL;
    if (g.ELWL < g.ELGL && g.ELWL > bottom) zs.push_back(g.ELWL);
    // The channel water in front of the wall: its line with the ▽ on the scale's side.
    if (g.channel && *g.channel <= g.ELGL && *g.channel > bottom) {
        zs.push_back(*g.channel);
        const double y = m * *g.channel;
        Segment(-30, y, -20, y, 1);
        zu::WaterMark(-25, y);
    }
    if (g.computed && *g.computed<g.ELGL&& * g.computed> bottom) zs.push_back(*g.computed);
    std::sort(zs.begin(), zs.end(), std::greater<>());
    zs.erase(std::unique(zs.begin(), zs.end(),
                         [](double a, double b) { return std::fabs(a - b) < 0.0005; }),
             zs.end());
    std::vector<figure_labels::Wanted> labels;
    using figure_labels::Side;
    for (double z : zs) {
        const double y = m * z;
        if (std::fabs(z - g.ELGL) >= 0.0005 && std::fabs(z - g.ELDL) >= 0.0005) {
            Segment(-4, y, 0, y, 1);
        }
        // Names above their line, stacked when they take two texts; the adopted virtual ground,
        // within 0.5 m under the computed one, placed first and below its line at the foot of
        // the loads, so that the names of the levels above it stay in their order.
        const bool adopted = g.computed && std::fabs(z - bottom) < 0.0005;
        for (std::string& text : zu::LevelLabels(LevelNames(z), z, scaleWidth - 1.6)) {
            figure_labels::Wanted w{std::move(text),
                                    kTextStyle,
                                    -1,
                                    y,
                                    adopted ? std::vector<Side>{Side::kBelowLeft, Side::kLeft}
                                            : std::vector<Side>{Side::kAboveLeft, Side::kLeft},
                                    true};
            labels.insert(adopted ? labels.begin() : labels.end(), std::move(w));
        }
    }
    const figure_labels::Box bounds = LabelBounds(-scaleWidth, -0.6, m);
    figure_labels::PlaceInDrawing(labels, 1, &bounds);
    const std::string path = basResOutPrn::NewFigureFile();
    AddSubFigure(path);
    WriteFigureFile(path, "土圧の計算", "標高");
}

namespace {

// The pieces of the staged layers: a layer whose pressure changes splits into the triangle on
// the wall side and the one on the outline's side (each only where its pressure is not zero).
std::vector<LoadPiece> Pieces() {
    std::vector<LoadPiece> out;
    auto add = [&](std::vector<std::pair<double, double>> corners) {
        if (out.size() >= std::size_t(kMaxPieces)) {
            throw PrintFault(vberr::kSubscript, "荷重分布図の荷重番号が" +
                                                    std::to_string(kMaxPieces) + "を超えています");
        }
        out.push_back({chapters::PieceNumeral(int32_t(out.size()) + 1), std::move(corners)});
    };
    for (const Layer& y : g.layers) {
        if (std::fabs(y.PU - y.PL) >= 0.01) {
            if (y.PU > 0.009) add({{0, y.EL}, {0, y.EU}, {y.PU, y.EU}});
            if (y.PL > 0.009) add({{0, y.EL}, {y.PU, y.EU}, {y.PL, y.EL}});
        } else if (y.PU > 0.009) {
            add({{0, y.EL}, {0, y.EU}, {y.PU, y.EU}, {y.PL, y.EL}});
        }
    }
    return out;
}

}  // namespace

std::vector<LoadPiece> LoadPieces(const Results& results) {
    Stage(results);
    return Pieces();
}

void DrawPressureDiagram(double u, double m, double width) {
    ClearDrawing();
    const double xT = u * g.maxP + 10;
    const auto& L = g.layers;
    Segment(0, m * L.front().EU, 0, m * L.back().EL, 3);
    std::vector<figure_labels::Wanted> values, pieces;
    std::vector<figure_labels::Area> areas;
    using figure_labels::Side;
    double prevPL = -1.0;
    for (std::size_t i = 0; i < L.size(); ++i) {
        const Layer& y = L[i];
        const double yU = m * y.EU, yL = m * y.EL;
        const int32_t a = AddPoint(0, yU);
        const int32_t b = AddPoint(u * y.PU, yU);
        const int32_t cc = AddPoint(u * y.PL, yL);
        const int32_t dd = AddPoint(0, yL);
        AddSegment(a, b, 1);
        AddSegment(b, cc, 1);
        AddSegment(cc, dd, 1);
        // The dividing line only where the pressure changes by 0.1 or more.
        if (std::fabs(y.PU - y.PL) >= 0.1) AddSegment(b, dd, 4);
        // Each value once, with its unit, beside its point and clear of the outline, the wall
        // line and the arrows.
        if (std::fabs(y.PU - prevPL) > 0.009) {
            values.push_back({zu::PressureText(y.PU),
                              kTextStyle,
                              u * y.PU,
                              yU,
                              {Side::kRight, Side::kAboveRight, Side::kBelowRight},
                              true});
        }
        if (y.PU > 0.09) AddArrow(a, kArrowCode, 1);
        values.push_back({zu::PressureText(y.PL),
                          kTextStyle,
                          u * y.PL,
                          yL,
                          {Side::kRight, Side::kBelowRight, Side::kAboveRight},
                          true});
        if (y.PL > 0.009) AddArrow(dd, kArrowCode, 1);
        prevPL = y.PL;
    }
    // Each number inside its own piece, or beside it with a leader where the piece is too thin.
    for (const LoadPiece& p : Pieces()) {
        const auto [cx, cy] = PolygonCentroid(p.corners);
        figure_labels::Wanted w{
            p.numeral,
            kTextStyle,
            u * cx,
            m * cy,
            {Side::kCentre, Side::kRight, Side::kLeft, Side::kAbove, Side::kBelow},
            true};
        figure_labels::Area area;
        for (const auto& [pr, z] : p.corners) area.emplace_back(u * pr, m * z);
        pieces.push_back(std::move(w));
        areas.push_back(std::move(area));
    }
    Segment(0, m * g.ELGL, xT, m * g.ELGL, 1);
    AddGroundGlyphs(xT / 2, m * g.ELGL, 3);
    // The groundwater behind the wall, between the largest pressure and the level ticks: a short
    // line with its ▽ (in front of the wall the water stands at the design ground level).
    if (g.ELWL < g.ELGL && g.ELWL > L.back().EL) {
        const double y = m * g.ELWL;
        Segment(xT - 9, y, xT, y, 1);
        zu::WaterMark(xT - 4.5, y);
    }
    // The numbers of the pieces first: they belong inside their pieces; the values find room
    // around them.
    for (figure_labels::Wanted& w : values) pieces.push_back(std::move(w));
    const figure_labels::Box bounds = LabelBounds(0.6, width, m);
    figure_labels::PlaceInDrawing(pieces, 1, &bounds, &areas);
    const std::string path = basResOutPrn::NewFigureFile();
    AddSubFigure(path);
    WriteFigureFile(path, "土圧の計算", "土圧分布図");
}

void PlaceSubFigures(const std::string& path, const std::string& caption, double W, double F,
                     double m) {
    ReadSubFigureExtents();
    // Both wall lines on the frame's X = scale width, the ground surface half the vertical room
    // below the frame's top: the two sub-figures share the level scale.
    for (int32_t j = 1; j <= SubFigureCount; ++j) {
        SubFigures[static_cast<std::size_t>(j)].X = kScaleWidth;
        SubFigures[static_cast<std::size_t>(j)].Y = F - kVerticalRoom / 2 - m * g.ELGL;
    }
    WriteCompositeFile(path, caption, W, F);
}

LoadScale ScaleOf(const Results& results, double W, double F) {
    Stage(results);
    const double depth = g.ELGL - g.layers.back().EL;
    for (const Layer& l : g.layers) g.maxP = std::max({g.maxP, l.PU, l.PL});
    // A diagram needs a depth and a positive largest pressure to be scaled.
    if (!(depth > 0) || !(g.maxP > 0)) {
        throw PrintFault(vberr::kDivisionByZero, "荷重分布図の縮尺を決められません");
    }
    return {Checked((W - kScaleWidth - kTickRoom) / g.maxP), Checked((F - kVerticalRoom) / depth)};
}

std::string DrawLoadDiagram(const Results& results, double W, double F) {
    ClearAll();
    LoadLineStyles(LineStyleFile());
    LoadTextStyles(TextStyleFile());
    const auto [u, m] = ScaleOf(results, W, F);
    DrawLevelScale(kScaleWidth, m);
    DrawPressureDiagram(u, m, W - kScaleWidth - 0.5);
    const std::string path = basResOutPrn::NewFigureFile();
    PlaceSubFigures(path, "荷重分布図", W, F, m);
    return path;
}

}  // namespace kuvelt::basZuSp
