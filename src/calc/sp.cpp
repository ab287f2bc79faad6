#include "calc/sp.h"

#include <algorithm>
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

namespace {
Num ActiveRoot(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    return Sin(phi + delta) * Sin(phi - beta - theta) /
           (Cos(alpha + delta + theta) * Cos(alpha - beta));
}
Num PassiveRoot(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    return Sin(phi - delta) * Sin(phi + beta - theta) /
           (Cos(alpha + delta - theta) * Cos(alpha - beta));
}
}  // namespace

double GetKaRoot(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    try {
        return double(ActiveRoot(phi, beta, alpha, delta, theta));
    } catch (const CalcFault&) {
        return 0.0;
    }
}

double GetKpRoot(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    try {
        return double(PassiveRoot(phi, beta, alpha, delta, theta));
    } catch (const CalcFault&) {
        return 0.0;
    }
}

double GetKa(Num phi, Num beta, Num alpha, Num delta, Num theta) {
    try {
        const Num t = ActiveRoot(phi, beta, alpha, delta, theta);
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
        const Num t = PassiveRoot(phi, beta, alpha, delta, theta);
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
    const CoefFn root = active ? GetKaRoot : GetKpRoot;
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
                j.CoefU = RoundHalfUp(Num(kU), 4);
                j.RootU = RoundHalfUp(Num(root(phi, beta, alpha, delta, thetaU)), 4);
                // The seismic angle is nearly always the same at both ends of a piece: its
                // coefficient and slip angle are then the top's.
                if (double(thetaL) == double(thetaU)) {
                    j.ZetaL = j.ZetaU;
                    j.KaL = j.KaU;
                    j.CoefL = j.CoefU;
                    j.RootL = j.RootU;
                } else {
                    const double kL = coef(phi, beta, alpha, delta, thetaL);
                    j.ZetaL = RoundHalfUp(ToDeg(zeta(phi, beta, alpha, delta, thetaL)), 1);
                    j.KaL = RoundHalfUp(Cos(delta) * kL, 4);
                    j.CoefL = RoundHalfUp(Num(kL), 4);
                    j.RootL = RoundHalfUp(Num(root(phi, beta, alpha, delta, thetaL)), 4);
                }
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

// The ground layers from the ground surface down: the design's first layer from ELGL, then the
// layers below it.
std::vector<CInpJibanLayer> CurrentLayers() { return GroundLayers(gInpJiban, gInpJyoken.ELGL); }

// Ground layer table of one side: a piece of every ground layer from `top` down to the bottom of
// the depth examined, ELDL - Z (the last layer reaching it), split at the water level `water` and
// then at each of `extra` in turn. A layer whose share is a millimetre or less is left to its
// neighbour, as a split that close is.
void BuildLayers(clsKh& kh, const std::vector<CInpJibanLayer>& layers, double top, double water,
                 const std::vector<double>& extra) {
    const CInpJyoken& c = gInpJyoken;
    const Num bottom = Num(c.ELDL) - c.Z;
    kh.RWL = water;
    kh.AddEL().Clear();
    for (double e : extra) kh.AddEL().Add(e);
    kh.Jiban().Clear();
    Num pieceTop = top;
    for (std::size_t i = LayerIndexAt(layers, top); i < layers.size(); ++i) {
        const CInpJibanLayer& l = layers[i];
        const bool hasNext = i + 1 < layers.size();
        if (hasNext && !ThickEnough(pieceTop - layers[i + 1].ELU)) continue;
        const bool last = !hasNext || !ThickEnough(Num(layers[i + 1].ELU) - bottom);
        // The last piece reaches the bottom: its thickness from its top, as for one layer.
        const Num h = last ? pieceTop - c.ELDL + c.Z : pieceTop - layers[i + 1].ELU;
        kh.Jiban().Add(2, double(pieceTop), double(h), l.Gt, double(Num(l.Gws) + 10.0))->Layer =
            static_cast<int32_t>(i + 1);
        if (last) break;
        pieceTop = layers[i + 1].ELU;
    }
    kh.Calc();
}

// Cohesion c = a z + b of a ground layer at the depth z below its own top (the first layer's top
// is the ground surface behind the wall), to 0.1 kN/m2.
double Cohesion(const CInpJibanLayer& l, fault::Num z) { return RoundHalfUp(l.Ca * z + l.Cb, 1); }

// The side's layers, each piece with its ground layer's kind, φ and cohesion at its depth below
// that layer's top.
void FillLayers(const clsKh& kh, const std::vector<CInpJibanLayer>& layers, colSpJiban& out) {
    out.Clear();
    for (const clsKhJiban& k : kh.Jiban()) {
        const CInpJibanLayer& l = layers.at(static_cast<std::size_t>(k.Layer - 1));
        const Num zU = Num(l.ELU) - k.EU;
        const Num zL = zU + k.H;
        out.Add(k.No, k.EU, k.H, l.Kind, k.Gs3, l.Fai, Cohesion(l, zU), Cohesion(l, zL), 0.0, 0.0)
            ->Layer = k.Layer;
    }
}

// A clayey piece: the level inside piece `j` where σv − 2C meets σv/2, to 0.01 m, or nothing when
// one of them governs the whole piece (or the piece is sandy). Both are straight lines of the
// depth z below the layer's top in a piece, σv/2 − 2C = σU/2 − 2(a·zU + b) + (γ/2 − 2a)(z − zU),
// so the level follows from the piece's top stress and the cohesion line itself: nothing that
// depends on how deep the piece reaches (the depth examined) moves it.
std::optional<double> BranchLevel(const clsSpJiban& j, const std::vector<CInpJibanLayer>& layers) {
    if (j.Kind == 0) return std::nullopt;
    const CInpJibanLayer& l = layers.at(static_cast<std::size_t>(j.Layer - 1));
    const Num zU = Num(l.ELU) - j.EU;
    const Num atTop = Num(j.GHU) * 0.5 - 2.0 * (l.Ca * zU + l.Cb);
    const Num slope = Num(j.Gs) * 0.5 - 2.0 * Num(l.Ca);
    if (slope == 0.0) return std::nullopt;
    const Num depth = -atTop / slope;
    if (!(depth > 0.0 && depth < j.H)) return std::nullopt;
    const double level = RoundHalfUp(Num(j.EU) - depth, 2);
    // A level that rounds onto (or within a millimetre of) the piece's ends splits nothing.
    if (!ThickEnough(Num(j.EU) - level) || !ThickEnough(Num(level) - j.EL)) return std::nullopt;
    return level;
}

}  // namespace

void clsSpa::Calc() { CalcSide(true, Q, Beta, Jei, Delta, Jiban_, Q2_, error_); }

void clsSpp::Calc() { CalcSide(false, Q, Beta, Jei, Delta, Jiban_, Q2_, error_); }

double PassiveWaterLevel(const CInpJyoken& c) {
    const double channel = ChannelWaterLevel(c);
    // Channel water above the design ground level submerges the ground in front of the wall.
    if (!ThickEnough(Num(channel) - c.ELDL)) return c.ELWL;
    return std::max(c.ELWL, channel);
}

void CalcActive() {
    const CInpJyoken& c = gInpJyoken;
    const double ELGL = c.ELGL;
    const double ELDL = c.ELDL;
    const double Q = gQqw->Q();
    const std::vector<CInpJibanLayer> layers = CurrentLayers();
    // The ground behind the wall is split at its layers' tops, the groundwater level, the design
    // ground level and, in clayey layers, wherever the pressure changes from one of its two lines
    // to the other.
    std::vector<double> levels{ELDL};
    int32_t from = 1;  // the pieces above have their branch levels
    for (;;) {
        clsKh& kh = gKhActive.New();
        BuildLayers(kh, layers, ELGL, c.ELWL, levels);

        clsSpa& spa = gSpa.New();
        spa.ELDL = ELDL;
        spa.ELGL = ELGL;
        spa.Q = Q;
        // The ground slope behind a constant-slope surface, 1 : m.
        spa.Beta = gQqw->Keijyo == 1 ? double(ToDeg(Atan(1.0 / Num(c.K1m)))) : 0.0;
        spa.Jei = 0.0;
        spa.Delta = gInpJiban.DeltaA;
        FillLayers(kh, layers, spa.Jiban());
        spa.Calc();
        if (spa.Error() != 0) return;
        // A pressure line interpolated between the ends of a piece in which the two lines cross
        // would cut the corner between them: the piece is split at the crossing, each part then
        // follows one line. Once split, a piece is not looked at again (its parts meet there).
        std::optional<double> level;
        for (; from <= spa.Jiban().Count() && !level; ++from) {
            level = BranchLevel(fault::At(spa.Jiban(), from), layers);
        }
        if (!level) return;
        levels.push_back(*level);
        ++from;  // past the lower part of the piece just split
    }
}

void CalcPassive() {
    const CInpJyoken& c = gInpJyoken;
    const double ELGL = c.ELGL;
    const double ELDL = c.ELDL;
    const std::vector<CInpJibanLayer> layers = CurrentLayers();

    // The levels at which the active side changes its pressure line split the passive side too,
    // so that the net pressure there comes from each side's own values (the active table's first
    // extra level is the design ground level, this side's top).
    std::vector<double> levels;
    if (gKhActive.Reached()) {
        const colKhAddEL& active = gKhActive->AddEL();
        for (int32_t i = 2; i <= active.Count(); ++i) levels.push_back(fault::At(active, i).EL);
    }
    clsKh& kh = gKhPassive.New();
    BuildLayers(kh, layers, ELDL, PassiveWaterLevel(c), levels);

    clsSpp& spp = gSpp.New();
    spp.ELDL = ELDL;
    spp.ELGL = ELGL;
    spp.Q = 0.0;
    spp.Beta = 0.0;
    spp.Jei = 0.0;
    // The passive wall friction acts upwards on the wall: a negative angle.
    spp.Delta = -gInpJiban.DeltaP;
    FillLayers(kh, layers, spp.Jiban());
    spp.Calc();
}

}  // namespace kuvelt
