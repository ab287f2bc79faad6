#include "calc/sections.h"

#include <cmath>

#include "calc/calc_main.h"
#include "calc/chang.h"
#include "calc/fault.h"
#include "calc/layer_kh.h"
#include "calc/result_store.h"
#include "calc/rounding.h"
#include "calc/verdicts.h"
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
SectTable<3, 30, 3> gSectKh;

namespace {

using fault::At;
using fault::Chk;
using fault::Num;
using fault::Raise;

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
Num Inertia(int32_t k, int32_t s, Use use) {
    if (k == kKindConcrete) return Num(At(gInpSectC, s).Ic) / kCm4ToM4;
    const CInpSectS& sect = SteelSection(k, s);
    return Num(use == Use::Embed ? sect.Id : sect.Io) / kCm4ToM4;
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
void Put(Table& t, int32_t k, int32_t s, int32_t i, Num v) {
    if (!t.Set(k, s, i, Chk(double(v)))) Raise(vberr::kSubscript);
}

template <class List>
void PutList(List& l, int32_t s, int32_t i, Num v) {
    if (!l.Set(s, i, Chk(double(v)))) Raise(vberr::kSubscript);
}

double Flag(bool failed) { return failed ? 1.0 : 0.0; }

// The ground layers from the ground surface down, whose Kh below the adopted virtual ground each
// pass averages over 1/β.
std::vector<CInpJibanLayer> Layers() { return GroundLayers(gInpJiban, gInpJyoken.ELGL); }

// Pass A: Chang's method with each section's flexural rigidity. A failed call leaves the row
// zero (the section then passes the moment check with a zero moment).
void PassChang() {
    gSectChang.Redim();
    const double P = gPressure->P();
    const double Y = gPressure->Y();
    const int32_t lngCase = Y >= 0.001 ? 2 : 1;
    const KhProfile ground(Layers(), AdoptedVirtualGround());
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const Num I = Inertia(k, s, Use::Stress);
            const Num Ek = Num(Modulus(k, s)) / 1000.0;
            const double alpha = Alpha(k, Use::Stress);
            if (!CalcChang(lngCase, 1.0, Y, P, I, Ek * alpha, ground)) continue;
            Put(gSectKh, k, s, kKhChang, ChangKh);
            Put(gSectChang, k, s, item::kChangMmax, RoundHalfUp(ChangMmax, 1));
            Put(gSectChang, k, s, item::kChangLm, ChangLm);
            Put(gSectChang, k, s, item::kChangBeta, ChangBeta);
            Put(gSectChang, k, s, item::kChangE, Ek * 1.0e6);
            Put(gSectChang, k, s, item::kChangI, I);
        }
    }
}

// Pass B: the moment against the cracking moment (concrete) or the bending stress against the
// allowable tensile stress (steel kinds; Z after corrosion with its joint efficiency).
void PassStress() {
    gSectStress.Redim();
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const double M = std::fabs(gSectChang(k, s, item::kChangMmax));
            if (k == kKindConcrete) {
                Put(gSectStress, k, s, item::kStressValue, M);
                Put(gSectStress, k, s, item::kStressModulus, 1.0);
                Put(gSectStress, k, s, item::kStressFlag,
                    Flag(ExceedsAsPrinted(M, printed::kMoment, At(gInpSectC, s).Mc)));
                continue;
            }
            const Num Zmm = Num(SteelSection(k, s).Zo) * 1000.0;
            const Num sigma = Num(M) * 1.0e6 / (gInpZairyo.AlphaZs * Zmm);
            const double allowable = k == kKindLightSteel ? gInpZairyo.KYSat : gInpZairyo.YSat;
            Put(gSectStress, k, s, item::kStressValue, sigma);
            Put(gSectStress, k, s, item::kStressModulus, Zmm);
            Put(gSectStress, k, s, item::kStressFlag,
                Flag(ExceedsAsPrinted(double(sigma), printed::kStress, allowable)));
        }
    }
}

// Pass C: embedment 3/beta below the adopted virtual ground surface and the pile length from
// the pile top down to its toe. Under the clayey 0.5 m rule the loads reach down to the adopted
// level, so the embedment must start there too, not at the computed level above it.
void PassEmbed() {
    gSectEmbed.Redim();
    const double ELV = AdoptedVirtualGround();
    const KhProfile ground(Layers(), ELV);
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const Num I = Inertia(k, s, Use::Embed);
            const Num E1 = Num(Modulus(k, s)) * 1000.0;
            const double alpha = Alpha(k, Use::Embed);
            const LayeredBeta solved =
                ground.Beta(double(0.25 * 1000.0 / (E1 * I * alpha)),
                            [&](Num kh) { return Root4(kh * 0.25 * 1000.0 / (E1 * I * alpha)); });
            const Num beta = RoundHalfUp(solved.beta, 4);
            Put(gSectKh, k, s, kKhEmbed, solved.kh);
            const double ell = RoundHalfUp(3.0 / beta, 2);
            const Num lreq = Num(gInpJyoken.ELYU) - ELV + ell;
            Put(gSectEmbed, k, s, item::kEmbedEll, ell);
            Put(gSectEmbed, k, s, item::kEmbedLreq, lreq);
            Put(gSectEmbed, k, s, item::kEmbedBeta, beta);
            Put(gSectEmbed, k, s, item::kEmbedE, E1);
            Put(gSectEmbed, k, s, item::kEmbedI, I);
        }
    }
}

