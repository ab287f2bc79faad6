#include "calc/sp.h"

#include <optional>
#include <vector>

#include "calc/fault.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "model/design.h"

namespace kuvelt {

namespace {
// Angles go to radians and back with this value of π, as the earth-pressure tables always did.
constexpr double kPi = 3.141592654;

using fault::Num;

Num ToRad(Num deg) { return deg * kPi / 180.0; }
Num ToDeg(Num rad) { return rad * 180.0 / kPi; }
Num Sq(Num v) { return Pow(v, 2.0); }
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

double GetKa(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    try {
        const Num t = Sin(phi + delta) * Sin(phi - beta - theta) /
                      (Cos(alpha + delta + theta) * Cos(alpha - beta));
        Num d = Sq(Cos(alpha)) * Cos(theta) * Cos(alpha + delta + theta);
        // A slope or seismic angle beyond φ leaves the root term out.
        if (t >= 0.0) d *= Sq(1.0 + Sqrt(t));
        return double(Sq(Cos(phi - alpha - theta)) / d);
    } catch (const CalcFault&) {
        return -1.0;
    }
}

double GetZetaA(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    try {
        const Num s = Sqrt(Cos(alpha + delta + theta) * Sin(phi + delta) /
                           (Cos(alpha - beta) * Sin(phi - beta - theta)));
        const Num h = phi + delta + alpha - beta;
        const Num c = s / Cos(h) - Tan(h);
        return double(beta + Atan(1.0 / c));
    } catch (const CalcFault&) {
        return double(beta);
    }
}

double GetKp(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    try {
        const Num t = Sin(phi - delta) * Sin(phi + beta - theta) /
                      (Cos(alpha + delta - theta) * Cos(alpha - beta));
        // No guard for a negative t: the passive wedge has no solution then.
        const Num d = Sq(1.0 - Sqrt(t)) * Sq(Cos(alpha)) * Cos(theta) * Cos(alpha + delta - theta);
        return double(Sq(Cos(phi + alpha - theta)) / d);
    } catch (const CalcFault&) {
        return -1.0;
    }
}

double GetZetaP(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    try {
        const Num l = Sin(phi - delta) * Cos(alpha + delta - theta) /
                      (Cos(alpha - beta) * Sin(phi + beta - theta));
        const Num h = phi - delta - alpha + beta;
        const Num c = Sqrt(l) / Cos(h) + Tan(h);
        return double(beta + Atan(1.0 / c));
    } catch (const CalcFault&) {
        return -1.0;
    }
}

namespace {

using CoefFn = double (*)(Num, Num, Num, Num, Num);

// The pressure lines of one side. Each layer is computed into a copy and stored whole, so a fault
// leaves the layer in error and the later ones as they were.
void CalcSide(bool active, double Q, double Beta, double Jei, double Delta, colSpJiban& jiban,
              double& q2, int32_t& error) {
    error = 0;
    const CoefFn coef = active ? GetKa : GetKp;
    const CoefFn zeta = active ? GetZetaA : GetZetaP;
    fault::Guard(error, [&] {
        const Num beta = ToRad(Beta);
        const Num alpha = ToRad(Jei);
        const Num delta = ToRad(Delta);
        q2 = RoundHalfUp(Cos(alpha) * Q / Cos(alpha - beta), 2);
        Num sigma = q2;
        for (clsSpJiban& stored : jiban) {
            clsSpJiban j = stored;
            j.GH = RoundHalfUp(Num(j.Gs) * j.H, 2);
            const Num sigmaL = sigma + j.GH;
            if (j.Kind == 0) {
                const Num phi = ToRad(j.Fai);
                j.TU = RoundHalfUp(ToDeg(Atan(Num(j.KhU))), 2);
                j.TL = RoundHalfUp(ToDeg(Atan(Num(j.KhL))), 2);
                const Num thetaU = ToRad(j.TU);
                const Num thetaL = ToRad(j.TL);
                const double kU = coef(phi, beta, alpha, delta, thetaU);
                j.ZetaU = RoundHalfUp(ToDeg(zeta(phi, beta, alpha, delta, thetaU)), 1);
                j.KaU = RoundHalfUp(Cos(delta) * kU, 4);
                const double kL = coef(phi, beta, alpha, delta, thetaL);
                j.ZetaL = RoundHalfUp(ToDeg(zeta(phi, beta, alpha, delta, thetaL)), 1);
                j.KaL = RoundHalfUp(Cos(delta) * kL, 4);
                j.PaU = RoundHalfUp(sigma * j.KaU, 2);
                j.PaL = RoundHalfUp(sigmaL * j.KaL, 2);
                j.PU = j.PaU;
                j.PL = j.PaL;
            } else if (active) {
                // Cohesive soil: overburden less twice the cohesion, never below half the
                // overburden.
                j.P1U = RoundHalfUp(sigma - 2.0 * Num(j.CU), 2);
                j.P1L = RoundHalfUp(sigmaL - 2.0 * Num(j.CL), 2);
                j.P2U = RoundHalfUp(0.5 * sigma, 2);
                j.P2L = RoundHalfUp(0.5 * sigmaL, 2);
                j.PaU = j.P1U > j.P2U ? j.P1U : j.P2U;
                j.PaL = j.P1L > j.P2L ? j.P1L : j.P2L;
                j.ZetaU = j.ZetaL = 45.0;
            } else {
                j.PaU = RoundHalfUp(sigma + 2.0 * Num(j.CU), 2);
                j.PaL = RoundHalfUp(sigmaL + 2.0 * Num(j.CL), 2);
                j.ZetaU = j.ZetaL = 45.0;
            }
            j.GHU = double(sigma);
            j.GHL = double(sigmaL);
            stored = j;
            sigma = sigmaL;
        }
    });
}

// Ground layer table of one side: one layer from `top` with thickness `h`, split at the
// groundwater level and then at each of `extra` in turn.
void BuildLayers(clsKh& kh, double top, double h, const std::vector<double>& extra) {
    kh.RWL = gInpJyoken.ELWL;
    kh.AddEL().Clear();
    for (double e : extra) kh.AddEL().Add(e);
    kh.Jiban().Clear();
    kh.Jiban().Add(2, top, h, gInpJiban.Gt, double(Num(gInpJiban.Gws) + 10.0));
    kh.Calc();
}

// The side's layers with the cohesion at their depth below the ground surface behind the wall.
void FillLayers(const clsKh& kh, colSpJiban& out) {
    const CInpJiban& g = gInpJiban;
    const double ELGL = gInpJyoken.ELGL;
    out.Clear();
    for (const clsKhJiban& k : kh.Jiban()) {
        const Num zU = Num(ELGL) - k.EU;
        const Num zL = zU + k.H;
        const double cU = RoundHalfUp(g.Ca * zU + g.Cb, 1);
        const double cL = RoundHalfUp(g.Ca * zL + g.Cb, 1);
        out.Add(k.No, k.EU, k.H, g.Kind, k.Gs3, g.Fai, cU, cL, 0.0, 0.0);
    }
}

// Clayey ground: the level inside layer `j` where σv − 2C meets σv/2, to 0.01 m, or nothing when
// one of them governs the whole layer. Both are straight lines of the depth z below the ground
// surface in a layer, σv/2 − 2C = σU/2 − 2(a·zU + b) + (γ/2 − 2a)(z − zU), so the level follows
// from the layer's top stress and the cohesion line itself: nothing that depends on how deep the
// layer reaches (the depth examined) moves it.
std::optional<double> BranchLevel(const clsSpJiban& j, double ELGL) {
    const CInpJiban& g = gInpJiban;
    const Num zU = Num(ELGL) - j.EU;
    const Num atTop = Num(j.GHU) * 0.5 - 2.0 * (g.Ca * zU + g.Cb);
    const Num slope = Num(j.Gs) * 0.5 - 2.0 * Num(g.Ca);
    if (slope == 0.0) return std::nullopt;
    const Num depth = -atTop / slope;
    if (!(depth > 0.0 && depth < j.H)) return std::nullopt;
    const double level = RoundHalfUp(Num(j.EU) - depth, 2);
    // A level that rounds onto (or within a millimetre of) the layer's ends splits nothing.
    if (!ThickEnough(Num(j.EU) - level) || !ThickEnough(Num(level) - j.EL)) return std::nullopt;
    return level;
}

}  // namespace

void clsSpa::Calc() { CalcSide(true, Q, Beta, Jei, Delta, Jiban_, Q2_, error_); }

void clsSpp::Calc() { CalcSide(false, Q, Beta, Jei, Delta, Jiban_, Q2_, error_); }

void CalcActive() {
    const CInpJyoken& c = gInpJyoken;
    const double ELGL = c.ELGL;
    const double ELDL = c.ELDL;
    const double Q = gQqw->Q();
    const double h = double(Num(ELGL) - ELDL + c.Z);
    // The ground behind the wall is split at the groundwater level, the design ground level and,
    // in clayey ground, wherever the pressure changes from one of its two lines to the other.
    std::vector<double> levels{ELDL};
    int32_t from = 1;  // the layers above have their branch levels
    for (;;) {
        clsKh& kh = gKhActive.New();
        BuildLayers(kh, ELGL, h, levels);

        clsSpa& spa = gSpa.New();
        spa.ELDL = ELDL;
        spa.ELGL = ELGL;
        spa.Q = Q;
        // The ground slope behind a constant-slope surface, 1 : m.
        spa.Beta = gQqw->Keijyo == 1 ? double(ToDeg(Atan(1.0 / Num(c.K1m)))) : 0.0;
        spa.Jei = 0.0;
        spa.Delta = 15.0;
        FillLayers(kh, spa.Jiban());
        spa.Calc();
        if (gInpJiban.Kind == 0 || spa.Error() != 0) return;
        // A pressure line interpolated between the ends of a layer in which the two lines cross
        // would cut the corner between them: the layer is split at the crossing, each part then
        // follows one line. Once split, a layer is not looked at again (its parts meet there).
        std::optional<double> level;
        for (; from <= spa.Jiban().Count() && !level; ++from) {
            level = BranchLevel(fault::At(spa.Jiban(), from), ELGL);
        }
        if (!level) return;
        levels.push_back(*level);
        ++from;  // past the lower part of the layer just split
    }
}

void CalcPassive() {
    const CInpJyoken& c = gInpJyoken;
    const double ELGL = c.ELGL;
    const double ELDL = c.ELDL;

    // The levels at which the active side changes its pressure line split the passive side too,
    // so that the net pressure there comes from each side's own values (the active table's first
    // extra level is the design ground level, this side's top).
    std::vector<double> levels;
    if (gKhActive.Reached()) {
        const colKhAddEL& active = gKhActive->AddEL();
        for (int32_t i = 2; i <= active.Count(); ++i) levels.push_back(fault::At(active, i).EL);
    }
    clsKh& kh = gKhPassive.New();
    BuildLayers(kh, ELDL, c.Z, levels);

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
