#include "report/chapters/zu_structure.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "calc/pile_kind.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/chapters/print_job.h"
#include "report/chapters/zu_common.h"
#include "report/figure_labels.h"
#include "report/prn.h"
#include "report/prnz.h"

namespace kuvelt::basZuStructure {
namespace {

using namespace basResOutPrnZ;
using namespace zu;
using figure_labels::Side;
using figure_labels::Wanted;

constexpr double kWallX = 95;    // the wall line's place in the frame, mm from its left edge
constexpr double kFront = 58;    // the ground in front, left of the wall: room for a level's name
constexpr double kScaleX = -90;  // the scale bar
// The columns of dimension lines left of the ground in front, from the inside out: the chain
// Ｈ–Ｄ, the chain Ｈ0–l, and the whole length Ｌ outermost, as a drawing dimensions a wall.
constexpr double kDimensionX[] = {-63, -70, -77};
constexpr double kTopRoom = 14;    // above the highest level: loads and their labels
constexpr double kBottomRoom = 8;  // below the lowest level: its label
constexpr double kLoadHeight = 6;  // the surcharge arrows
// The largest magnitude a level or dimension may have to be drawn (the input ranges stay far
// inside it): beyond it the scale would lose every detail.
constexpr double kLargest = 1e4;

[[noreturn]] void Unusable(const char* what) {
    throw PrintFault(vberr::kInvalidCall, std::string("構造図の") + what + "が数値ではありません");
}
void Check(double v, const char* what) {
    if (!std::isfinite(v) || std::fabs(v) > kLargest) Unusable(what);
}

std::string Metres(double v) { return numfmt::FormatNumber(v, "#0.00") + " m"; }
std::string Load(double q) { return numfmt::FormatNumber(q, "#0.0") + " kN/m^2"; }
// A dimension's text, short enough to stand beside its line: "Ｈ＝3.50m".
std::string Measure(const std::string& symbol, double v, const char* equals = "＝") {
    return symbol + equals + numfmt::FormatNumber(v, "#0.00") + "m";
}

// A nice length for the scale bar: at least 8 mm drawn.
double ScaleStep(double m) {
    for (double decade = 0.1; decade < 1e5; decade *= 10) {
        for (double f : {1.0, 2.0, 5.0}) {
            if (f * decade * m >= 8) return f * decade;
        }
    }
    return 1e5;
}

// Surcharge arrows over [x0, x1] on the ground y(x), their top joined, and the load's label.
template <class Y>
void LoadBlock(double x0, double x1, Y y, const std::string& label, std::vector<Wanted>& labels) {
    if (!(x1 - x0 > 2)) return;
    const int n = std::max(2, static_cast<int>((x1 - x0) / 5));
    for (int i = 0; i <= n; ++i) {
        const double x = x0 + (x1 - x0) * i / n;
        DownArrow(x, y(x), kLoadHeight);
        if (i > 0) {
            const double xp = x0 + (x1 - x0) * (i - 1) / n;
            Seg(xp, y(xp) + kLoadHeight, x, y(x) + kLoadHeight, kThin);
        }
    }
    const double xm = (x0 + x1) / 2;
    labels.push_back({label, kTextStyle, xm, y(xm) + kLoadHeight, {Side::kAbove}, true});
}

// A vertical dimension line from level yTop down to yBottom (mm) with an arrowhead at each end.
void VerticalDimension(double x, double yTop, double yBottom) {
    Seg(x, yTop, x, yBottom, kThin);
    const double head = std::min(1.5, (yTop - yBottom) / 2);
    for (double side : {-0.5, 0.5}) {
        Seg(x + side, yTop - head, x, yTop, kThin);
        Seg(x + side, yBottom + head, x, yBottom, kThin);
    }
}

// Whether a box keeps its clearance from every line and text in the drawing buffer.
bool ClearOfDrawing(const figure_labels::Box& b) {
    const double c = figure_labels::kClearance;
    const figure_labels::Box room{b.x0 - c, b.y0 - c, b.x1 + c, b.y1 + c};
    for (int32_t i = 1; i <= SegmentCount; ++i) {
        const ZSegment& seg = Segments[static_cast<std::size_t>(i)];
        const ZPoint& a = Points[static_cast<std::size_t>(seg.StartPoint)];
        const ZPoint& e = Points[static_cast<std::size_t>(seg.EndPoint)];
        if (figure_labels::Crosses(room, {a.X, a.Y, e.X, e.Y})) return false;
    }
    for (int32_t i = 1; i <= TextCount; ++i) {
        const ZText& t = Texts[static_cast<std::size_t>(i)];
        if (figure_labels::Overlap(room,
                                   figure_labels::TextBox(t.Text, t.Style, t.Align, t.X, t.Y)))
            return false;
    }
    return true;
}

// The dimension lines of the wall in their columns, with the extension lines that carry each
// level out to them. A value stands upright beside its line when the line is long enough and
// nothing crosses it there; otherwise it goes to `labels`, to be placed with the others.
void Dimensions(const Section& s, double m, std::vector<Wanted>& labels) {
    struct Span {
        double top, bottom;  // levels, m
        std::string text;
        std::string compact;  // the same in half-width letters, for a short line
    };
    std::vector<Span> columns[3];
    auto span = [](double top, double bottom, const char* symbol, const char* half) {
        return Span{top, bottom, Measure(symbol, top - bottom), Measure(half, top - bottom, "=")};
    };
    columns[0].push_back(span(s.ELGL, s.ELDL, "Ｈ", "H"));
    if (s.tip) columns[0].push_back(span(s.ELDL, *s.tip, "Ｄ", "D"));
    // The adopted virtual ground is where the loads stand and the embedment starts.
    const std::optional<double> ground = s.adoptedGround ? s.adoptedGround : s.virtualGround;
    if (ground) {
        columns[1].push_back(span(s.ELYU, *ground, "Ｈ0", "H0"));
        if (s.embedment && *s.embedment > 0)
            columns[1].push_back(span(*ground, *ground - *s.embedment, "l＝3／β", "l=3/β"));
    }
    if (s.tip) columns[2].push_back(span(s.ELYU, *s.tip, "Ｌ", "L"));

    // Extension lines: each level carried out from the end of the ground in front to the
    // outermost column that measures from it (not across the front, where a line would read as
    // ground).
    std::vector<std::pair<double, double>> levels;  // level (m), column X reached
    for (int c = 0; c < 3; ++c) {
        for (const Span& sp : columns[c]) {
            for (double z : {sp.top, sp.bottom}) {
                auto at = std::find_if(levels.begin(), levels.end(), [&](const auto& l) {
                    return std::fabs(l.first - z) < 0.0005;
                });
                if (at == levels.end()) {
                    levels.push_back({z, kDimensionX[c]});
                } else {
                    at->second = std::min(at->second, kDimensionX[c]);
                }
            }
        }
    }
    auto inFront = [&](double z) {
        for (const auto& v : {std::optional<double>(s.ELDL), s.virtualGround, s.adoptedGround})
            if (v && std::fabs(*v - z) < 0.0005) return true;
        return false;
    };
    for (const auto& [z, x] : levels) {
        Seg(inFront(z) ? -kFront : kDimensionX[0] + 3, m * z, x - 1, m * z, kThin);
    }

    for (int c = 0; c < 3; ++c) {
        for (const Span& sp : columns[c]) {
            if (!(m * (sp.top - sp.bottom) > 0.2)) continue;
            VerticalDimension(kDimensionX[c], m * sp.top, m * sp.bottom);
        }
    }
    const double em = FontSizeMm(kTextStyle);
    for (int c = 0; c < 3; ++c) {
        for (const Span& sp : columns[c]) {
            const double mid = m * (sp.top + sp.bottom) / 2;
            // Running upwards, its glyphs' feet towards the line and clear of the arrowheads, so
            // that only the extension lines at the ends bound it; in half-width letters where the
            // line is too short for the usual ones, so that every value reads the same way.
            const double x = kDimensionX[c] - 1.1 - figure_labels::kDescent * em;
            bool upright = false;
            for (const std::string* t : {&sp.text, &sp.compact}) {
                const double w = TextWidth(kTextStyle, *t);
                if (!upright && ClearOfDrawing(figure_labels::TextBox(w, em, 1, x, mid - w / 2))) {
                    AddText(*t, kTextStyle, 1, x, mid - w / 2);
                    upright = true;
                }
            }
            if (!upright) {
                labels.push_back(
                    {sp.text, kTextStyle, kDimensionX[c], mid, {Side::kLeft, Side::kRight}, true});
            }
        }
    }
}

struct Layout {
    double m = 1;   // mm per m, vertically
    double ox = 0;  // placement of the origin in the frame
    double oy = 0;
};

void Draw(const Section& s, double W, double F, Layout& out) {
    for (double v : {s.ELGL, s.ELYU, s.ELDL, s.ELWL, s.Z}) Check(v, "標高");
    for (double v : {s.K0X, s.K0Q, s.K1m, s.K1Q, s.K2X1, s.K2X2, s.K2Ho, s.K2Gs, s.K2Q}) {
        Check(v, "載荷重の寸法");
    }
    for (const auto& v : {s.tip, s.frontWater, s.virtualGround, s.adoptedGround}) {
        if (v) Check(*v, "標高");
    }
    if (s.embedment) Check(*s.embedment, "根入れ長");
    for (const Stratum& l : s.strata) Check(l.top, "標高");
    if (!(W > kWallX + 20) || !(F > kTopRoom + kBottomRoom + 10)) Unusable("枠の大きさ");
    const double back = W - kWallX;  // room behind the wall
    const double frontWater = s.frontWater.value_or(s.ELDL);
    const double bottomZ = s.ELDL - std::max(s.Z, 0.0);
    const int shape = s.Keijyo == 0 ? 0 : s.Keijyo == 1 ? 1 : 2;
    const double ho = shape == 2 ? std::max(s.K2Ho, 0.0) : 0.0;

    double top = std::max({s.ELGL + ho, s.ELYU, s.ELWL, frontWater, s.ELDL});
    double bottom = std::min({bottomZ, s.ELDL, s.ELGL, s.ELWL, frontWater});
    for (const auto& v : {s.tip, s.virtualGround, s.adoptedGround}) {
        if (!v) continue;
        top = std::max(top, *v);
        bottom = std::min(bottom, *v);
    }
    // The embedment 3/β measured down from the virtual ground, which a short pile need not reach.
    if (const auto& g = s.adoptedGround ? s.adoptedGround : s.virtualGround; g && s.embedment)
        bottom = std::min(bottom, *g - *s.embedment);
    const double span = std::max(top - bottom, 0.5);
    const double room = F - kTopRoom - kBottomRoom;
    // A constant slope is drawn at its true angle as far as it stays within a third of the
    // height; its rise (mm) then sits above the ground surface.
    const bool slope = shape == 1 && s.K1m > 0.01;
    const double slopeRun = slope ? std::min(back - 6, s.K1m * room / 3) : 0;
    const double slopeRise = slope ? slopeRun / s.K1m : 0;
    double m = room / span;
    if (slope) m = std::min(m, (room - slopeRise) / std::max(s.ELGL - bottom, 0.1));
    m = basResOutPrn::Checked(m);
    const double yTop = std::max(m * top, m * s.ELGL + slopeRise);
    out.m = m;
    out.ox = kWallX;
    out.oy = F - kTopRoom - yTop;

    const double yGL = m * s.ELGL, yYU = m * s.ELYU, yDL = m * s.ELDL, yWL = m * s.ELWL;
    const double yFW = m * frontWater, yZ = m * bottomZ;
    std::vector<Wanted> labels;      // of the surcharge, placed after the levels
    figure_labels::Area embankment;  // where the embankment's unit weight stands

    // The wall: to its tip, or while no pile is chosen solid down to the design ground level and
    // dashed to the depth examined.
    if (s.tip) {
        Seg(0, yYU, 0, m * *s.tip, kWall);
    } else {
        Seg(0, yYU, 0, yDL, kWall);
        Seg(0, yDL, 0, yZ, kDashed);
    }

    // In front: the design ground level, the water level, the virtual ground surface.
    Seg(-kFront, yDL, 0, yDL, kThin);
    // The hatching under the design ground stops short of a virtual ground line just below it.
    double hatch = 3.0;
    for (const auto& v : {s.virtualGround, s.adoptedGround}) {
        const double gap = m * (s.ELDL - v.value_or(s.ELDL));
        if (gap > 0.01) hatch = std::min(hatch, gap - 0.8);
    }
    if (hatch >= 1.0) AddGroundGlyphs(-24, yDL, 3, hatch);
    const bool waterAtGround = std::fabs(frontWater - s.ELDL) < 0.0005;
    WaterMark(-6, yFW);
    if (!waterAtGround) Seg(-kFront, yFW, 0, yFW, kDashed);
    for (const auto& v : {s.virtualGround, s.adoptedGround}) {
        if (v) Seg(-kFront, m * *v, 0, m * *v, kDashDot);
    }
    // The bottom of the depth examined, across both sides.
    Seg(-kFront, yZ, back - 2, yZ, kDotted);

    // Behind: the ground surface of the surcharge shape.
    double glyphX = back * 0.35, glyphY = yGL;
    switch (shape) {
        case 0: {
            Seg(0, yGL, back - 2, yGL, kThin);
            const double x = std::max(s.K0X, 0.0);
            // Not to scale across: Ｘ gets room enough to be read, at most the ground's.
            const double hs = x > 0 ? std::min(std::max(m, 15 / x), (back - 30) / x) : m;
            const double xq = hs * x;
            if (s.K0Q > 0) {
                LoadBlock(
                    xq + 1, back - 4, [&](double) { return yGL; }, "Ｑ ＝ " + Load(s.K0Q), labels);
            }
            if (xq > 1) {
                Dimension(0, yGL + 3, xq, yGL + 3);
                labels.push_back(
                    {"Ｘ ＝ " + Metres(s.K0X), kTextStyle, xq / 2, yGL + 3, {Side::kAbove}, true});
            }
            break;
        }
        case 1: {
            const double run = slope ? slopeRun : back - 2;
            auto y = [&](double x) { return yGL + (slope ? x / s.K1m : 0.0); };
            Seg(0, yGL, run, y(run), kThin);
            if (s.K1Q > 0) LoadBlock(2, run - 2, y, "ｑ ＝ " + Load(s.K1Q), labels);
            const double beta = slope ? std::atan(1.0 / s.K1m) * 180.0 / 3.141592653589793 : 90.0;
            labels.push_back({"勾配 1:" + numfmt::FormatNumber(s.K1m, "#0.0##") + "（β ＝ " +
                                  numfmt::FormatNumber(beta, "#0.0") + "°）",
                              kTextStyle,
                              run * 0.6,
                              y(run * 0.6),
                              {Side::kBelowRight},
                              true});
            glyphX = run * 0.25;
            glyphY = y(glyphX);
            break;
        }
        default: {
            const double x1m = std::max(s.K2X1, 0.0), x2m = std::max(s.K2X2, 0.0);
            const double xs = x1m + x2m;
            const double hs = xs > 0 ? std::min(std::max(m, 30 / xs), (back - 24) / xs) : m;
            const double x1 = hs * x1m, x2 = hs * (x1m + x2m), yCrest = yGL + m * ho;
            if (x1 > 0) Seg(0, yGL, x1, yGL, kThin);
            Seg(x1, yGL, x2, yCrest, kThin);
            Seg(x2, yCrest, back - 2, yCrest, kThin);
            // The original ground under the embankment, and the crest's edge.
            Seg(x1, yGL, back - 2, yGL, kDotted);
            if (m * ho > 1) Seg(x2, yGL, x2, yCrest, kDotted);
            if (s.K2Q > 0) {
                LoadBlock(
                    x2 + 1, back - 4, [&](double) { return yCrest; }, "Ｑ ＝ " + Load(s.K2Q),
                    labels);
            }
            // Ｘ1 above the ground before the embankment's toe, Ｘ2 above its slope.
            if (x1 > 1) {
                Dimension(0, yGL + 2, x1, yGL + 2);
                labels.push_back({"Ｘ1 ＝ " + Metres(s.K2X1),
                                  kTextStyle,
                                  x1 / 2,
                                  yGL + 2,
                                  {Side::kAbove},
                                  true});
            }
            if (x2 - x1 > 1) {
                Dimension(x1, yCrest + 2, x2, yCrest + 2);
                labels.push_back({"Ｘ2 ＝ " + Metres(s.K2X2),
                                  kTextStyle,
                                  (x1 + x2) / 2,
                                  yCrest + 2,
                                  {Side::kAbove},
                                  true});
            }
            if (m * ho > 1) {
                Dimension(x2 + 3, yGL, x2 + 3, yCrest);
                labels.push_back({"Ｈo ＝ " + Metres(s.K2Ho),
                                  kTextStyle,
                                  x2 + 3,
                                  (yGL + yCrest) / 2,
                                  {Side::kRight, Side::kAboveRight},
                                  true});
            }
            // The unit weight inside the embankment it belongs to.
            embankment = {{x1, yGL}, {back - 2, yGL}, {back - 2, yCrest}, {x2, yCrest}};
            // At the foot of its right-hand end, leaving the middle to Ｈo's value.
            const std::string gamma =
                "盛土部γ ＝ " + numfmt::FormatNumber(s.K2Gs, "#0.0") + " kN/m^3";
            const double em = FontSizeMm(kTextStyle);
            labels.push_back({gamma,
                              kTextStyle,
                              back - 3 - TextWidth(kTextStyle, gamma) / 2,
                              yGL + em,
                              {Side::kCentre},
                              true});
            glyphX = back - 18;
            break;
        }
    }
    AddGroundGlyphs(glyphX, glyphY, 3);
    // The groundwater level behind the wall.
    Seg(0, yWL, back - 2, yWL, kDashed);
    // Its name above the line right of the mark where the drawing leaves it room there, the
    // layers' names keeping the rest of the ground for themselves; else near the mark.
    const std::string wlText = NamedLevel("地下水位面", s.ELWL);
    const double wlWidth = TextWidth(kTextStyle, wlText), em = FontSizeMm(kTextStyle);
    const bool wlRight =
        wlWidth < 27 && ClearOfDrawing(figure_labels::TextBox(
                            wlWidth, em, 3, back - 27.8, yWL + 0.6 + figure_labels::kDescent * em));
    WaterMark(back - (wlRight ? 30 : 22), yWL);
    // Layered ground: each boundary across the ground on both sides of the wall with its
    // elevation, each layer's number and soil within it.
    std::vector<Wanted> strata;
    if (s.strata.size() > 1) {
        for (std::size_t i = 0; i < s.strata.size(); ++i) {
            const double top = i == 0 ? s.ELGL : s.strata[i].top;
            const double below = i + 1 < s.strata.size() ? s.strata[i + 1].top : bottomZ;
            if (!(top > bottomZ)) break;
            const double y = m * top;
            if (i > 0) {
                Seg(0, y, back - 2, y, kThin);
                if (top < s.ELDL) Seg(-kFront, y, 0, y, kThin);
                // A boundary at the groundwater or the design ground level has its elevation
                // named with that level.
                if (std::fabs(top - s.ELWL) >= 0.0005 && std::fabs(top - s.ELDL) >= 0.0005) {
                    strata.push_back({LevelText(top),
                                      kTextStyle,
                                      back - 2,
                                      y,
                                      {Side::kAboveLeft, Side::kBelowLeft},
                                      true});
                }
            }
            // In the middle of the layer, or of its larger part where the groundwater level
            // crosses it (the name would sit on that line).
            double lo = std::max(below, bottomZ), hi = top;
            if (s.ELWL < hi && s.ELWL > lo) (hi - s.ELWL > s.ELWL - lo ? lo : hi) = s.ELWL;
            const double mid = m * (hi + lo) / 2;
            strata.push_back({"第" + std::to_string(i + 1) + "層 " +
                                  (s.strata[i].kind == 0 ? "砂質土" : "粘性土"),
                              kTextStyle,
                              back * 0.55,
                              mid,
                              {Side::kCentre, Side::kRight, Side::kLeft},
                              true});
        }
    }

    // Scale bar: a nice length at the foot of the drawing, ticks at its ends and middle.
    const double step = ScaleStep(m);
    const double yb = m * bottom, yt = yb + step * m;
    Seg(kScaleX, yb, kScaleX, yt, kMedium);
    for (double y : {yb, (yb + yt) / 2, yt}) Seg(kScaleX - 1, y, kScaleX + 1, y, kThin);
    const std::string stepText = numfmt::FormatNumber(step, step < 1 ? "0.0" : "0") + " m";
    std::vector<Wanted> measures;  // dimension values that found no room beside their lines
    Dimensions(s, m, measures);

    // The labels, the levels first: each with its name and elevation.
    std::vector<Wanted> all;
    auto push = [&](const std::string& text, double x, double y, std::vector<Side> sides) {
        all.push_back({text, kTextStyle, x, y, std::move(sides), true});
    };
    // Under the clayey 0.5 m rule the computed virtual ground is often the design ground level
    // itself: one label names both. The adopted one lies within 0.5 m under it: its name goes
    // below its line before the others are placed, so that the names keep the order of their
    // levels.
    const bool computedAtDL =
        s.virtualGround && s.adoptedGround && std::fabs(*s.virtualGround - s.ELDL) < 0.0005;
    // Above the design ground in front, a text per line where the names do not fit on one, the
    // one nearest the line placed first.
    std::vector<std::string> dlNames = {waterAtGround ? "設計地盤面（前面水位）" : "設計地盤面"};
    if (computedAtDL) dlNames.emplace_back("計算上の仮想地盤面");
    const std::vector<std::string> dlTexts = LevelLabels(dlNames, s.ELDL, kFront - 1.2);
    const double pitch = FontSizeMm(kTextStyle) * (1 + figure_labels::kDescent) + 0.6;
    if (s.adoptedGround) {
        push(NamedLevel("採用した仮想地盤面", *s.adoptedGround), -kFront, m * *s.adoptedGround,
             {Side::kBelowRight, Side::kAboveRight});
    }
    for (std::size_t k = dlTexts.size(); k-- > 0;) {
        push(dlTexts[k], -kFront, yDL + pitch * double(dlTexts.size() - 1 - k),
             {Side::kAboveRight});
    }
    if (!waterAtGround) push(NamedLevel("前面水位", frontWater), -7.6, yFW + 1.2, {Side::kLeft});
    push(NamedLevel("矢板天端", s.ELYU), 0, yYU, {Side::kAboveLeft, Side::kLeft});
    push(NamedLevel("地表面", s.ELGL), 0.6, yGL, {Side::kBelowRight, Side::kAboveRight});
    if (wlRight) {
        push(wlText, back - 28.4, yWL, {Side::kAboveRight});
    } else {
        push(wlText, back - 20.4, yWL + 1.2, {Side::kLeft, Side::kRight});
    }
    if (s.virtualGround && s.adoptedGround) {
        if (!computedAtDL) {
            push(NamedLevel("計算上の仮想地盤面", *s.virtualGround), -kFront, m * *s.virtualGround,
                 {Side::kAboveRight, Side::kBelowRight});
        }
    } else if (s.virtualGround) {
        push(NamedLevel("仮想地盤面", *s.virtualGround), -kFront, m * *s.virtualGround,
             {Side::kBelowRight, Side::kAboveRight});
    }
    if (s.tip)
        push(NamedLevel("矢板先端", *s.tip), 0, m * *s.tip, {Side::kRight, Side::kBelowRight});
    push(NamedLevel("検討する深さの下端", bottomZ) + "（Ｚ ＝ " + Metres(s.Z) + "）", back - 2, yZ,
         {Side::kBelowLeft, Side::kAboveLeft});
    for (Wanted& w : strata) all.push_back(std::move(w));
    for (Wanted& w : labels) all.push_back(std::move(w));
    for (Wanted& w : measures) all.push_back(std::move(w));
    push(stepText, kScaleX + 1, (yb + yt) / 2, {Side::kRight, Side::kLeft});
    if (!s.tip) push("（矢板は未選定）", 0, (yDL + yZ) / 2, {Side::kRight, Side::kLeft});
    if (!s.calculated) {
        push("（計算結果がないため仮想地盤面は示していません）", -out.ox + 1, F - out.oy - 1,
             {Side::kBelowRight});
    }
    const figure_labels::Box frame{-out.ox + 0.5, -out.oy + 0.5, W - out.ox - 0.5,
                                   F - out.oy - 0.5};
    // The embankment's label (the last of the surcharge's) stands inside the embankment.
    std::vector<figure_labels::Area> areas(all.size());
    if (!embankment.empty()) {
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i].text.rfind("盛土部γ", 0) == 0) areas[i] = embankment;
    }
    figure_labels::PlaceInDrawing(all, kThin, &frame, &areas);
}

}  // namespace

