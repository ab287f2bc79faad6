#include "calc/sections.h"

#include <cmath>

#include "calc/chang.h"
#include "calc/fault.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "model/design.h"
#include "platform/vberror.h"

namespace kuvelt {

SectTable<3, 30, 5> gSectChang;
SectTable<3, 30, 3> gSectStress;
SectTable<3, 30, 5> gSectEmbed;
SectTable<3, 30, 7> gSectDisp;
SectList<30, 10> gListC;
SectList<30, 7> gListLS;
SectList<30, 7> gListS;

bool Exceeds(double a, double b) { return a >= b && std::fabs(a - b) >= 0.001; }

namespace {

using namespace fault;

// Second moments of area are entered in cm4/m, the checks work in m4/m.
constexpr double kCm4ToM4 = 1.0e8;

// The uses of a section's second moment of area, each with its own joint efficiency.
enum class Use { Stress, Embed, Disp };

int32_t SectionCount(int32_t k) {
    switch (k) {
        case kKindConcrete:
            return gInpSectC.Count();
        case kKindLightSteel:
            return gInpSectLS.Count();
        default:
            return gInpSectS.Count();
    }
}

const CInpSectS& SteelSection(int32_t k, int32_t s) {
    return At(k == kKindLightSteel ? gInpSectLS : gInpSectS, s);
}

// Elastic modulus as entered, kN/m2: concrete by the section's shape.
double Modulus(int32_t k, int32_t s) {
    if (k == kKindConcrete) {
        switch (At(gInpSectC, s).Keijyo) {
            case 0:
                return gInpZairyo.EcHira;
            case 1:
                return gInpZairyo.EcMizo;
            default:
                return gInpZairyo.EcNami;
        }
    }
    return k == kKindLightSteel ? gInpZairyo.Esky : gInpZairyo.Esy;
}

// Second moment of area in m4/m: after corrosion for the stress and displacement checks,
// before corrosion for the embedment.
double Inertia(int32_t k, int32_t s, Use use) {
    if (k == kKindConcrete) return Div(At(gInpSectC, s).Ic, kCm4ToM4);
    const CInpSectS& sect = SteelSection(k, s);
    return Div(use == Use::Embed ? sect.Id : sect.Io, kCm4ToM4);
}

// Joint efficiency of the interlocks for I; concrete piles have none.
double Alpha(int32_t k, Use use) {
    if (k == kKindConcrete) return 1.0;
    switch (use) {
        case Use::Stress:
            return gInpZairyo.AlphaIs;
        case Use::Embed:
            return gInpZairyo.AlphaIz;
        default:
            return gInpZairyo.AlphaId;
    }
}

template <class Table>
void Put(Table& t, int32_t k, int32_t s, int32_t i, double v) {
    if (!t.Set(k, s, i, Chk(v))) Raise(vberr::kSubscript);
}

template <class List>
void PutList(List& l, int32_t s, int32_t i, double v) {
    if (!l.Set(s, i, Chk(v))) Raise(vberr::kSubscript);
}

double Flag(bool failed) { return failed ? 1.0 : 0.0; }

// Pass A: Chang's method with each section's flexural rigidity. A failed call leaves the row
// zero (the section then passes the moment check with a zero moment).
void PassChang() {
    gSectChang.Redim();
    const double P = gPressure->P();
    const double Y = gPressure->Y();
    const int32_t lngCase = Y >= 0.001 ? 2 : 1;
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const double I = Inertia(k, s, Use::Stress);
            const double Ek = Div(Modulus(k, s), 1000.0);
            const double alpha = Alpha(k, Use::Stress);
            if (!CalcChang(lngCase, 1.0, Y, P, I, Mul(Ek, alpha), gInpJiban.KH)) continue;
            Put(gSectChang, k, s, 1, RoundHalfUp(ChangMmax, 1));
            Put(gSectChang, k, s, 2, ChangLm);
            Put(gSectChang, k, s, 3, ChangBeta);
            Put(gSectChang, k, s, 4, Mul(Ek, 1.0e6));
            Put(gSectChang, k, s, 5, I);
        }
    }
}

// Pass B: the moment against the cracking moment (concrete) or the bending stress against the
// allowable tensile stress (steel kinds; Z after corrosion with its joint efficiency).
void PassStress() {
    gSectStress.Redim();
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const double M = std::fabs(gSectChang(k, s, 1));
            if (k == kKindConcrete) {
                Put(gSectStress, k, s, 1, M);
                Put(gSectStress, k, s, 2, 1.0);
                Put(gSectStress, k, s, 3, Flag(Exceeds(M, At(gInpSectC, s).Mc)));
                continue;
            }
            const double Zmm = Mul(SteelSection(k, s).Zo, 1000.0);
            const double sigma = Div(Mul(M, 1.0e6), Mul(gInpZairyo.AlphaZs, Zmm));
            const double allowable = k == kKindLightSteel ? gInpZairyo.KYSat : gInpZairyo.YSat;
            Put(gSectStress, k, s, 1, sigma);
            Put(gSectStress, k, s, 2, Zmm);
            Put(gSectStress, k, s, 3, Flag(Exceeds(sigma, allowable)));
        }
    }
}

