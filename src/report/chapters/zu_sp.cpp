#include "report/chapters/zu_sp.h"

#include <algorithm>
#include <cmath>

#include "calc/result_store.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/numbering.h"
#include "report/prn.h"
#include "report/prnz.h"

namespace kuvelt::basZuSp {
namespace {

using namespace basResOutPrnZ;
using basResOutPrn::Checked;

constexpr int32_t kTextStyle = 2;
constexpr int32_t kAlignRight = 3;  // text runs to the right of its anchor
constexpr int32_t kArrowCode = 7;
constexpr const char* kLevelPicture = "+#0.00;-#0.00";
constexpr const char* kTickPicture = "+#0.000;-#0.000";
constexpr const char* kValuePicture = "####0.00";

struct Layer {
    double EU = 0, EL = 0, H = 0, PU = 0, PL = 0;
};

// Values staged when the diagram is drawn.
struct Staged {
    double ELGL = 0;
    double ELDL = 0;
    double maxP = 0;
    std::vector<Layer> layers;
};
Staged g;

void Stage() {
    g = Staged{};
    g.ELGL = gInpJyoken.ELGL;
    g.ELDL = gInpJyoken.ELDL;
    const colPressureLoad& q = gPressure->Qdo();
    if (q.Count() > kMaxLayers) {
        throw PrintFault(vberr::kSubscript,
                         "荷重分布図の荷重層が" + std::to_string(kMaxLayers) + "を超えています");
    }
    for (const clsPressureLoad& l : q) g.layers.push_back({l.EU, l.EL, l.H, l.PU, l.PL});
    if (g.layers.empty()) throw PrintFault(vberr::kObjectMissing, "荷重分布図の荷重層がありません");
}

std::string Num(double v, const char* picture) { return numfmt::FormatNumber(v, picture); }

void Text(const std::string& t, double x, double y) { AddText(t, kTextStyle, kAlignRight, x, y); }

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
    // Elevations, ending 10 mm left of the wall line.
    const std::string gl = Num(g.ELGL, kLevelPicture), dl = Num(g.ELDL, kLevelPicture);
    Text(gl, -10 - TextWidth(kTextStyle, gl), yGL);
    Text(dl, -10 - TextWidth(kTextStyle, dl), yDL);
    AddGroundGlyphs(-35, yDL, 3);
    const std::string path = basResOutPrn::NewFigureFile();
    AddSubFigure(path);
    WriteFigureFile(path, "土圧の計算", "標高");
}

void DrawPressureDiagram(double u, double m) {
    ClearDrawing();
    const double s = FontSizeMm(kTextStyle);
    const double xT = u * g.maxP + 10, xR = xT + 20;
    const auto& L = g.layers;
    Segment(0, m * L.front().EU, 0, m * L.back().EL, 3);
    double prevPL = -1.0, prevHeight = 999.0;
    int32_t c = 0;
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
        if (std::fabs(y.PU - prevPL) > 0.009) {
            const std::string t = Num(y.PU, kValuePicture);
            Text(t, u * y.PU - TextWidth(kTextStyle, t) - 1, yU - s);
        }
        if (y.PU > 0.09) AddArrow(a, kArrowCode, 1);
        {
            const std::string t = Num(y.PL, kValuePicture);
            const double x =
                (2 * s >= std::fabs(yU - yL)) ? u * y.PL - TextWidth(kTextStyle, t) - 1 : u * y.PL;
            Text(t, x, yL);
        }
        if (y.PL > 0.009) AddArrow(dd, kArrowCode, 1);
        Segment(xT, yU, xR, yU, 1);
        {
            const std::string t = Num(y.EU, kTickPicture);
            Text(t, (2 * s < prevHeight) ? xR - TextWidth(kTextStyle, t) - 1 : xT + 1, yU);
        }
        if (i + 1 == L.size()) {
            Segment(xT, yL, xR, yL, 1);
            const std::string t = Num(y.EL, kTickPicture);
            Text(t, xR - TextWidth(kTextStyle, t) - 1, yL);
        }
        auto label = [&](const std::vector<std::pair<double, double>>& poly) {
            if (++c > kMaxPieces) {
                throw PrintFault(
                    vberr::kSubscript,
                    "荷重分布図の荷重番号が" + std::to_string(kMaxPieces) + "を超えています");
            }
            const auto [cx, cy] = PolygonCentroid(poly);
            const std::string t = basResOutPrn::CircledNumeral(c);
            Text(t, u * cx - TextWidth(kTextStyle, t) / 2, m * cy - s / 2);
        };
        if (std::fabs(y.PU - y.PL) >= 0.01) {
            if (y.PU > 0.009) label({{0, y.EL}, {0, y.EU}, {y.PU, y.EU}, {y.PU, y.EU}});
            if (y.PL > 0.009) label({{0, y.EL}, {y.PU, y.EU}, {y.PL, y.EL}, {y.PL, y.EL}});
        } else if (y.PU > 0.009) {
            label({{0, y.EL}, {0, y.EU}, {y.PU, y.EU}, {y.PL, y.EL}});
        }
        prevPL = y.PL;
        prevHeight = m * y.H;
    }
    Segment(0, m * g.ELGL, xR, m * g.ELGL, 1);
    AddGroundGlyphs(xT / 2, m * g.ELGL, 3);
    const std::string path = basResOutPrn::NewFigureFile();
    AddSubFigure(path);
    WriteFigureFile(path, "土圧の計算", "土圧分布図");
}

void PlaceSubFigures(const std::string& path, const std::string& caption, double W, double F) {
    ReadSubFigureExtents();
    if (SubFigureCount >= 1) {
        ZSubFigure& f1 = SubFigures[1];
        f1.X = -f1.MinX;
        f1.Y = F - f1.Height - f1.MinY;
        for (int32_t j = 2; j <= SubFigureCount; ++j) {
            SubFigures[static_cast<std::size_t>(j)].X = f1.X + f1.MinX + f1.Width;
            SubFigures[static_cast<std::size_t>(j)].Y = f1.Y;
        }
    }
    WriteCompositeFile(path, caption, W, F);
}

std::string DrawLoadDiagram(double W, double F) {
    ClearAll();
    LoadLineStyles(LineStyleFile());
    LoadTextStyles(TextStyleFile());
    Stage();
    const double depth = g.ELGL - g.layers.back().EL;
    for (const Layer& l : g.layers) g.maxP = std::max({g.maxP, l.PU, l.PL});
    // A diagram needs a depth and a positive largest pressure to be scaled.
    if (!(depth > 0) || !(g.maxP > 0)) {
        throw PrintFault(vberr::kDivisionByZero, "荷重分布図の縮尺を決められません");
    }
    const double u = Checked((W - kScaleWidth - kTickRoom) / g.maxP);
    const double m = Checked((F - 5) / depth);
    DrawLevelScale(kScaleWidth, m);
    DrawPressureDiagram(u, m);
    const std::string path = basResOutPrn::NewFigureFile();
    PlaceSubFigures(path, "荷重分布図", W, F);
    return path;
}

}  // namespace kuvelt::basZuSp
