#include "calc/nekiri.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "calc/calc_main.h"
#include "calc/fault.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "calc/verdicts.h"
#include "model/design.h"

namespace kuvelt {

NekiriRef<clsNekiriAnteiAs> gNekiriAnteiAs;
NekiriRef<clsNekiriAnteiAc> gNekiriAnteiAc;

namespace {

constexpr double kPi = 3.141592654;
// Safety factor written when there is nothing to fail: no head difference or no overburden.
constexpr double kNoFailure = 999.0;
// Depths of the boiling reference table: 20 steps of 0.5 m.
constexpr int kTableRows = 20;
constexpr double kTableStep = 0.5;

// "at least Fa", judged on F as the report prints it.
bool AtLeast(double f, double fa) { return !BelowAsPrinted(f, printed::kFactor, fa); }

using fault::Num;

}  // namespace

double clsNekiriAnteiAs::MeanGws(double d) const {
    if (GwsLayers.empty()) return Gws;
    Num sum = 0.0, thickness = 0.0;
    bool uniform = true;
    for (std::size_t i = 0; i < GwsLayers.size() && GwsLayers[i].depth < d; ++i) {
        const double to = i + 1 < GwsLayers.size() ? std::min(d, GwsLayers[i + 1].depth) : d;
        if (!(to > GwsLayers[i].depth)) continue;
        uniform = uniform && GwsLayers[i].value == GwsLayers.front().value;
        sum += Num(GwsLayers[i].value) * (Num(to) - GwsLayers[i].depth);
        thickness += Num(to) - GwsLayers[i].depth;
    }
    if (uniform || !(thickness > 0.0)) return GwsLayers.front().value;
    return double(sum / thickness);
}

// Boiling factor for one embedment depth: 2 gamma' d / (Hw gamma_w), gamma' the mean over d.
double clsNekiriAnteiAs::Factor(double d) const {
    if (NoHead()) return kNoFailure;
    return double(2.0 * Num(MeanGws(d)) * d / (Num(Hw) * Gw));
}

bool clsNekiriAnteiAs::Calc() {
    error_ = 0;
    // A reused instance must never show the last design's results after a fault.
    f_ = 0.0;
    hantei_ = false;
    ichiran_.Clear();
    fault::Guard(error_, [&] {
        f_ = Factor(D);
        hantei_ = AtLeast(f_, Fa);
        Num d = Num(RoundHalfUp(D, 0)) - 5.0;
        if (d < 0.0) d = 0.0;
        for (int i = 0; i < kTableRows; ++i) {
            d += kTableStep;
            ichiran_.Add(double(d), Factor(double(d)));
        }
    });
    return error_ == 0;
}

bool clsNekiriAnteiAc::Calc() {
    error_ = 0;
    f_ = 0.0;
    w_ = 0.0;
    hantei_ = false;
    fault::Guard(error_, [&] {
        // Soil above the water level with its wet weight, below it saturated (gamma' + gamma_w).
        Num h1 = Num(H) - Hw;
        Num h2 = Hw;
        if (h1 < 0.0) h1 = 0.0;
        if (h2 < 0.0) h2 = 0.0;
        const Num W = h1 * Gt + (Num(Gws) + Gw) * h2 + Q;
        w_ = double(W);
        if (W <= 0.001) {
            f_ = kNoFailure;
        } else if (Layered) {
            f_ = double(2.0 / W * (Num(C0) * kPi + 2.0 * Sqrt(2.0 * Num(Ca) * CI)));
        } else {
            // Resistance of the clay along the slip circle, c = Ca z + Cb growing with depth.
            const Num ca = Ca;
            const Num root = Sqrt(Pow(ca, 2.0) * Pow(Num(H), 2.0) + 2.0 * ca * Cb * H);
            f_ = double(2.0 / W * ((ca * H + Cb) * kPi + 2.0 * root));
        }
        hantei_ = AtLeast(f_, Fa);
    });
    return error_ == 0;
}

void ResetNekiriAntei() {
    gNekiriAnteiAs.Reset();
    gNekiriAnteiAc.Reset();
}

Message NekiriNoResultMessage(const std::string& title) {
    return Message{0, "根切り底面の安定検討時に計算ｴﾗｰが発生しているため，結果はありません。",
                   title, MsgIcon::Information, MsgButtons::Ok};
}

Message NekiriCalcErrorMessage() {
    return Message{0, "根切り底面の安定検討時に計算ｴﾗｰが発生しました。", "根切り底面の安定検討",
                   MsgIcon::Information, MsgButtons::Ok};
}

namespace {

// The thickness-weighted mean of a layer value over the ground from `top` down to `bottom`
// (elevations); the value of the layer at `bottom` when the range is empty. Exactly the layers'
// value where they all have one.
double MeanOver(const std::vector<CInpJibanLayer>& layers, double top, double bottom,
                double CInpJibanLayer::*value) {
    const std::size_t first = LayerIndexAt(layers, top);
    Num sum = 0.0, thickness = 0.0;
    std::optional<double> only;  // the one value while every share has it
    bool uniform = true;
    for (std::size_t i = first; i < layers.size(); ++i) {
        const double from = i == first ? top : layers[i].ELU;
        const double to = i + 1 < layers.size() ? std::max(bottom, layers[i + 1].ELU) : bottom;
        if (from > to) {
            const double v = layers[i].*value;
            if (!only) only = v;
            uniform = uniform && v == *only;
            sum += Num(v) * (Num(from) - to);
            thickness += Num(from) - to;
        }
        if (to <= bottom) break;
    }
    if (!only) return layers[LayerIndexAt(layers, bottom)].*value;
    return uniform ? *only : double(sum / thickness);
}

// Boiling in layered ground: gamma' of the layers below the design ground level, from the layer
// holding it down.
std::vector<DepthValue> SubmergedBelow(const std::vector<CInpJibanLayer>& layers, double ELDL) {
    std::vector<DepthValue> out;
    const std::size_t first = LayerIndexAt(layers, ELDL);
    out.push_back(DepthValue{0.0, layers[first].Gws});
    for (std::size_t i = first + 1; i < layers.size(); ++i) {
        out.push_back(DepthValue{double(Num(ELDL) - layers[i].ELU), layers[i].Gws});
    }
    return out;
}

// Heaving in layered ground: the overburden's mean unit weights above and below the groundwater,
// and the cohesion of the clay: c0 and a of the layer below the excavation bottom, and the
// cohesion integrated over the clayey layers above it (c = a u + b, u from each layer's top).
void FillLayeredHeaving(clsNekiriAnteiAc& ac, const std::vector<CInpJibanLayer>& layers,
                        const CInpJyoken& c) {
    const double ELGL = c.ELGL, ELDL = c.ELDL;
    const double water = std::min(std::max(c.ELWL, ELDL), ELGL);
    ac.Layered = true;
    ac.Gt = MeanOver(layers, ELGL, water, &CInpJibanLayer::Gt);
    ac.Gws = MeanOver(layers, water, ELDL, &CInpJibanLayer::Gws);
    const CInpJibanLayer& below = layers[LayerIndexAt(layers, ELDL)];
    ac.Ca = below.Ca;
    ac.Cb = below.Cb;
    ac.C0 = double(Num(below.Ca) * (Num(below.ELU) - ELDL) + below.Cb);
    Num integral = 0.0;
    for (std::size_t i = 0; i < layers.size() && layers[i].ELU > ELDL; ++i) {
        if (layers[i].Kind == 0) continue;
        const double bottom = i + 1 < layers.size() ? std::max(ELDL, layers[i + 1].ELU) : ELDL;
        const Num u = Num(layers[i].ELU) - bottom;
        integral += Num(layers[i].Ca) * u * u / 2.0 + Num(layers[i].Cb) * u;
    }
    ac.CI = double(integral);
}

}  // namespace

bool CalcNekiriAntei(std::vector<Message>* messages) {
    if (gInpJyoken.Nekiri == 0) return true;
    bool ok = true;
    try {
        const CInpJyoken& c = gInpJyoken;
        const CInpJiban& g = gInpJiban;
        const std::vector<CInpJibanLayer> layers = GroundLayers(g, c.ELGL);
        const std::size_t below = LayerIndexAt(layers, c.ELDL);
        // Excavation depth, head above the design ground level and the embedment of the chosen
        // pile below it, its top at its own level (a head above the ground surface must not
        // count as embedment).
        const double H = double(Num(c.ELGL) - c.ELDL);
        const double Hw = double(Num(c.ELWL) - c.ELDL);
        const double D = double(gInpYaita.L - (Num(c.ELYU) - c.ELDL));
        // The layer directly below the excavation bottom decides the check.
        if (layers[below].Kind == 0) {
            clsNekiriAnteiAs& as = *gNekiriAnteiAs;
            as.Gws = layers[below].Gws;
            as.Gw = g.Gw;
            // The flow under the wall is driven from the groundwater to the channel water.
            as.Hw = double(Num(c.ELWL) - ChannelWaterLevel(c));
            as.D = D;
            as.Fa = c.Fsb;
            as.GwsLayers.clear();
            if (layers.size() > 1) as.GwsLayers = SubmergedBelow(layers, c.ELDL);
            ok = as.Calc();
        } else {
            // The channel water's weight on the excavation bottom is left out, on the safe side.
            clsNekiriAnteiAc& ac = *gNekiriAnteiAc;
            ac.Gt = g.Gt;
            ac.Gws = g.Gws;
            ac.Gw = g.Gw;
            ac.Q = CurrentSurchargeIntensity();
            ac.Ca = g.Ca;
            ac.Cb = g.Cb;
            ac.H = H;
            ac.Hw = Hw;
            ac.D = D;
            ac.Fa = c.Fsh;
            ac.Layered = false;
            ac.C0 = ac.CI = 0.0;
            // Ground of one layer down to below the bottom keeps the uniform clay's formula.
            if (below > 0) FillLayeredHeaving(ac, layers, c);
            ok = ac.Calc();
        }
    } catch (const CalcFault&) {
        return false;
    }
    if (!ok && messages != nullptr) messages->push_back(NekiriCalcErrorMessage());
    return true;
}

}  // namespace kuvelt
