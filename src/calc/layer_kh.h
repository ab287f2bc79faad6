// The coefficient of horizontal subgrade reaction of layered ground as Chang's method takes it:
// the thickness-weighted mean over the depth 1/β below the virtual ground surface, the last layer
// going on below the depth examined, and the characteristic value β that depends on it. Units:
// m, kN/m3, 1/m.
#pragma once

#include <algorithm>
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
// `form(kh)` is the pass's closed form for uniform ground (a fourth root of Kh over the section's
// rigidity; it may raise CalcFault) and Kh(d) the mean over the depth d below `top`.
//
// β⁴ = c·Kh(1/β) is β³ = c·F(1/β) with F(d) = d·Kh(d) the integral of Kh over the depth d: the
// left side rises with β, the right side falls, so there is one root, and it lies between the β
// of the softest and of the stiffest layer below `top`. Repeating β ← form(Kh(1/β)) need not
// reach it (it swings for ever where a deeper layer is several times stiffer than the mean), so
// the bracket is halved until it is far narrower than the fourth decimal the passes round β to.
// When every layer below `top` has the same Kh the closed form is taken as it is.
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
    double lo = double(form(kmin));
    double hi = double(form(kmax));
    // 1e-12 1/m: eight decimals below the rounding of β, some sixty halvings at most.
    for (int i = 0; i < 100 && hi - lo > 1e-12; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi) break;
        if (mid < double(form(MeanKhBelow(layers, top, 1.0 / mid)))) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    const double beta = 0.5 * (lo + hi);
    return LayeredBeta{beta, MeanKhBelow(layers, top, double(fault::Num(1.0) / beta))};
}

}  // namespace kuvelt
