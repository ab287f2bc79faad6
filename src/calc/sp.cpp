#include "calc/sp.h"

#include "calc/fault.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "model/design.h"

namespace kuvelt {

namespace {
// Angles go to radians and back with this value of π, as the earth-pressure tables always did.
constexpr double kPi = 3.141592654;

double ToRad(double deg) { return fault::Div(fault::Mul(deg, kPi), 180.0); }
double ToDeg(double rad) { return fault::Div(fault::Mul(rad, 180.0), kPi); }
double Sq(double v) { return fault::Pow(v, 2.0); }
}  // namespace

clsSpJiban* colSpJiban::Add(int32_t lngNo, double dblEU, double dblH, int32_t lngKind, double dblGs,
                            double dblFai, double dblCU, double dblCL, double dblKhU, double dblKhL,
                            int32_t lngIndex, bool blnBefore) {
    clsSpJiban j;
    j.No = lngNo;
    j.EU = dblEU;
    j.EL = dblEU - dblH;
    j.H = dblH;
    j.Kind = lngKind;
    j.Gs = dblGs;
    j.Fai = dblFai;
    j.CU = dblCU;
    j.CL = dblCL;
    j.KhU = dblKhU;
    j.KhL = dblKhL;
    return AddItem(j, lngIndex, blnBefore);
}

double GetKa(double phi, double beta, double alpha, double delta, double theta) {
    try {
        using namespace fault;
        const double t = Div(Mul(Sin(Add(phi, delta)), Sin(Sub(Sub(phi, beta), theta))),
                             Mul(Cos(Add(Add(alpha, delta), theta)), Cos(Sub(alpha, beta))));
        double d = Mul(Mul(Sq(Cos(alpha)), Cos(theta)), Cos(Add(Add(alpha, delta), theta)));
        // A slope or seismic angle beyond φ leaves the root term out.
        if (t >= 0.0) d = Mul(d, Sq(Add(1.0, Sqrt(t))));
        return Div(Sq(Cos(Sub(Sub(phi, alpha), theta))), d);
    } catch (const CalcFault&) {
        return -1.0;
    }
}

double GetZetaA(double phi, double beta, double alpha, double delta, double theta) {
    try {
        using namespace fault;
        const double s = Sqrt(Div(Mul(Cos(Add(Add(alpha, delta), theta)), Sin(Add(phi, delta))),
                                  Mul(Cos(Sub(alpha, beta)), Sin(Sub(Sub(phi, beta), theta)))));
        const double h = Sub(Add(Add(phi, delta), alpha), beta);
        const double c = Sub(Div(s, Cos(h)), Tan(h));
        return Add(beta, Atan(Div(1.0, c)));
    } catch (const CalcFault&) {
        return beta;
    }
}

double GetKp(double phi, double beta, double alpha, double delta, double theta) {
    try {
        using namespace fault;
        const double t = Div(Mul(Sin(Sub(phi, delta)), Sin(Sub(Add(phi, beta), theta))),
                             Mul(Cos(Sub(Add(alpha, delta), theta)), Cos(Sub(alpha, beta))));
        // No guard for a negative t: the passive wedge has no solution then.
        const double d = Mul(Mul(Mul(Sq(Sub(1.0, Sqrt(t))), Sq(Cos(alpha))), Cos(theta)),
                             Cos(Sub(Add(alpha, delta), theta)));
        return Div(Sq(Cos(Sub(Add(phi, alpha), theta))), d);
    } catch (const CalcFault&) {
        return -1.0;
    }
}

double GetZetaP(double phi, double beta, double alpha, double delta, double theta) {
    try {
        using namespace fault;
        const double l = Div(Mul(Sin(Sub(phi, delta)), Cos(Sub(Add(alpha, delta), theta))),
                             Mul(Cos(Sub(alpha, beta)), Sin(Sub(Add(phi, beta), theta))));
        const double h = Add(Sub(Sub(phi, delta), alpha), beta);
        const double c = Add(Div(Sqrt(l), Cos(h)), Tan(h));
        return Add(beta, Atan(Div(1.0, c)));
    } catch (const CalcFault&) {
        return -1.0;
    }
}

namespace {

using CoefFn = double (*)(double, double, double, double, double);

// The pressure lines of one side. Each layer is computed into a copy and stored whole, so a fault
// leaves the layer in error and the later ones as they were.
void CalcSide(bool active, double Q, double Beta, double Jei, double Delta, colSpJiban& jiban,
              double& q2, int32_t& error) {
    error = 0;
    const CoefFn coef = active ? GetKa : GetKp;
    const CoefFn zeta = active ? GetZetaA : GetZetaP;
    fault::Guard(error, [&] {
        const double beta = ToRad(Beta);
        const double alpha = ToRad(Jei);
        const double delta = ToRad(Delta);
        q2 = RoundHalfUp(
            fault::Div(fault::Mul(fault::Cos(alpha), Q), fault::Cos(fault::Sub(alpha, beta))), 2);
        double sigma = q2;
        for (clsSpJiban& stored : jiban) {
            clsSpJiban j = stored;
            j.GH = RoundHalfUp(fault::Mul(j.Gs, j.H), 2);
            const double sigmaL = fault::Add(sigma, j.GH);
            if (j.Kind == 0) {
                const double phi = ToRad(j.Fai);
                j.TU = RoundHalfUp(ToDeg(fault::Atan(j.KhU)), 2);
                j.TL = RoundHalfUp(ToDeg(fault::Atan(j.KhL)), 2);
                const double thetaU = ToRad(j.TU);
                const double thetaL = ToRad(j.TL);
                const double kU = coef(phi, beta, alpha, delta, thetaU);
                j.ZetaU = RoundHalfUp(ToDeg(zeta(phi, beta, alpha, delta, thetaU)), 1);
                j.KaU = RoundHalfUp(fault::Mul(fault::Cos(delta), kU), 4);
                const double kL = coef(phi, beta, alpha, delta, thetaL);
                j.ZetaL = RoundHalfUp(ToDeg(zeta(phi, beta, alpha, delta, thetaL)), 1);
                j.KaL = RoundHalfUp(fault::Mul(fault::Cos(delta), kL), 4);
                j.PaU = RoundHalfUp(fault::Mul(sigma, j.KaU), 2);
                j.PaL = RoundHalfUp(fault::Mul(sigmaL, j.KaL), 2);
                j.PU = j.PaU;
                j.PL = j.PaL;
            } else if (active) {
                // Cohesive soil: overburden less twice the cohesion, never below half the
                // overburden.
                j.P1U = RoundHalfUp(fault::Sub(sigma, fault::Mul(2.0, j.CU)), 2);
                j.P1L = RoundHalfUp(fault::Sub(sigmaL, fault::Mul(2.0, j.CL)), 2);
                j.P2U = RoundHalfUp(fault::Mul(0.5, sigma), 2);
                j.P2L = RoundHalfUp(fault::Mul(0.5, sigmaL), 2);
                j.PaU = j.P1U > j.P2U ? j.P1U : j.P2U;
                j.PaL = j.P1L > j.P2L ? j.P1L : j.P2L;
                j.ZetaU = j.ZetaL = 45.0;
            } else {
                j.PaU = RoundHalfUp(fault::Add(sigma, fault::Mul(2.0, j.CU)), 2);
                j.PaL = RoundHalfUp(fault::Add(sigmaL, fault::Mul(2.0, j.CL)), 2);
                j.ZetaU = j.ZetaL = 45.0;
            }
            j.GHU = sigma;
            j.GHL = sigmaL;
            stored = j;
            sigma = sigmaL;
        }
    });
}

// Ground layer table of one side: one layer from `top` with thickness `h`, split at the
// groundwater level and at `extra` when given.
void BuildLayers(clsKh& kh, double top, double h, const double* extra) {
    kh.RWL = gInpJyoken.ELWL;
    kh.AddEL().Clear();
    if (extra != nullptr) kh.AddEL().Add(*extra);
    kh.Jiban().Clear();
    kh.Jiban().Add(2, top, h, gInpJiban.Gt, fault::Add(gInpJiban.Gws, 10.0));
    kh.Calc();
}

// The side's layers with the cohesion at their depth below the ground surface behind the wall.
void FillLayers(const clsKh& kh, colSpJiban& out) {
    const CInpJiban& g = gInpJiban;
    const double ELGL = gInpJyoken.ELGL;
    out.Clear();
    for (const clsKhJiban& k : kh.Jiban()) {
        const double zU = fault::Sub(ELGL, k.EU);
        const double zL = fault::Add(zU, k.H);
        const double cU = RoundHalfUp(fault::Add(fault::Mul(g.Ca, zU), g.Cb), 1);
        const double cL = RoundHalfUp(fault::Add(fault::Mul(g.Ca, zL), g.Cb), 1);
        out.Add(k.No, k.EU, k.H, g.Kind, k.Gs3, g.Fai, cU, cL, 0.0, 0.0);
    }
}

}  // namespace

void clsSpa::Calc() { CalcSide(true, Q, Beta, Jei, Delta, Jiban_, Q2_, error_); }

void clsSpp::Calc() { CalcSide(false, Q, Beta, Jei, Delta, Jiban_, Q2_, error_); }

void CalcActive() {
    const CInpJyoken& c = gInpJyoken;
    const double ELGL = c.ELGL;
    const double ELDL = c.ELDL;
    const double Q = gQqw->Q();

    clsKh& kh = gKhActive.New();
    BuildLayers(kh, ELGL, fault::Add(fault::Sub(ELGL, ELDL), c.Z), &ELDL);

    clsSpa& spa = gSpa.New();
    spa.ELDL = ELDL;
    spa.ELGL = ELGL;
    spa.Q = Q;
    // The ground slope behind a constant-slope surface, 1 : m.
    spa.Beta = gQqw->Keijyo == 1 ? ToDeg(fault::Atan(fault::Div(1.0, c.K1m))) : 0.0;
    spa.Jei = 0.0;
    spa.Delta = 15.0;
    FillLayers(kh, spa.Jiban());
    spa.Calc();
}

void CalcPassive() {
    const CInpJyoken& c = gInpJyoken;
    const double ELGL = c.ELGL;
    const double ELDL = c.ELDL;

    clsKh& kh = gKhPassive.New();
    BuildLayers(kh, ELDL, c.Z, nullptr);

    clsSpp& spp = gSpp.New();
    spp.ELDL = ELDL;
    spp.ELGL = ELGL;
    spp.Q = 0.0;
    spp.Beta = 0.0;
    spp.Jei = 0.0;
    spp.Delta = -15.0;
    FillLayers(kh, spp.Jiban());
    spp.Calc();
}

}  // namespace kuvelt
