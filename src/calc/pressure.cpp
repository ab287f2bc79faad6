#include "calc/pressure.h"

#include <cmath>

#include "calc/fault.h"
#include "calc/rounding.h"

namespace kuvelt {

clsPressureLoad* colPressureLoad::Add(double dblEU, double dblH, double dblPU, double dblPL,
                                      int32_t lngIndex, bool blnBefore) {
    return AddItem(clsPressureLoad{dblEU, dblEU - dblH, dblH, dblPU, dblPL}, lngIndex, blnBefore);
}

clsPressureDetail* colPressureDetail::Add(int32_t lngSection, double dblP, double dblY, double dblH,
                                          double dblPi, double dblYi, double dblMi,
                                          int32_t lngIndex, bool blnBefore) {
    return AddItem(clsPressureDetail{lngSection, dblP, dblY, dblH, dblPi, dblYi, dblMi}, lngIndex,
                   blnBefore);
}

namespace {

// Shape of a load layer's pressure diagram.
enum Shape { kNone = 0, kTrapezoid = 1, kUniform = 2, kZeroTop = 3, kZeroBottom = 4 };

Shape ClassifyShape(double PU, double PL) {
    if (std::fabs(PU) < 0.001 && std::fabs(PL) < 0.001) return kNone;
    if (std::fabs(fault::Sub(PU, PL)) < 0.001) return kUniform;
    if (std::fabs(PU) < 0.001) return kZeroTop;
    if (std::fabs(PL) >= 0.001) return kTrapezoid;
    return kZeroBottom;
}

}  // namespace

void clsPressure::ClipToRange() {
    Qdo_.Clear();
    for (const clsPressureLoad& q : Qdi_) {
        if (q.EL < WU && q.EU > WL && q.H > 0.001) Qdo_.Add(q.EU, q.H, q.PU, q.PL);
    }
    if (Qdo_.Count() > 0) {
        clsPressureLoad& f = fault::At(Qdo_, 1);
        if (f.EU > WU) {
            // Cut at the upper level, the top pressure interpolated on the layer's line.
            const double l = RoundHalfUp(fault::Sub(WU, f.EL), 3);
            const double pun = RoundHalfUp(
                fault::Add(f.PL, fault::Div(fault::Mul(l, fault::Sub(f.PU, f.PL)), f.H)), 2);
            if (l > 0.001) {
                f.EU = WU;
                f.H = l;
                f.PU = pun;
            } else {
                Qdo_.Remove(1);
            }
        }
    }
    if (Qdo_.Count() > 0) {
        clsPressureLoad& b = fault::At(Qdo_, Qdo_.Count());
        if (b.EL < WL) {
            const double l = RoundHalfUp(fault::Sub(b.EU, WL), 3);
            const double pln = RoundHalfUp(
                fault::Add(b.PU, fault::Div(fault::Mul(l, fault::Sub(b.PL, b.PU)), b.H)), 2);
            if (l > 0.001) {
                b.EL = WL;
                b.H = l;
                b.PL = pln;
            } else {
                Qdo_.Remove(Qdo_.Count());
            }
        }
    }
    if (Qdo_.Count() > 0) {
        const double top = fault::At(Qdo_, 1).EU;
        if (fault::Sub(WU, top) > 0.001) Qdo_.Add(WU, fault::Sub(WU, top), 0.0, 0.0, 1, true);
        const double bottom = fault::At(Qdo_, Qdo_.Count()).EL;
        if (fault::Sub(bottom, WL) > 0.001) Qdo_.Add(bottom, fault::Sub(bottom, WL), 0.0, 0.0);
    } else {
        Qdo_.Add(WU, fault::Sub(WU, WL), 0.0, 0.0);
    }
}

void clsPressure::AddDetail(const clsPressureLoad& q) {
    const double y0 = RoundHalfUp(fault::Sub(q.EL, WL), 3);
    auto rectangle = [&] {
        const double pi = RoundHalfUp(fault::Mul(q.H, q.PU), 2);
        const double yi = RoundHalfUp(fault::Add(y0, fault::Mul(0.5, q.H)), 3);
        Detail_.Add(0, q.PU, y0, q.H, pi, yi, RoundHalfUp(fault::Mul(yi, pi), 2));
    };
    auto upper = [&] {
        const double pi = RoundHalfUp(fault::Mul(fault::Mul(q.H, 0.5), q.PU), 2);
        const double yi = RoundHalfUp(fault::Add(fault::Mul(2.0 / 3.0, q.H), y0), 3);
        Detail_.Add(1, q.PU, y0, q.H, pi, yi, RoundHalfUp(fault::Mul(yi, pi), 2));
    };
    auto lower = [&] {
        const double pi = RoundHalfUp(fault::Mul(fault::Mul(q.H, 0.5), q.PL), 2);
        const double yi = RoundHalfUp(fault::Add(fault::Div(q.H, 3.0), y0), 3);
        Detail_.Add(2, q.PL, y0, q.H, pi, yi, RoundHalfUp(fault::Mul(yi, pi), 2));
    };
    switch (ClassifyShape(q.PU, q.PL)) {
        case kNone:
            break;
        case kTrapezoid:
            // Also a layer whose pressure changes sign: the two triangles carry opposite signs.
            upper();
            lower();
            break;
        case kUniform:
            rectangle();
            break;
        case kZeroTop:
            lower();
            break;
        case kZeroBottom:
            upper();
            break;
    }
}

void clsPressure::Calc() {
    error_ = 0;
    fault::Guard(error_, [&] {
        ClipToRange();
        Detail_.Clear();
        for (const clsPressureLoad& q : Qdo_) AddDetail(q);
        double p = 0.0;
        double m = 0.0;
        for (const clsPressureDetail& d : Detail_) {
            p = fault::Add(p, d.Pi);
            m = fault::Add(m, d.Mi);
        }
        P_ = p;
        M_ = m;
        Y_ = 0.0;
        if (std::fabs(P_) > 0.001) Y_ = RoundHalfUp(fault::Div(M_, P_), 3);
        ELY_ = RoundHalfUp(fault::Add(WL, Y_), 3);
    });
}

}  // namespace kuvelt
