#include "calc/chang.h"

#include "calc/fault.h"

namespace kuvelt {

double ChangBeta = 0.0;
double ChangMmax = 0.0;
double ChangLm = 0.0;

namespace {

// Pi to ten significant digits, as in every published form of these formulas.
constexpr double kPi = 3.141592654;

}  // namespace

bool CalcChang(int32_t lngCase, double B, double h, double P, double I, double Ek, double KH) {
    using namespace fault;
    ChangBeta = 0.0;
    ChangMmax = 0.0;
    ChangLm = 0.0;
    if (lngCase != 1 && lngCase != 2) return false;
    try {
        // Flexural rigidity per metre of wall, kN*m2.
        const double EI = Mul(Mul(Ek, 1000.0), I);
        const double beta = Root4(Div(Mul(Mul(0.25, KH), B), EI));
        ChangBeta = beta;
        if (lngCase == 1) {
            // Load at the virtual ground: Mmax = -(P / beta) e^(-pi/4) sin(pi/4).
            const double mmax = Mul(Mul(-Div(P, beta), Exp(-(kPi / 4.0))), Sin(kPi / 4.0));
            const double lm = Div(Mul(0.25, kPi), beta);
            ChangMmax = mmax;
            ChangLm = lm;
        } else {
            // Load at height h: t = 2 beta h + 1.
            const double t = Add(Mul(Mul(2.0, beta), h), 1.0);
            const double phi = Atan(Div(1.0, t));
            const double mmax = Mul(
                Div(Mul(Mul(-P, h), Sqrt(Add(Mul(t, t), 1.0))), Mul(Mul(2.0, beta), h)), Exp(-phi));
            const double lm = Div(phi, beta);
            ChangMmax = mmax;
            ChangLm = lm;
        }
    } catch (const CalcFault&) {
        return false;
    }
    return true;
}

}  // namespace kuvelt
