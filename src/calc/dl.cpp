#include "calc/dl.h"

#include <cmath>

#include "calc/fault.h"
#include "calc/rounding.h"

namespace kuvelt {

clsDLLoad* colDLLoad::Add(double dblEU, double dblH, double dblPU, double dblPL, int32_t lngIndex,
                          bool blnBefore) {
    return AddItem(clsDLLoad{dblEU, dblEU - dblH, dblH, dblPU, dblPL}, lngIndex, blnBefore);
}

clsDLAddEL* colDLAddEL::Add(double dblEL) { return AddItem(clsDLAddEL{dblEL}); }

namespace {

using fault::Num;

// Pads a list to the common range [bottom, top] with zero-pressure layers. A gap of 1 mm or less
// stays open: the splits below take levels that close as one level, and the lists must keep
// pairing layer by layer (levels in centimetres never leave a gap between 1 and 10 mm).
void ExtendToRange(colDLLoad& c, double top, double bottom) {
    if (c.Count() == 0) {
        c.Add(top, double(Num(top) - bottom), 0.0, 0.0);
        return;
    }
    const double eu = fault::At(c, 1).EU;
    if (top > eu && ThickEnough(Num(top) - eu))
        c.Add(top, double(Num(top) - eu), 0.0, 0.0, 1, true);
    const double el = fault::At(c, c.Count()).EL;
    if (bottom < el && ThickEnough(Num(el) - bottom)) c.Add(el, double(Num(el) - bottom), 0.0, 0.0);
}

// Splits the layers at each break elevation, the first layer strictly containing it; the upper
// part's thickness is kept as SplitThickness keeps it and the pressure at the split to 0.1 kN/m2.
// A constant pressure (the residual water below the channel water) stays what it is: rounding
// 11.76 to 11.8 at a split would print two pressures for one and load the wall with the wrong one.
void SplitAtLevels(colDLLoad& c, const colDLAddEL& levels) {
    for (const clsDLAddEL& level : levels) {
        const double e = level.EL;
        const int32_t n = c.Count();
        for (int32_t j = 1; j <= n; ++j) {
            clsDLLoad& l = fault::At(c, j);
            if (e >= l.EU || e <= l.EL) continue;
            const double h1 = SplitThickness(Num(l.EU) - e);
            const double h2 = double(Num(l.H) - h1);
            const double pm =
                l.PL == l.PU ? l.PU : RoundHalfUp(l.PU + (Num(l.PL) - l.PU) / l.H * h1, 1);
            if (ThickEnough(h1) && ThickEnough(h2)) {
                const double eu = l.EU;
                const double pu = l.PU;
                c.Add(eu, h1, pu, pm, j, true);
                clsDLLoad& lower = fault::At(c, j + 1);
                lower.EU = double(Num(eu) - h1);
                lower.H = h2;
                lower.PU = pm;
            }
            break;
        }
    }
}

// A layer top at the design ground level (within 1 mm) or below it.
bool AtOrBelow(double eu, double eldl) { return !ThickEnough(Num(eu) - eldl); }

}  // namespace

void clsDL::Calc() {
    error_ = 0;
    if (Pa_.Count() == 0) {
        error_ = kNoActive;
        return;
    }
    fault::Guard(error_, [&] { Run(); });
}

void clsDL::Run() {
    interpolated_ = false;
    raw_ = crossPU_ = crossPL_ = 0.0;
    // The common range of the three distributions.
    bool any = false;
    double top = 0.0;
    double bottom = 0.0;
    for (const colDLLoad* c : {&Pa_, &Pw_, &Pp_}) {
        if (c->Count() == 0) continue;
        const double eu = fault::At(*c, 1).EU;
        const double el = fault::At(*c, c->Count()).EL;
        if (!any || eu > top) top = eu;
        if (!any || el < bottom) bottom = el;
        any = true;
    }
    ExtendToRange(Pa_, top, bottom);
    ExtendToRange(Pw_, top, bottom);
    ExtendToRange(Pp_, top, bottom);

    // Every inner boundary of any list becomes a boundary of all three.
    colDLAddEL breaks;
    for (const colDLLoad* c : {&Pa_, &Pw_, &Pp_}) {
        for (int32_t i = 2; i <= c->Count(); ++i) breaks.Add(fault::At(*c, i).EU);
    }
    SplitAtLevels(Pa_, breaks);
    SplitAtLevels(Pw_, breaks);
    SplitAtLevels(Pp_, breaks);

    // Net pressure: active plus water minus passive, layers paired by position.
    Pg_.Clear();
    for (int32_t i = 1; i <= Pa_.Count(); ++i) {
        const clsDLLoad& a = fault::At(Pa_, i);
        const clsDLLoad& w = fault::At(Pw_, i);
        const clsDLLoad& p = fault::At(Pp_, i);
        Pg_.Add(a.EU, a.H, double(Num(a.PU) + w.PU - p.PU), double(Num(a.PL) + w.PL - p.PL));
    }

    // A: the first layer at or below the design ground level whose net pressure falls through
    // zero inside it.
    const clsDLLoad* found_a = nullptr;
    for (const clsDLLoad& g : Pg_) {
        if (AtOrBelow(g.EU, ELDL) && std::fabs(g.PU - g.PL) > 0.01 && g.PU > -0.01 && g.PL < 0.01) {
            found_a = &g;
            break;
        }
    }
    // B: the first boundary at or below the design ground level where the net pressure jumps
    // from non-negative to negative.
    const clsDLLoad* found_b = nullptr;
    for (int32_t i = 2; i <= Pg_.Count(); ++i) {
        const clsDLLoad& g = fault::At(Pg_, i);
        if (AtOrBelow(g.EU, ELDL) && fault::At(Pg_, i - 1).PL > -0.01 && g.PU < 0.0) {
            found_b = &g;
            break;
        }
    }

    double x = 0.0;
    if (found_a != nullptr) {
        const clsDLLoad& a = *found_a;
        ELDLXU_ = a.EU;
        ELDLXL_ = a.EL;
        raw_ = double(a.EU + (Num(a.EU) - a.EL) * a.PU / (Num(a.PL) - a.PU));
        crossPU_ = a.PU;
        crossPL_ = a.PL;
        x = RoundHalfUp(raw_, 2);
        interpolated_ = true;
        if (found_b != nullptr && found_b->EU > x) {
            x = found_b->EU;
            interpolated_ = false;
        }
    } else if (found_b != nullptr) {
        ELDLXU_ = found_b->EU;
        ELDLXL_ = found_b->EL;
        x = found_b->EU;
    } else {
        error_ = kNotFound;
        const clsDLLoad& last = fault::At(Pg_, Pg_.Count());
        ELDLXU_ = last.EU;
        ELDLXL_ = last.EL;
        x = last.EL;
    }
    ELDLX_ = x;
}

}  // namespace kuvelt
