#include "report/chapters/zu_pressure.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/print_job.h"
#include "report/chapters/zu_common.h"
#include "report/figure_labels.h"
#include "report/prn.h"
#include "report/prnz.h"

namespace kuvelt::basZuPressure {
namespace {

using namespace basResOutPrnZ;
using namespace zu;
using figure_labels::Side;
using figure_labels::Wanted;

constexpr double kTopRoom = 14;     // the captions above the distributions
constexpr double kBottomRoom = 6;   // the lowest level's label
constexpr double kLevelRoom = 32;   // named level labels left of the level axis
constexpr double kGap = 14;         // between two distributions, for their values
constexpr double kEarthWidth = 44;  // passive and active together
constexpr double kWaterWidth = 12;
constexpr double kNetWidth = 24;
constexpr double kLargest = 1e6;  // a pressure or level beyond this is not drawn

struct Layer {
    double EU = 0, EL = 0, PU = 0, PL = 0;
};
using Series = std::vector<Layer>;

[[noreturn]] void Unusable(const std::string& what) {
    throw PrintFault(vberr::kInvalidCall, "土圧・水圧分布図の" + what);
}

Series Take(const colDLLoad& c) {
    Series s;
    for (const clsDLLoad& l : c) {
        for (double v : {l.EU, l.EL, l.PU, l.PL}) {
            if (!std::isfinite(v) || std::fabs(v) > kLargest) Unusable("値が数値ではありません");
        }
        s.push_back({l.EU, l.EL, l.PU, l.PL});
    }
    return s;
}

double MaxOf(const Series& s, double sign) {
    double v = 0;
    for (const Layer& l : s) v = std::max({v, sign * l.PU, sign * l.PL});
    return v;
}

std::string Value(double p) { return numfmt::FormatNumber(p, "#0.00"); }

// One distribution drawn from the axis X = x0 with `u` mm per kN/m2 (`sign` -1 draws it to the
// left): its outline, the axis from top to bottom, and a value label at every boundary where
// the pressure is not zero (once where the layers on both sides agree).
void Distribution(const Series& s, double x0, double u, double sign, double m, int32_t style,
                  std::vector<Wanted>& labels) {
    const std::size_t n = s.size();
    Seg(x0, m * s.front().EU, x0, m * s.back().EL, kThin);
    auto x = [&](double p) { return x0 + sign * u * p; };
    // Where a value label goes: away from the axis, on the side the pressure points to.
    auto side = [&](double p) {
        const bool right = sign * p >= 0;
        return right ? std::vector<Side>{Side::kRight, Side::kAboveRight, Side::kBelowRight}
                     : std::vector<Side>{Side::kLeft, Side::kAboveLeft, Side::kBelowLeft};
    };
    double prevPL = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Layer& l = s[i];
        const double yU = m * l.EU, yL = m * l.EL;
        // The jump from the layer above (or from the axis at the top).
        Seg(i == 0 ? x0 : x(prevPL), yU, x(l.PU), yU, style);
        Seg(x(l.PU), yU, x(l.PL), yL, style);
        if (std::fabs(l.PU) >= 0.005 && (i == 0 || std::fabs(l.PU - prevPL) > 0.009)) {
            labels.push_back({Value(l.PU), kTextStyle, x(l.PU), yU, side(l.PU), true});
        }
        if (std::fabs(l.PL) >= 0.005) {
            labels.push_back({Value(l.PL), kTextStyle, x(l.PL), yL, side(l.PL), true});
        }
        prevPL = l.PL;
    }
    Seg(x(prevPL), m * s.back().EL, x0, m * s.back().EL, style);
}

struct Level {
    double z = 0;
    std::string name;
};

}  // namespace

