#include "calc/qqw.h"

#include "calc/fault.h"
#include "calc/rounding.h"

namespace kuvelt {

namespace {
// The value of π the surcharge tables were always computed with.
constexpr double kPi = 3.141592654;
using fault::Num;
}  // namespace

double InfluenceFactor(Num x) {
    try {
        const Num x2 = 1.0 + x * x;
        const double k = 2.0 / kPi;
        const Num a = x2 * k * Atan(x);
        return RoundHalfUp(x2 - a - k * x, 3);
    } catch (const CalcFault&) {
        return 0.0;
    }
}

void clsQqw::Calc() {
    error_ = 0;
    QQ_ = Qw_ = Q_ = 0.0;
    fault::Guard(error_, [&] {
        if (Keijyo == 0) {
            Xq_ = D1X;
            // A wall of no height is never divided by: the relative distance keeps its value.
            if (H > 0.001) XHq_ = RoundHalfUp(Num(Xq_) / H, 2);
            Iq_ = InfluenceFactor(XHq_);
            QQ_ = RoundHalfUp(Num(Iq_) * D1Q, 1);
        } else if (Keijyo == 1) {
            // On a constant slope the surcharge acts in full; the slope enters the earth
            // pressure through the ground slope angle.
            Qw_ = 0.0;
            Xq_ = 0.0;
            XHq_ = 0.0;
            Iq_ = 1.0;
            QQ_ = D2Q;
        } else {
            // Embankment weight, reduced for the distance of the slope's centre.
            Xw_ = RoundHalfUp(Num(D3X2) * 0.5 + D3X1, 2);
            if (H > 0.001) XHw_ = RoundHalfUp(Num(Xw_) / H, 2);
            Iw_ = InfluenceFactor(XHw_);
            Qw_ = RoundHalfUp(Num(D3Gs) * D3Ho * Iw_, 1);
            // The crest surcharge starts at the top of the slope; beyond H + Ho it is ignored.
            Xq_ = double(Num(D3X1) + D3X2);
            if (Xq_ < Num(H) + D3Ho) {
                if (H > 0.001) XHq_ = RoundHalfUp(Num(Xq_) / H, 2);
                Iq_ = InfluenceFactor(XHq_);
                QQ_ = RoundHalfUp(Num(Iq_) * D3Q, 1);
            }
        }
        Q_ = double(Num(Qw_) + QQ_);
    });
}

}  // namespace kuvelt
