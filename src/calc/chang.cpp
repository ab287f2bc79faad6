#include "calc/chang.h"

#include "calc/fault.h"
#include "calc/layer_kh.h"

namespace kuvelt {

double ChangBeta = 0.0;
double ChangMmax = 0.0;
double ChangLm = 0.0;
double ChangKh = 0.0;

namespace {

using fault::Num;

// Pi to ten significant digits, as in every published form of these formulas.
constexpr Num kPi = 3.141592654;

// Mmax and its depth for the characteristic value beta; false on an arithmetic fault.
bool ChangFromBeta(int32_t lngCase, Num h, Num P, Num beta) {
    try {
        ChangBeta = double(beta);
        if (lngCase == 1) {
            // Load at the virtual ground: Mmax = -(P / beta) e^(-pi/4) sin(pi/4).
            const Num mmax = -(P / beta) * Exp(-(kPi / 4.0)) * Sin(kPi / 4.0);
            const Num lm = 0.25 * kPi / beta;
            ChangMmax = double(mmax);
            ChangLm = double(lm);
        } else {
            // Load at height h: t = 2 beta h + 1.
            const Num t = 2.0 * beta * h + 1.0;
            const Num phi = Atan(1.0 / t);
            const Num mmax = -P * h * Sqrt(t * t + 1.0) / (2.0 * beta * h) * Exp(-phi);
            const Num lm = phi / beta;
            ChangMmax = double(mmax);
            ChangLm = double(lm);
        }
    } catch (const CalcFault&) {
        return false;
    }
    return true;
}

// Back to nothing computed; false for a load case other than 1 and 2.
bool Start(int32_t lngCase) {
    ChangBeta = 0.0;
    ChangMmax = 0.0;
    ChangLm = 0.0;
    ChangKh = 0.0;
    return lngCase == 1 || lngCase == 2;
}

}  // namespace

bool CalcChang(int32_t lngCase, Num B, Num h, Num P, Num I, Num Ek, Num KH) {
    if (!Start(lngCase)) return false;
    Num beta;
    try {
        // Flexural rigidity per metre of wall, kN*m2.
        const Num EI = Ek * 1000.0 * I;
        beta = Root4(0.25 * KH * B / EI);
    } catch (const CalcFault&) {
        return false;
    }
    ChangKh = double(KH);
    return ChangFromBeta(lngCase, h, P, beta);
}

bool CalcChang(int32_t lngCase, Num B, Num h, Num P, Num I, Num Ek,
               const std::vector<CInpJibanLayer>& layers, double top) {
    return CalcChang(lngCase, B, h, P, I, Ek, KhProfile(layers, top));
}

bool CalcChang(int32_t lngCase, Num B, Num h, Num P, Num I, Num Ek, const KhProfile& ground) {
    if (!Start(lngCase)) return false;
    LayeredBeta solved;
    try {
        const Num EI = Ek * 1000.0 * I;
        solved =
            ground.Beta(double(0.25 * B / EI), [&](Num kh) { return Root4(0.25 * kh * B / EI); });
    } catch (const CalcFault&) {
        return false;
    }
    ChangKh = solved.kh;
    return ChangFromBeta(lngCase, h, P, solved.beta);
}

}  // namespace kuvelt
