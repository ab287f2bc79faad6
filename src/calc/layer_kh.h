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

// The layers' shares below the elevation `top` (the adopted virtual ground), laid out once for
// all the sections of a pass: each section then finds its β from the same profile.
class KhProfile {
  public:
    KhProfile(const std::vector<CInpJibanLayer>& layers, double top);

    // MeanKhBelow(layers, top, depth), to the bit.
    double MeanBelow(double depth) const;

    // The β of a pass of the section checks in layered ground: the root of β = (q·Kh(1/β))^¼,
    // with q = B / (4EI) of the section and Kh(d) the mean over the depth d below `top`.
    // `form(kh)` is the pass's own closed form of (q·kh)^¼ for uniform ground (it may raise
    // CalcFault): taken as it is when every layer below `top` has the same Kh.
    //
    // With d = 1/β and F(d) = d·Kh(d) the integral of Kh over the depth d, the equation is
    // q·F(d)·d³ = 1: the left side rises with d, so there is one root, and its β lies between
    // the β of the softest and of the stiffest layer below `top`. Repeating β ← form(Kh(1/β))
    // need not reach it (it swings for ever where a deeper layer is several times stiffer than
    // the mean). The share holding the root is found from the shares' ends; inside it F is a
    // straight line of d, and the root is bracketed and narrowed down (below).
    template <class Form>
    LayeredBeta Beta(double q, Form form) const;

  private:
    // A layer's share of the ground below `top`: from the depth `from` (F there `f`) down to
    // `to`, the last one going on for ever. `sum`, `thickness` and `uniform` are the running
    // sums of the mean up to and including the share, added in the order MeanKhBelow adds them.
    struct Share {
        double from = 0.0, to = 0.0, f = 0.0, kh = 0.0;
        double top = 0.0;  // elevation of the share's top
        double sum = 0.0, thickness = 0.0;
        bool uniform = true;
    };
    std::vector<Share> shares_;
    double top_ = 0.0;
    double kmin_ = 0.0, kmax_ = 0.0;
};

template <class Form>
LayeredBeta KhProfile::Beta(double q, Form form) const {
    if (shares_.empty()) return LayeredBeta{double(form(0.0)), 0.0};
    if (kmin_ == kmax_) return LayeredBeta{double(form(kmin_)), kmin_};
    // β rises with Kh: the softest layer's β and the stiffest's bracket the root.
    double hi = std::sqrt(std::sqrt(q * kmax_));
    double lo = std::sqrt(std::sqrt(q * kmin_));
    // The share holding the root: the first whose end lies below the root's depth.
    std::size_t i = 0;
    for (; i + 1 < shares_.size(); ++i) {
        const Share& s = shares_[i];
        const double fTo = s.f + s.kh * (s.to - s.from);
        if (q * fTo * s.to * s.to * s.to >= 1.0) break;
    }
    const Share& s = shares_[i];
    if (s.from > 0.0) hi = std::min(hi, 1.0 / s.from);
    if (i + 1 < shares_.size()) lo = std::max(lo, 1.0 / s.to);
    // In that share F(d) = a + k·d (d between the share's ends, so β between their inverses),
    // and q·F(d)·d³ = 1 is g(β) = β⁴ − q·(a·β + k) = 0, g rising with β there. The bracket
    // [lo, hi] around the root shrinks with every step: a Halley step (it gains three times the
    // digits each time) where it stays inside the bracket, else the bracket's middle
    // (bisection), so the search always ends. A step below 1e-9 leaves β exact to the last bit,
    // far below the fourth decimal the passes round it to.
    const double k = s.kh;
    const double a = s.f - k * s.from;
    double beta = 0.5 * (lo + hi);
    for (int n = 0; n < 200; ++n) {
        const double sq = beta * beta;
        const double g = sq * sq - q * (a * beta + k);
        const double d1 = 4.0 * sq * beta - q * a;
        const double step = 2.0 * g * d1 / (2.0 * d1 * d1 - g * 12.0 * sq);
        if (std::fabs(step) < 1e-9) {
            beta -= step;
            break;
        }
        if (g < 0.0) {
            lo = beta;
        } else {
            hi = beta;
        }
        beta -= step;
        if (!(beta > lo && beta < hi)) beta = 0.5 * (lo + hi);
        if (hi - lo < 1e-12) break;
    }
    return LayeredBeta{beta, MeanBelow(double(fault::Num(1.0) / beta))};
}

}  // namespace kuvelt
