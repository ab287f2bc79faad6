#include "calc/chang.h"

#include "calc/fault.h"

namespace kuvelt {

double ChangBeta = 0.0;
double ChangMmax = 0.0;
double ChangLm = 0.0;

namespace {

using fault::Num;

// Pi to ten significant digits, as in every published form of these formulas.
constexpr Num kPi = 3.141592654;

}  // namespace

bool CalcChang(int32_t lngCase, Num B, Num h, Num P, Num I, Num Ek, Num KH) {
    ChangBeta = 0.0;
    ChangMmax = 0.0;
    ChangLm = 0.0;
    if (lngCase != 1 && lngCase != 2) return false;
    try {
        // Flexural rigidity per metre of wall, kN*m2.
        const Num EI = Ek * 1000.0 * I;
        const Num beta = Root4(0.25 * KH * B / EI);
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

}  // namespace kuvelt