// Pass C: embedment 3/beta below the virtual ground surface and the pile length from the pile
// top down to its toe.
void PassEmbed() {
    gSectEmbed.Redim();
    const double ELDLX = gDL->ELDLX();
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const double I = Inertia(k, s, Use::Embed);
            const double E1 = Mul(Modulus(k, s), 1000.0);
            const double alpha = Alpha(k, Use::Embed);
            const double beta = RoundHalfUp(
                Root4(Div(Mul(Mul(gInpJiban.KH, 0.25), 1000.0), Mul(Mul(E1, I), alpha))), 4);
            const double ell = RoundHalfUp(Div(3.0, beta), 2);
            const double lreq = Add(Sub(gInpJyoken.ELYU, ELDLX), ell);
            Put(gSectEmbed, k, s, 1, ell);
            Put(gSectEmbed, k, s, 2, lreq);
            Put(gSectEmbed, k, s, 3, beta);
            Put(gSectEmbed, k, s, 4, E1);
            Put(gSectEmbed, k, s, 5, I);
        }
    }
}

// Pass D: displacement of the wall top: at the virtual ground surface, from the rotation there,
// and the cantilever deflection under P at height Y.
void PassDisp() {
    gSectDisp.Redim();
    const double H0 = Sub(gInpJyoken.ELGL, gDL->ELDLX());
    const double P = gPressure->P();
    const double Y = gPressure->Y();
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const double I = Inertia(k, s, Use::Disp);
            const double E = Modulus(k, s);
            const double K = Mul(Mul(E, I), Alpha(k, Use::Disp));
            const double beta = RoundHalfUp(Root4(Div(Mul(gInpJiban.KH, 0.25), K)), 4);
            const double d1 = RoundHalfUp(
                Div(Mul(P, Add(1.0, Mul(beta, Y))), Mul(Mul(2.0, Pow(beta, 3.0)), K)), 3);
            const double d2 = RoundHalfUp(Div(Mul(Mul(P, Y), Add(1.0, Mul(Mul(2.0, beta), Y))),
                                              Mul(Mul(2.0, Pow(beta, 2.0)), K)),
                                          3);
            const double d3 =
                RoundHalfUp(Div(Mul(Mul(Pow(Y, 2.0), P), Sub(Mul(3.0, H0), Y)), Mul(6.0, K)), 3);
            Put(gSectDisp, k, s, 1, d1);
            Put(gSectDisp, k, s, 2, d2);
            Put(gSectDisp, k, s, 3, d3);
            Put(gSectDisp, k, s, 4, Add(Add(d1, d2), d3));
            Put(gSectDisp, k, s, 5, E);
            Put(gSectDisp, k, s, 6, I);
            Put(gSectDisp, k, s, 7, beta);
        }
    }
}

// Length flag of a concrete section: the required length must lie within the manufactured
// range Lmin..Lmax (either end within 0.001 counts as inside).
bool LengthOutside(double lreq, double lmin, double lmax) {
    const bool inside = lmin < lreq && lreq < lmax;
    const bool atEnd = std::fabs(lreq - lmin) < 0.001 || std::fabs(lreq - lmax) < 0.001;
    return !(inside || atEnd);
}

void BuildLists() {
    const double deltaA = gInpJyoken.Delta;
    gListC.Redim();
    for (int32_t s = 1; s <= gInpSectC.Count(); ++s) {
        const CInpSectC& c = At(gInpSectC, s);
        const double lreq = gSectEmbed(kKindConcrete, s, 2);
        const double delta = gSectDisp(kKindConcrete, s, 4);
        // Item 2 is the allowable value the moment was checked against, the cracking moment
        // (the stress table's item 2 is the section modulus, meaningless for concrete).
        PutList(gListC, s, 1, gSectStress(kKindConcrete, s, 1));
        PutList(gListC, s, 2, c.Mc);
        PutList(gListC, s, 3, gSectStress(kKindConcrete, s, 3));
        PutList(gListC, s, 4, lreq);
        PutList(gListC, s, 5, c.Lmin);
        PutList(gListC, s, 6, c.Lmax);
        PutList(gListC, s, 7, Flag(LengthOutside(lreq, c.Lmin, c.Lmax)));
        PutList(gListC, s, 8, delta);
        PutList(gListC, s, 9, deltaA);
        PutList(gListC, s, 10, Flag(Exceeds(delta, deltaA)));
    }
    for (int32_t k = kKindLightSteel; k <= kKindSteel; ++k) {
        auto& list = k == kKindLightSteel ? gListLS : gListS;
        const double allowable = k == kKindLightSteel ? gInpZairyo.KYSat : gInpZairyo.YSat;
        list.Redim();
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const double delta = gSectDisp(k, s, 4);
            PutList(list, s, 1, gSectStress(k, s, 1));
            PutList(list, s, 2, allowable);
            PutList(list, s, 3, gSectStress(k, s, 3));
            PutList(list, s, 4, gSectEmbed(k, s, 2));
            PutList(list, s, 5, delta);
            PutList(list, s, 6, deltaA);
            PutList(list, s, 7, Flag(Exceeds(delta, deltaA)));
        }
    }
}

}  // namespace

bool CalcSections() {
    // The tables hold 30 sections per kind; a longer catalogue cannot be checked at all.
    for (int32_t k = 1; k <= 3; ++k) {
        if (SectionCount(k) > kMaxSections) return false;
    }
    try {
        PassChang();
        PassStress();
        PassEmbed();
        PassDisp();
        BuildLists();
    } catch (const CalcFault&) {
        return false;
    }
    return true;
}

void ResetSectionResults() {
    gSectChang.Reset();
    gSectStress.Reset();
    gSectEmbed.Reset();
    gSectDisp.Reset();
    gListC.Reset();
    gListLS.Reset();
    gListS.Reset();
}

}  // namespace kuvelt