Section CurrentSection(const Results& results, bool calculated) {
    const CInpJyoken& j = gInpJyoken;
    Section s;
    s.ELGL = j.ELGL;
    s.ELYU = j.ELYU;
    s.ELDL = j.ELDL;
    s.ELWL = j.ELWL;
    s.Z = j.Z;
    s.Keijyo = j.Keijyo;
    s.K0X = j.K0X;
    s.K0Q = j.K0Q;
    s.K1m = j.K1m;
    s.K1Q = j.K1Q;
    s.K2X1 = j.K2X1;
    s.K2X2 = j.K2X2;
    s.K2Ho = j.K2Ho;
    s.K2Gs = j.K2Gs;
    s.K2Q = j.K2Q;
    if (gInpYaita.InpFlg && gInpYaita.L > 0) s.tip = j.ELYU - gInpYaita.L;
    const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
    s.frontWater = ChannelWaterLevel(j);
    if (!gInpJiban.Layers.empty()) {
        for (const CInpJibanLayer& l : GroundLayers(gInpJiban, j.ELGL)) {
            s.strata.push_back({l.ELU, l.Kind});
        }
    }
    s.calculated = calculated;
    if (calculated) {
        if (results.dl && results.dl->Error() == 0) {
            s.virtualGround = results.dl->ELDLX();
            // The clayey 0.5 m rule takes the loads down to another level than the computed one.
            if (results.ComputedVirtualGroundApart())
                s.adoptedGround = results.AdoptedVirtualGround();
        }
        if (s.tip && kind) {
            if (const EmbedRow* e = results.sections.Embed(*kind, gInpYaita.Sect)) {
                if (e->ell > 0) s.embedment = e->ell;
            }
        }
    }
    return s;
}

Drawn BuildStructureFigure(const Section& s, double W, double F) {
    ClearAll();
    if (LineStyleCount == 0) LoadLineStyles(LineStyleFile());
    if (TextStyleCount < kTextStyle) LoadTextStyles(TextStyleFile());
    Layout layout;
    Draw(s, W, F, layout);
    return {BuildFigureFile("構造図", "断面"), layout.ox, layout.oy};
}

std::string DrawStructureFigure(const Section& s, double W, double F) {
    ClearAll();
    LoadLineStyles(LineStyleFile());
    LoadTextStyles(TextStyleFile());
    Layout layout;
    Draw(s, W, F, layout);
    const std::string sub = basResOutPrn::NewFigureFile();
    AddSubFigure(sub, layout.ox, layout.oy);
    WriteFigureFile(sub, "構造図", "断面");
    const std::string path = basResOutPrn::NewFigureFile();
    WriteCompositeFile(path, "構造図", W, F);
    return path;
}

void WriteStructureFigure(const Results& results) {
    zu::WriteFigureBlock(print_job::kStructureFigure, "構造図", kFrameHeight,
                         [&results] { return DrawStructureFigure(CurrentSection(results, true)); });
}

}  // namespace kuvelt::basZuStructure