// Pass D: displacement of the pile head: at the virtual ground surface, from the rotation there
// carried up over the height H0 of the head above it, and the cantilever deflection under P at
// height Y. H0 is measured from the adopted virtual ground to the pile head, which may stand
// above the ground surface.
void PassDisp() {
    gSectDisp.Redim();
    const Num H0 = Num(gInpJyoken.ELYU) - AdoptedVirtualGround();
    const Num P = gPressure->P();
    const Num Y = gPressure->Y();
    const KhProfile ground(Layers(), AdoptedVirtualGround());
    for (int32_t k = 1; k <= 3; ++k) {
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const Num I = Inertia(k, s, Use::Disp);
            const double E = Modulus(k, s);
            const Num K = E * I * Alpha(k, Use::Disp);
            const LayeredBeta solved =
                ground.Beta(double(0.25 / K), [&](Num kh) { return Root4(kh * 0.25 / K); });
            const Num beta = RoundHalfUp(solved.beta, 4);
            Put(gSectKh, k, s, kKhDisp, solved.kh);
            const double d1 = RoundHalfUp(P * (1.0 + beta * Y) / (2.0 * Pow(beta, 3.0) * K), 3);
            const double d2 =
                RoundHalfUp(P * H0 * (1.0 + 2.0 * beta * Y) / (2.0 * Pow(beta, 2.0) * K), 3);
            const double d3 = RoundHalfUp(Pow(Y, 2.0) * P * (3.0 * H0 - Y) / (6.0 * K), 3);
            Put(gSectDisp, k, s, item::kDisp1, d1);
            Put(gSectDisp, k, s, item::kDisp2, d2);
            Put(gSectDisp, k, s, item::kDisp3, d3);
            Put(gSectDisp, k, s, item::kDisp, Num(d1) + d2 + d3);
            Put(gSectDisp, k, s, item::kDispE, E);
            Put(gSectDisp, k, s, item::kDispI, I);
            Put(gSectDisp, k, s, item::kDispBeta, beta);
        }
    }
}

void BuildLists() {
    using namespace item;
    const double deltaA = gInpJyoken.Delta;
    gListC.Redim();
    for (int32_t s = 1; s <= gInpSectC.Count(); ++s) {
        const CInpSectC& c = At(gInpSectC, s);
        const double lreq = gSectEmbed(kKindConcrete, s, kEmbedLreq);
        const double delta = gSectDisp(kKindConcrete, s, kDisp);
        // The allowable value the moment was checked against is the cracking moment (the
        // stress table's modulus is meaningless for concrete).
        PutList(gListC, s, kCMoment, gSectStress(kKindConcrete, s, kStressValue));
        PutList(gListC, s, kCMc, c.Mc);
        PutList(gListC, s, kCMomentFlag, gSectStress(kKindConcrete, s, kStressFlag));
        PutList(gListC, s, kCLreq, lreq);
        PutList(gListC, s, kCLmin, c.Lmin);
        PutList(gListC, s, kCLmax, c.Lmax);
        // The required length must lie within the manufactured range Lmin..Lmax, ends included.
        PutList(gListC, s, kCLengthFlag,
                Flag(OutsideAsPrinted(lreq, printed::kLength, c.Lmin, c.Lmax)));
        PutList(gListC, s, kCDelta, delta);
        PutList(gListC, s, kCDeltaA, deltaA);
        PutList(gListC, s, kCDeltaFlag,
                Flag(ExceedsAsPrinted(delta, printed::kDisplacement, deltaA)));
    }
    for (int32_t k = kKindLightSteel; k <= kKindSteel; ++k) {
        auto& list = k == kKindLightSteel ? gListLS : gListS;
        const double allowable = k == kKindLightSteel ? gInpZairyo.KYSat : gInpZairyo.YSat;
        list.Redim();
        for (int32_t s = 1; s <= SectionCount(k); ++s) {
            const double delta = gSectDisp(k, s, kDisp);
            PutList(list, s, kSSigma, gSectStress(k, s, kStressValue));
            PutList(list, s, kSSigmaA, allowable);
            PutList(list, s, kSSigmaFlag, gSectStress(k, s, kStressFlag));
            PutList(list, s, kSLreq, gSectEmbed(k, s, kEmbedLreq));
            PutList(list, s, kSDelta, delta);
            PutList(list, s, kSDeltaA, deltaA);
            PutList(list, s, kSDeltaFlag,
                    Flag(ExceedsAsPrinted(delta, printed::kDisplacement, deltaA)));
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
        gSectKh.Redim();
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

double RequiredLength(PileKind kind, int32_t sect) {
    switch (kind) {
        case PileKind::Concrete:
            return gListC(sect, item::kCLreq);
        case PileKind::LightSteel:
            return gListLS(sect, item::kSLreq);
        default:
            return gListS(sect, item::kSLreq);
    }
}

bool SectionPasses(PileKind kind, int32_t sect) {
    if (sect < 1 || sect > SectionCount(TableIndex(kind)) || sect > kMaxSections) return false;
    using namespace item;
    if (kind == PileKind::Concrete) {
        return gListC(sect, kCMomentFlag) == 0.0 && gListC(sect, kCLengthFlag) == 0.0 &&
               gListC(sect, kCDeltaFlag) == 0.0;
    }
    const auto& list = kind == PileKind::LightSteel ? gListLS : gListS;
    return list(sect, kSSigmaFlag) == 0.0 && list(sect, kSDeltaFlag) == 0.0;
}

void ResetSectionResults() {
    gSectKh.Reset();
    gSectChang.Reset();
    gSectStress.Reset();
    gSectEmbed.Reset();
    gSectDisp.Reset();
    gListC.Reset();
    gListLS.Reset();
    gListS.Reset();
}

}  // namespace kuvelt
