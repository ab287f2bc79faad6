#include "calc/nekiri.h"

#include <cmath>

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

// Boiling factor for one embedment depth: 2 gamma' d / (Hw gamma_w).
double clsNekiriAnteiAs::Factor(double d) const {
    if (NoHead()) return kNoFailure;
    return double(2.0 * Num(Gws) * d / (Num(Hw) * Gw));
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

bool CalcNekiriAntei(std::vector<Message>* messages) {
    if (gInpJyoken.Nekiri == 0) return true;
    bool ok = true;
    try {
        // Excavation depth, head above the design ground level and the embedment of the chosen
        // pile below it, its top at its own level (a head above the ground surface must not
        // count as embedment).
        const double H = double(Num(gInpJyoken.ELGL) - gInpJyoken.ELDL);
        const double Hw = double(Num(gInpJyoken.ELWL) - gInpJyoken.ELDL);
        const double D = double(gInpYaita.L - (Num(gInpJyoken.ELYU) - gInpJyoken.ELDL));
        if (gInpJiban.Kind == 0) {
            clsNekiriAnteiAs& as = *gNekiriAnteiAs;
            as.Gws = gInpJiban.Gws;
            as.Gw = gInpJiban.Gw;
            as.Hw = Hw;
            as.D = D;
            as.Fa = gInpJyoken.Fsb;
            ok = as.Calc();
        } else {
            clsNekiriAnteiAc& ac = *gNekiriAnteiAc;
            ac.Gt = gInpJiban.Gt;
            ac.Gws = gInpJiban.Gws;
            ac.Gw = gInpJiban.Gw;
            ac.Q = CurrentSurchargeIntensity();
            ac.Ca = gInpJiban.Ca;
            ac.Cb = gInpJiban.Cb;
            ac.H = H;
            ac.Hw = Hw;
            ac.D = D;
            ac.Fa = gInpJyoken.Fsh;
            ok = ac.Calc();
        }
    } catch (const CalcFault&) {
        return false;
    }
    if (!ok && messages != nullptr) messages->push_back(NekiriCalcErrorMessage());
    return true;
}

}  // namespace kuvelt