std::string DrawPressureFigure(const Results& results, double W, double F) {
    ClearAll();
    LoadLineStyles(LineStyleFile());
    LoadTextStyles(TextStyleFile());
    const clsDL& dl = chapters::Reached(results.dl);
    const Series pa = Take(dl.Pa()), pw = Take(dl.Pw()), pp = Take(dl.Pp()), pg = Take(dl.Pg());
    const std::size_t n = pa.size();
    if (n == 0) Unusable("土圧の層がありません");
    if (n > static_cast<std::size_t>(kMaxLayers) || pw.size() != n || pp.size() != n ||
        pg.size() != n) {
        throw PrintFault(vberr::kSubscript, "土圧・水圧分布図の層が揃っていないか多すぎます");
    }
    const double top = pa.front().EU, bottom = pa.back().EL;
    if (!(top - bottom > 0.001)) Unusable("深さがありません");
    const double maxPa = MaxOf(pa, 1), maxPp = MaxOf(pp, 1), maxPw = MaxOf(pw, 1);
    const double gPos = MaxOf(pg, 1), gNeg = MaxOf(pg, -1);
    if (!(maxPa + maxPp > 0)) Unusable("土圧がありません");

    const double m = basResOutPrn::Checked((F - kTopRoom - kBottomRoom) / (top - bottom));
    // The computed level, and the adopted one where the clayey 0.5 m rule takes the loads lower.
    // Their names are longer than the other levels': the level axis then takes the room they
    // need from the earth pressures.
    const bool found = dl.Error() == 0;
    std::vector<double> grounds;
    std::vector<const char*> groundNames;
    if (found) {
        grounds.push_back(dl.ELDLX());
        groundNames.push_back("仮想地盤面");
        if (results.ComputedVirtualGroundApart()) {
            grounds.push_back(*results.AdoptedVirtualGround());
            groundNames = {"計算上の仮想地盤面", "採用した仮想地盤面"};
        }
    }
    // The level axis: every boundary with its tick, the named levels with their names.
    const CInpJyoken& j = gInpJyoken;
    std::vector<Level> named = {{j.ELGL, "地表面"},
                                {j.ELWL, "地下水位面"},
                                {j.ELDL, "設計地盤面"},
                                {bottom, "検討する深さの下端"}};
    // The channel water where it stands above the design ground: a boundary of the pressures.
    const double channel = ChannelWaterLevel(j);
    const bool raised = chapters::ChannelWaterRaised(channel);
    if (raised) named.push_back({channel, "前面水位"});
    for (std::size_t i = 0; i < grounds.size(); ++i) named.push_back({grounds[i], groundNames[i]});
    // Layered ground: each layer's top named with its number and soil.
    std::vector<double> boundaries;
    if (chapters::Layered()) {
        const std::vector<CInpJibanLayer> layers = chapters::DesignLayers();
        for (std::size_t i = 0; i < layers.size(); ++i) {
            // The first layer's top is the ground surface, named as such.
            if (i > 0 || std::fabs(layers[i].ELU - j.ELGL) >= 0.0005) {
                named.push_back({layers[i].ELU, "第" + std::to_string(i + 1) + "層上端（" +
                                                    chapters::SoilName(layers[i].Kind) + "）"});
            }
            if (i > 0) boundaries.push_back(layers[i].ELU);
        }
    }
    // The names of the levels take room from the earth pressures as far as they need it.
    double levelRoom = kLevelRoom;
    for (const Level& l : named) {
        const double need = TextWidth(kTextStyle, NamedLevel(l.name, l.z)) + 6;
        if (l.z <= top && l.z >= bottom)
            levelRoom = std::min(std::max(levelRoom, need), kLevelRoom + kEarthWidth / 3);
    }
    const double u1 = (kEarthWidth - (levelRoom - kLevelRoom)) / (maxPa + maxPp);
    const double u2 = maxPw > 0 ? kWaterWidth / maxPw : 0;
    const double u3 = gPos + gNeg > 0 ? kNetWidth / (gPos + gNeg) : 0;
    const double xLevels = -u1 * maxPp - kGap;  // the level axis
    const double xWater = u1 * maxPa + kGap;
    const double xNet = xWater + u2 * maxPw + kGap + u3 * gNeg;
    const double yTop = m * top, yBottom = m * bottom;

    std::vector<Wanted> values;
    Distribution(pp, 0, u1, -1, m, kThin, values);
    Distribution(pa, 0, u1, 1, m, kThin, values);
    Distribution(pw, xWater, u2, 1, m, kThin, values);
    Distribution(pg, xNet, u3, 1, m, kThin, values);
    // The wall line of the earth pressures over the whole depth.
    Seg(0, yTop, 0, yBottom, kWall);

    auto inside = [&](double z) { return z <= top && z >= bottom; };
    std::vector<double> zs;
    for (const Layer& l : pa) zs.push_back(l.EU);
    zs.push_back(bottom);
    for (double z : grounds) {
        if (inside(z)) zs.push_back(z);
    }
    for (double z : boundaries) {
        if (inside(z)) zs.push_back(z);
    }
    // The design ground level and the channel water have their ticks even where the pressures
    // do not change there.
    for (double z : {j.ELDL, raised ? channel : j.ELDL}) {
        if (inside(z)) zs.push_back(z);
    }
    std::sort(zs.begin(), zs.end(), std::greater<>());
    zs.erase(std::unique(zs.begin(), zs.end(),
                         [](double a, double b) { return std::fabs(a - b) < 0.0005; }),
             zs.end());
    Seg(xLevels, yTop, xLevels, yBottom, kThin);
    // Every level's names in one column left of the axis, top to bottom, each text a line
    // apart: a name that close levels push off its tick is joined to it by a short leader.
    struct Row {
        std::string text;
        double z, y;
    };
    std::vector<Row> rows;
    for (double z : zs) {
        Seg(xLevels - 2, m * z, xLevels, m * z, kThin);
        std::vector<std::string> names;
        for (const Level& l : named) {
            if (std::fabs(l.z - z) < 0.0005) names.emplace_back(l.name);
        }
        for (std::string& text : LevelLabels(names, z, levelRoom - 6))
            rows.push_back({std::move(text), z, m * z});
    }
    const double em = FontSizeMm(kTextStyle), h = em * (1 + figure_labels::kDescent);
    const double pitch = h + 0.6;
    const double oy = F - kTopRoom - yTop;
    const double yHigh = F - oy - 1 - h / 2, yLow = -oy + 1 + h / 2;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].y = std::min(rows[i].y, i == 0 ? yHigh : rows[i - 1].y - pitch);
    }
    for (std::size_t i = rows.size(); i-- > 0;) {
        rows[i].y = std::max(rows[i].y, i + 1 == rows.size() ? yLow : rows[i + 1].y + pitch);
    }
    for (const Row& r : rows) {
        Seg(xLevels - 2, m * r.z, xLevels - 4.4, r.y, kThin);
        AddText(r.text, kTextStyle, 3, xLevels - 5 - TextWidth(kTextStyle, r.text),
                r.y - h / 2 + figure_labels::kDescent * em);
    }
    // The layer boundaries across the earth pressures.
    for (double z : boundaries) {
        if (inside(z)) Seg(xLevels, m * z, u1 * maxPa, m * z, kDotted);
    }
    // The virtual ground surface across the three distributions, where Pa + Pw = Pp (and the
    // adopted one, named apart on the level axis).
    for (double z : grounds) {
        if (inside(z)) Seg(xLevels, m * z, xNet + u3 * gPos + 4, m * z, kDashDot);
    }

    // Captions over the distributions, the unit once.
    // The values first, next to their points; the captions then find room above.
    std::vector<Wanted> all;
    for (Wanted& w : values) all.push_back(std::move(w));
    const double yCap = yTop + 4;
    all.push_back({"受働土圧", kTextStyle, -u1 * maxPp / 2, yCap, {Side::kAbove}, true});
    all.push_back({"主働土圧", kTextStyle, u1 * maxPa / 2, yCap, {Side::kAbove}, true});
    all.push_back({"残留水圧", kTextStyle, xWater + u2 * maxPw / 2, yCap, {Side::kAbove}, true});
    all.push_back(
        {"合計 Pa＋Pw－Pp", kTextStyle, xNet + u3 * (gPos - gNeg) / 2, yCap, {Side::kAbove}, true});
    const double ox = -xLevels + levelRoom;
    all.push_back(
        {"（単位：kN/m^2）", kTextStyle, W - ox - 1, F - oy - 1, {Side::kBelowLeft}, true});
    const figure_labels::Box frame{-ox + 0.5, -oy + 0.5, W - ox - 0.5, F - oy - 0.5};
    figure_labels::PlaceInDrawing(all, kThin, &frame);

    const std::string sub = basResOutPrn::NewFigureFile();
    AddSubFigure(sub, ox, oy);
    WriteFigureFile(sub, "土圧・水圧分布図", "分布");
    const std::string path = basResOutPrn::NewFigureFile();
    WriteCompositeFile(path, "土圧・水圧分布図", W, F);
    return path;
}

void WritePressureFigure(const Results& results) {
    zu::WriteFigureBlock(print_job::kPressureFigure, "土圧・水圧分布図", kFrameHeight,
                         [&results] { return DrawPressureFigure(results); });
}

}  // namespace kuvelt::basZuPressure
