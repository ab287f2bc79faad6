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

using fault::Num;

// Shape of a load layer's pressure diagram.
enum Shape { kNone = 0, kTrapezoid = 1, kUniform = 2, kZeroTop = 3, kZeroBottom = 4 };

Shape ClassifyShape(double PU, double PL) {
    if (std::fabs(PU) < 0.001 && std::fabs(PL) < 0.001) return kNone;
    if (std::fabs(double(Num(PU) - PL)) < 0.001) return kUniform;
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
            const double l = RoundHalfUp(Num(WU) - f.EL, 3);
            const double pun = RoundHalfUp(f.PL + l * (Num(f.PU) - f.PL) / f.H, 2);
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
            const double l = RoundHalfUp(Num(b.EU) - WL, 3);
            const double pln = RoundHalfUp(b.PU + l * (Num(b.PL) - b.PU) / b.H, 2);
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
        const Num above = Num(WU) - top;
        if (above > 0.001) Qdo_.Add(WU, double(above), 0.0, 0.0, 1, true);
        const double bottom = fault::At(Qdo_, Qdo_.Count()).EL;
        const Num below = Num(bottom) - WL;
        if (below > 0.001) Qdo_.Add(bottom, double(below), 0.0, 0.0);
    } else {
        Qdo_.Add(WU, double(Num(WU) - WL), 0.0, 0.0);
    }
}

void clsPressure::AddDetail(const clsPressureLoad& q) {
    const double y0 = RoundHalfUp(Num(q.EL) - WL, 3);
    const Num H = q.H;
    auto rectangle = [&] {
        const double pi = RoundHalfUp(H * q.PU, 2);
        const double yi = RoundHalfUp(y0 + 0.5 * H, 3);
        Detail_.Add(0, q.PU, y0, q.H, pi, yi, RoundHalfUp(Num(yi) * pi, 2));
    };
    auto upper = [&] {
        const double pi = RoundHalfUp(H * 0.5 * q.PU, 2);
        const double yi = RoundHalfUp((2.0 / 3.0) * H + y0, 3);
        Detail_.Add(1, q.PU, y0, q.H, pi, yi, RoundHalfUp(Num(yi) * pi, 2));
    };
    auto lower = [&] {
        const double pi = RoundHalfUp(H * 0.5 * q.PL, 2);
        const double yi = RoundHalfUp(H / 3.0 + y0, 3);
        Detail_.Add(2, q.PL, y0, q.H, pi, yi, RoundHalfUp(Num(yi) * pi, 2));
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
        Num p = 0.0;
        Num m = 0.0;
        for (const clsPressureDetail& d : Detail_) {
            p += d.Pi;
            m += d.Mi;
        }
        P_ = double(p);
        M_ = double(m);
        Y_ = 0.0;
        if (std::fabs(P_) > 0.001) Y_ = RoundHalfUp(Num(M_) / P_, 3);
        ELY_ = RoundHalfUp(Num(WL) + Y_, 3);
    });
}

}  // namespace kuvelt
