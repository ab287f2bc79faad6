// The coefficient of horizontal subgrade reaction of layered ground as Chang's method takes it:
// the thickness-weighted mean over the depth 1/β below the virtual ground surface, the last layer
// going on below the depth examined, and the characteristic value β that depends on it. Units:
// m, kN/m3, 1/m.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

#include "calc/fault.h"
#include "model/design.h"

namespace kuvelt {

// One layer's share of the depth averaged over.
struct KhPart {
    double top = 0.0;        // elevation of the share's top, m
    double thickness = 0.0;  // m
    double kh = 0.0;         // the layer's Kh, kN/m3
};

// The shares of the layers in the `depth` below the elevation `top`, from the top down.
std::vector<KhPart> KhPartsBelow(const std::vector<CInpJibanLayer>& layers, double top,
                                 double depth);
// Their thickness-weighted mean; exactly the layers' Kh when all shares have the same one.
double MeanKh(const std::vector<KhPart>& parts);
// MeanKh(KhPartsBelow(layers, top, depth)), to the bit, without building the shares.
double MeanKhBelow(const std::vector<CInpJibanLayer>& layers, double top, double depth);

// β of a pile in the ground below `top` and the Kh it was found with.
struct LayeredBeta {
    double beta = 0.0;  // 1/m, unrounded
    double kh = 0.0;    // kN/m3, the mean over 1/β below `top`
};

// The β of a pass of the section checks in layered ground: the root of β = form(Kh(1/β)), where
// `form(kh)` is the pass's closed form for uniform ground, (q·kh)^¼ with q = B / (4EI) of the
// section (it may raise CalcFault), and Kh(d) the mean over the depth d below `top`.
//
// With d = 1/β and F(d) = d·Kh(d) the integral of Kh over the depth d, the equation is
// q·F(d)·d³ = 1: the left side rises with d, so there is one root, and its β lies between the β
// of the softest and of the stiffest layer below `top`. Repeating β ← form(Kh(1/β)) need not
// reach it (it swings for ever where a deeper layer is several times stiffer than the mean).
// The layer holding the root is found from the ends of the layers' shares; inside it F is a
// straight line of d, and the root is bracketed and narrowed down (below). When every layer below
// `top` has the same Kh the closed form is taken as it is.
template <class Form>
LayeredBeta SolveLayeredBeta(const std::vector<CInpJibanLayer>& layers, double top, Form form) {
    if (layers.empty()) return LayeredBeta{double(form(0.0)), 0.0};
    const std::size_t first = LayerIndexAt(layers, top);
    double kmin = layers[first].KH, kmax = kmin;
    for (std::size_t i = first + 1; i < layers.size(); ++i) {
        kmin = std::min(kmin, layers[i].KH);
        kmax = std::max(kmax, layers[i].KH);
    }
    if (kmin == kmax) return LayeredBeta{double(form(kmin)), kmin};
    // β rises with Kh: the softest layer's β and the stiffest's bracket the root.
    double hi = double(form(kmax));
    const double q = hi * hi * hi * hi / kmax;
    double lo = std::sqrt(std::sqrt(q * kmin));
    // The share holding the root: from the depth `from` (F there `f`) with the layer's Kh `k`.
    double from = 0.0, f = 0.0, k = layers[first].KH;
    for (std::size_t i = first; i + 1 < layers.size(); ++i) {
        k = layers[i].KH;
        const double to = top - std::min(top, layers[i + 1].ELU);
        if (to <= from) continue;
        const double fTo = f + k * (to - from);
        if (q * fTo * to * to * to >= 1.0) break;  // the root lies above the share's end
        from = to;
        f = fTo;
        k = layers[i + 1].KH;
    }
    if (from > 0.0) hi = std::min(hi, 1.0 / from);
    // In that share F(d) = a + k·d, so q·F(d)·d³ = 1 is g(β) = β⁴ − q·(a·β + k) = 0, g rising
    // with β there. The bracket [lo, hi] around the root shrinks with every step: a Newton step
    // where it stays inside the bracket, else the bracket's middle (bisection), so the search
    // always ends, in a few steps, far below the fourth decimal the passes round β to.
    const double a = f - k * from;
    double beta = 0.5 * (lo + hi);
    for (int i = 0; i < 200; ++i) {
        const double sq = beta * beta;
        const double g = sq * sq - q * (a * beta + k);
        if (g < 0.0) {
            lo = beta;
        } else {
            hi = beta;
        }
        double next = beta - g / (4.0 * sq * beta - q * a);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        const bool done = std::fabs(next - beta) < 1e-13 || hi - lo < 1e-12;
        beta = next;
        if (done) break;
    }
    return LayeredBeta{beta, MeanKhBelow(layers, top, double(fault::Num(1.0) / beta))};
}

}  // namespace kuvelt
