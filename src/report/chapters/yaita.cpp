// Chapter 4, sheet-pile design: the loads above the virtual ground surface with the load
// distribution diagram, the maximum bending moment by Chang's method, the moment or stress check,
// the embedment and required length and the displacement of the pile head, for the chosen kind,
// section and length.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "calc/layer_kh.h"
#include "calc/sections.h"
#include "calc/verdicts.h"
#include "model/design.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/chapters/zu_forces.h"
#include "report/chapters/zu_sp.h"
#include "report/format_lines.h"

namespace kuvelt::basResOutYaita {
namespace {

using namespace basResOutPrn;
using chapters::Judgement;
using chapters::N;
using chapters::S;

namespace m1 = fmt::moment1;
namespace m2 = fmt::moment2;
namespace cc = fmt::concreteCheck;
namespace sc = fmt::steelCheck;
namespace em = fmt::embedment;
namespace hd = fmt::head;

// Each load layer above the virtual ground gives one or two rows: the pieces of ten ground layers
// split at the groundwater, the channel water and the clayey branch levels.
constexpr int32_t kMaxDetail = 60;
constexpr double kFrameWidth = 128;
constexpr double kFrameHeight = 80;
constexpr int32_t kFigureLines = 27;

// How a section's Kh was averaged over 1/β below the virtual ground in layered ground.
struct KhAverage {
    std::vector<KhPart> parts;
    double kh = 0;  // the Kh β was found with
};

// Every value the chapter prints, read once before writing.
struct Staged {
    int32_t kind = 1;  // 1 concrete, 2 light steel, 3 steel
    double KH = 0, ELYU = 0, ELV = 0, H0 = 0, L = 0;
    bool proposed = false;  // the program, not the user, chose the pile
    std::vector<clsPressureDetail> detail;
    double sumP = 0, sumM = 0, Y = 0;
    double Mmax = 0, lm = 0, betaC = 0, Ec = 0, Ic = 0, alphaC = 1;
    std::string name;
    double Mc = 0;
    double sigma = 0, Z = 0, sigmaA = 0, alphaS = 1;
    double l = 0, Lreq = 0, betaE = 0, Ee = 0, Ie = 0, alphaE = 1;
    double d1 = 0, d2 = 0, d3 = 0, delta = 0, Ed = 0, Id = 0, betaD = 0, deltaA = 0, alphaD = 1;
    Judgement bending, length, displacement;
    // Layered ground: the averaging of Kh for the moment's, the embedment's and the
    // displacement's β; one layer: none, and every β uses the ground's Kh.
    std::optional<KhAverage> khC, khE, khD;
    // Concrete: the lengths it is made in, and whether Lreq lies within them (the result list's
    // flag), with the relation on each side.
    double Lmin = 0, Lmax = 0;
    Judgement range;
    std::string belowMin = "≦", aboveMax = "≦";
};

// The layers' shares of 1/β below the virtual ground `elv` and their mean: the calculation's own
// (the row's Kh), or, where a row holds none, the mean of the shares.
std::optional<KhAverage> Averaged(double elv, double beta, double rowKh) {
    if (!chapters::Layered()) return std::nullopt;
    KhAverage a;
    if (beta > 0) a.parts = KhPartsBelow(chapters::DesignLayers(), elv, Checked(1.0 / beta));
    a.kh = rowKh > 0 ? rowKh : MeanKh(a.parts);
    return a;
}

Staged Stage(const Results& r) {
    Staged v;
    const CInpYaita& y = gInpYaita;
    const CInpZairyo& z = gInpZairyo;
    const std::optional<PileKind> pile = KindOfChoice(y.Yaita);
    if (!pile) {
        throw PrintFault(vberr::kSubscript,
                         "使用矢板の種類" + std::to_string(y.Yaita) + "がありません");
    }
    v.kind = TableIndex(*pile);
    const int32_t s = y.Sect;
    v.KH = gInpJiban.KH;
    v.ELYU = gInpJyoken.ELYU;
    // Heights and lengths from the adopted virtual ground (0.5 m below the design ground level
    // under the clayey rule) up to the pile head.
    const clsPressure& p = chapters::Reached(r.pressure);
    v.ELV = p.WL;
    v.H0 = Checked(gInpJyoken.ELYU - v.ELV);
    v.proposed = y.Proposed;
    v.L = y.L;
    if (p.Detail().Count() > kMaxDetail) {
        throw PrintFault(vberr::kSubscript,
                         "荷重の内訳が" + std::to_string(kMaxDetail) + "行を超えています");
    }
    for (const clsPressureDetail& r : p.Detail()) v.detail.push_back(r);
    v.sumP = p.P();
    v.sumM = p.M();
    v.Y = p.Y();
    const bool concrete = *pile == PileKind::Concrete;
    if (concrete) {
        const CInpSectC* c = gInpSectC.Item(s);
        if (!c)
            throw PrintFault(vberr::kSubscript,
                             "使用矢板の断面№" + std::to_string(s) + "が登録されていません");
        v.name = c->Name;
        v.Mc = c->Mc;
        v.Lmin = c->Lmin;
        v.Lmax = c->Lmax;
        const bool outside = chapters::Reached(r.sections.Concrete(s)).lengthFails;
        v.range = chapters::PassLimit(outside);
        if (outside) {
            const double Lreq = chapters::Reached(r.sections.Embed(*pile, s)).lreq;
            (Lreq < (v.Lmin + v.Lmax) / 2 ? v.belowMin : v.aboveMax) = "＞";
        }
    } else {
        const CInpSectS* c = (*pile == PileKind::LightSteel ? gInpSectLS : gInpSectS).Item(s);
        if (!c)
            throw PrintFault(vberr::kSubscript,
                             "使用矢板の断面№" + std::to_string(s) + "が登録されていません");
        v.name = c->Name;
        v.sigmaA = *pile == PileKind::LightSteel ? z.KYSat : z.YSat;
        v.alphaC = z.AlphaIs;
        v.alphaS = z.AlphaZs;
        v.alphaE = z.AlphaIz;
        v.alphaD = z.AlphaId;
    }
    const ChangRow& chang = chapters::Reached(r.sections.Chang(*pile, s));
    v.Mmax = chang.mmax;
    v.lm = chang.lm;
    v.betaC = chang.beta;
    v.Ec = chang.e1000;
    v.Ic = chang.i;
    v.khC = Averaged(v.ELV, v.betaC, chang.kh);
    const StressRow& stress = chapters::Reached(r.sections.Stress(*pile, s));
    v.sigma = stress.value;
    // The table keeps Z in mm3/m; the report shows the catalogue's cm3/m.
    v.Z = stress.modulus / 1000.0;
    v.bending = chapters::PassLimit(stress.exceeds);
    const EmbedRow& embed = chapters::Reached(r.sections.Embed(*pile, s));
    v.l = embed.ell;
    v.Lreq = embed.lreq;
    v.betaE = embed.beta;
    v.Ee = embed.e1000;
    v.Ie = embed.i;
    v.khE = Averaged(v.ELV, v.betaE, embed.kh);
    v.length = chapters::PassLimit(ExceedsAsPrinted(v.Lreq, printed::kLength, v.L));
    const DispRow& disp = chapters::Reached(r.sections.Disp(*pile, s));
    v.d1 = disp.delta1;
    v.d2 = disp.delta2;
    v.d3 = disp.delta3;
    v.delta = disp.delta;
    v.Ed = disp.e;
    v.Id = disp.i;
    v.betaD = disp.beta;
    v.khD = Averaged(v.ELV, v.betaD, disp.kh);
    v.deltaA = gInpJyoken.Delta;
    v.displacement =
        chapters::PassLimit(ExceedsAsPrinted(v.delta, printed::kDisplacement, v.deltaA));
    return v;
}

void Blank(int32_t n = 1) { PrintBlankLines(n); }

// The characteristic value's title, formula and the note on the moment of inertia it takes: a
// concrete pile has one, its catalogue's, and no joints (no corrosion words for it).
void BetaHeading(ChapterSection& sec, const Staged& v, int32_t title, int32_t note,
                 int32_t concreteNote) {
    for (int32_t l = title; l < note; ++l) sec.Line(l);
    sec.Line(v.kind == kKindConcrete ? concreteNote : note);
}

// The lines of a section's characteristic-value data block.
struct CharacteristicLines {
    int32_t kh, beta, modulus;
};

// The characteristic value's data block of a section: Kh, β, and E as mantissa and exponent
// with I and α.
// E comes in N/m2 (the tables keep it so); it is printed in kN/m2 like every other modulus of
// the report, Kh in kN/m3: their ratio, all β depends on, is the same in either unit.
void CharacteristicValueLines(ChapterData& d, ChapterSection& sec, const CharacteristicLines& lines,
                              double KH, double beta, double E, double I, double alpha) {
    N(d, 1, KH);
    sec.Template(lines.kh);
    N(d, 1, beta);
    sec.Template(lines.beta);
    double mant = 0;
    std::string exp;
    chapters::SplitExponent(E / 1000.0, mant, exp);
    N(d, 1, mant);
    N(d, 2, I);
    N(d, 3, alpha);
    S(d, 1, exp);
    sec.Template(lines.modulus);
}

// Layered ground: the layers within 1/β below the virtual ground with their Kh, and the mean.
// Returns the Kh the section's β was found with.
double KhLines(const Staged& v, const std::optional<KhAverage>& a, double beta) {
    if (!a) return v.KH;
    namespace km = fmt::khMean;
    chapters::SectionLines lines(km::kSection);
    ChapterData& d = lines.d;
    PrintKeepLines(static_cast<int32_t>(a->parts.size()) + 3);
    N(d, 1, v.ELV);
    N(d, 2, beta > 0 ? Checked(1.0 / beta) : 0.0);
    lines.Template(km::kIntro);
    lines.Line(km::kIntroEnd);
    chapters::PrintWeightedMean(lines, chapters::SharesOf(a->parts), &CInpJibanLayer::KH, km::kPart,
                                km::kMean, a->kh);
    Blank();
    return a->kh;
}

void MomentLoads(ChapterData& d, const Results& r, const Staged& v) {
    ChapterSection sec(d, m1::kSection, true);
    for (int32_t l = m1::kTitle; l <= m1::kLoadDiagram; ++l) {
        sec.Line(l);
        if (l == m1::kLoadDiagram) {
            PrintFigureCaption("荷重分布図");
        } else {
            Blank();
        }
    }
    PrintFigureLine(basZuSp::DrawLoadDiagram(r, kFrameWidth, kFrameHeight));
    Blank(kFigureLines);
    PrintTableCaption("仮想地盤面より上の荷重と曲げﾓｰﾒﾝﾄ");
    for (int32_t l = m1::kHeaderFirst; l <= m1::kHeaderLast; ++l) sec.Line(l);
    const int32_t n = static_cast<int32_t>(v.detail.size());
    const int32_t left = LinesPerPage - LineCount;
    const int32_t later = LinesPerPage - 7;
    // A chunk runs on to the end of the table when at most two rows would be left over.
    auto chunk = [](int32_t remaining, int32_t room) {
        return remaining <= room + 2 ? remaining : std::max(1, room);
    };
    int32_t start = 0;
    int32_t size = chunk(n, left);
    do {
        if (start > 0) {
            NewPageIfShort(LinesPerPage, 0);
            for (int32_t l = m1::kHeaderFirst; l <= m1::kHeaderLast; ++l) sec.Line(l);
        }
        for (int32_t i = start; i < start + size; ++i) {
            const clsPressureDetail& r = v.detail[static_cast<std::size_t>(i)];
            S(d, 1, chapters::PieceNumeral(i + 1));
            N(d, 1, r.P);
            N(d, 2, r.H);
            N(d, 3, r.Pi);
            N(d, 4, r.Y);
            N(d, 5, r.H);
            N(d, 6, r.Yi);
            N(d, 7, r.Mi);
            sec.Template(r.Section == 0   ? m1::kRectangle
                         : r.Section == 1 ? m1::kTriangleTop
                                          : m1::kTriangleBottom);
            if (i + 1 < start + size) sec.Line(m1::kRowSeparator);
        }
        sec.Line(m1::kTotalRule);
        N(d, 1, v.sumP);
        N(d, 2, v.sumM);
        sec.Template(m1::kTotal);
        sec.Line(m1::kClosing);
        start += size;
        size = chunk(n - start, later);
    } while (start < n);
    Blank();
    sec.Line(m1::kResultant);
    Blank();
    N(d, 1, v.Y);
    sec.Template(m1::kResultantHeight);
}

void MomentChang(ChapterData& d, const Staged& v) {
    ChapterSection sec(d, m2::kSection);
    chapters::StartSection();
    sec.Line(m2::kTitle);
    Blank();
    sec.Line(m2::kIntro);
    Blank();
    // The characteristic value first: every line after it uses β.
    for (int32_t l = m2::kBetaTitle; l <= m2::kBetaNote; ++l) sec.Line(l);
    Blank();
    const double kh = KhLines(v, v.khC, v.betaC);
    CharacteristicValueLines(d, sec, {m2::kBetaKh, m2::kBeta, m2::kBetaModulus}, kh, v.betaC, v.Ec,
                             v.Ic, v.alphaC);
    Blank();
    sec.Line(m2::kMomentHeading);
    for (int32_t l = m2::kFormulaFirst; l <= m2::kFormulaLast; ++l) sec.Line(l);
    Blank();
    sec.Line(m2::kCalculation);
    N(d, 1, v.sumP);
    N(d, 2, v.sumM);
    N(d, 3, v.betaC);
    sec.Template(m2::kLoads);
    N(d, 1, v.sumM);
    N(d, 2, v.sumP);
    N(d, 3, v.Y);
    sec.Template(m2::kResultantHeight);
    // The load at the virtual ground itself (h0 below 1 mm) has its own closed form.
    const bool atGround = v.Y < 0.001;
    const double t = Checked(1.0 + 2.0 * v.betaC * v.Y);
    if (!atGround) {
        N(d, 1, v.betaC);
        N(d, 2, v.Y);
        N(d, 3, t);
        sec.Template(m2::kT);
    }
    Blank();
    N(d, 1, v.sumP);
    N(d, 2, v.betaC);
    if (atGround) {
        sec.Template(m2::kMomentAtGround);
    } else {
        N(d, 3, t);
        N(d, 4, t);
        sec.Template(m2::kMomentValues);
    }
    Blank();
    N(d, 1, v.Mmax);
    sec.Template(m2::kMoment);
    Blank();
    for (int32_t l = m2::kDepthTitle; l <= m2::kDepthFormula; ++l) sec.Line(l);
    Blank();
    sec.Line(m2::kDepthCalculation);
    N(d, 1, v.lm);
    sec.Template(m2::kDepth);
    N(d, 1, v.betaC);
    if (atGround) {
        sec.Template(m2::kDepthAtGround);
    } else {
        N(d, 2, v.betaC);
        N(d, 3, v.Y);
        sec.Template(m2::kDepthValues);
    }
    chapters::SymbolList(sec, m2::kSymbolsFirst, m2::kSymbolsLast, false);
}

void SectionCheck(ChapterData& d, const Staged& v) {
    if (v.kind == kKindConcrete) {
        ChapterSection sec(d, cc::kSection);
        chapters::StartSection();
        sec.Line(cc::kTitle);
        Blank();
        S(d, 1, v.name);
        sec.Template(cc::kPile);
        if (v.proposed) sec.Line(cc::kProposed);
        Blank();
        sec.Line(cc::kCriterion);
        Blank();
        N(d, 1, std::fabs(v.Mmax));
        S(d, 1, v.bending.sign);
        N(d, 2, v.Mc);
        S(d, 2, v.bending.verdict);
        sec.Template(cc::kCheck);
        return;
    }
    ChapterSection sec(d, sc::kSection);
    chapters::StartSection();
    sec.Line(sc::kTitle);
    Blank();
    S(d, 1, v.name);
    sec.Template(v.kind == kKindLightSteel ? sc::kLightSteelPile : sc::kSteelPile);
    if (v.proposed) sec.Line(sc::kProposed);
    Blank();
    sec.Line(sc::kCriterion);
    Blank();
    N(d, 1, std::fabs(v.Mmax));
    sec.Template(sc::kMoment);
    sec.Line(sc::kModulusNote);
    N(d, 1, v.Z);
    N(d, 2, v.alphaS);
    sec.Template(sc::kModulus);
    Blank();
    N(d, 1, v.sigma);
    S(d, 1, v.bending.sign);
    N(d, 2, v.sigmaA);
    S(d, 2, v.bending.verdict);
    sec.Template(sc::kCheck);
    chapters::SymbolList(sec, sc::kSymbolsFirst, sc::kSymbolsLast, false);
}

void Embedment(ChapterData& d, const Staged& v) {
    ChapterSection sec(d, em::kSection);
    Blank(2);
    for (int32_t l = em::kTitle; l <= em::kIntro; ++l) {
        sec.Line(l);
        Blank();
    }
    // The characteristic value first: the embedment is computed from it.
    BetaHeading(sec, v, em::kBetaTitle, em::kBetaNote, em::kBetaNoteConcrete);
    Blank();
    const double kh = KhLines(v, v.khE, v.betaE);
    CharacteristicValueLines(d, sec, {em::kBetaKh, em::kBeta, em::kBetaModulus}, kh, v.betaE, v.Ee,
                             v.Ie, v.alphaE);
    Blank();
    sec.Line(em::kLengthHeading);
    sec.Line(em::kFormula);
    sec.Line(em::kCalculation);
    N(d, 1, v.l);
    sec.Template(em::kLength);
    N(d, 1, v.betaE);
    sec.Template(em::kLengthBeta);
    chapters::SymbolList(
        sec, em::kSymbolsFirst, em::kSymbolsLast, false,
        {{em::kInertiaSymbol, v.kind == kKindConcrete ? em::kInertiaSymbolConcrete : 0}});
    Blank(2);
    sec.Line(em::kRequiredTitle);
    Blank();
    N(d, 1, v.ELYU);
    N(d, 2, v.ELV);
    N(d, 3, v.l);
    sec.Template(em::kRequiredValues);
    Blank();
    N(d, 1, v.Lreq);
    N(d, 2, v.L);
    S(d, 1, v.length.sign);
    S(d, 2, v.length.verdict);
    sec.Template(em::kRequired);
    sec.Line(em::kRequiredNote);
    if (v.kind == TableIndex(PileKind::Concrete)) {
        // The check the result list and the summary make for concrete: Lreq within the lengths
        // the pile is made in.
        N(d, 1, v.Lmin);
        N(d, 2, v.Lreq);
        N(d, 3, v.Lmax);
        S(d, 1, v.belowMin);
        S(d, 2, v.aboveMax);
        S(d, 3, v.range.verdict);
        sec.Template(em::kRange);
        sec.Line(em::kRangeNote);
    }
}

// E as mantissa (slot `slot`) and exponent (text slot 1).
void ModulusSlots(ChapterData& d, int32_t slot, double E) {
    double mant = 0;
    std::string exp;
    chapters::SplitExponent(E, mant, exp);
    N(d, slot, mant);
    S(d, 1, exp);
}

void HeadDisplacement(ChapterData& d, const Staged& v) {
    ChapterSection sec(d, hd::kSection);
    chapters::StartSection();
    for (int32_t l = hd::kTitle; l <= hd::kComponentsLast; ++l) {
        sec.Line(l);
        Blank();
    }
    auto rigidity = [&](int32_t line, bool withBeta) {
        int32_t slot = 1;
        if (withBeta) N(d, slot++, v.betaD);
        ModulusSlots(d, slot++, v.Ed);
        N(d, slot++, v.Id);
        N(d, slot, v.alphaD);
        sec.Template(line);
    };
    // A part of the displacement, its formula and its three lines of values, on one page.
    auto KeepPart = [](int32_t title, int32_t calculation) {
        PrintKeepLines(calculation - title + 1 + 1 + 3);
    };
    // The characteristic value first: all three parts use it.
    BetaHeading(sec, v, hd::kBetaTitle, hd::kBetaNote, hd::kBetaNoteConcrete);
    Blank();
    N(d, 1, KhLines(v, v.khD, v.betaD));
    sec.Template(hd::kBetaKh);
    N(d, 1, v.betaD);
    sec.Template(hd::kBeta);
    rigidity(hd::kBetaModulus, false);
    Blank(2);
    KeepPart(hd::kDelta1Title, hd::kDelta1Calculation);
    for (int32_t l = hd::kDelta1Title; l <= hd::kDelta1Calculation; ++l) sec.Line(l);
    Blank();
    N(d, 1, v.betaD);
    N(d, 2, v.Y);
    sec.Template(hd::kDelta1Beta);
    N(d, 1, v.sumP);
    N(d, 2, v.d1);
    sec.Template(hd::kDelta1);
    rigidity(hd::kDelta1Rigidity, true);
    Blank();
    KeepPart(hd::kDelta2Title, hd::kDelta2Calculation);
    for (int32_t l = hd::kDelta2Title; l <= hd::kDelta2Calculation; ++l) sec.Line(l);
    Blank();
    N(d, 1, v.betaD);
    N(d, 2, v.Y);
    sec.Template(hd::kDelta2Beta);
    N(d, 1, v.sumP);
    N(d, 2, v.H0);
    N(d, 3, v.d2);
    sec.Template(hd::kDelta2);
    rigidity(hd::kDelta2Rigidity, true);
    Blank();
    KeepPart(hd::kDelta3Title, hd::kDelta3Calculation);
    for (int32_t l = hd::kDelta3Title; l <= hd::kDelta3Calculation; ++l) sec.Line(l);
    Blank();
    N(d, 1, v.sumP);
    N(d, 2, v.Y);
    N(d, 3, v.H0);
    N(d, 4, v.Y);
    sec.Template(hd::kDelta3Values);
    N(d, 1, v.d3);
    sec.Template(hd::kDelta3);
    rigidity(hd::kDelta3Rigidity, false);
    // The check, once its three parts stand above it.
    Blank(2);
    sec.Line(hd::kCheckHeading);
    Blank();
    N(d, 1, v.d1);
    N(d, 2, v.d2);
    N(d, 3, v.d3);
    N(d, 4, v.delta);
    N(d, 5, v.deltaA);
    S(d, 1, v.displacement.sign);
    S(d, 2, v.displacement.verdict);
    sec.Template(hd::kCheck);
    chapters::SymbolList(
        sec, hd::kSymbolsFirst, hd::kSymbolsLast, false,
        {{hd::kInertiaSymbol, v.kind == kKindConcrete ? hd::kInertiaSymbolConcrete : 0}});
}

}  // namespace

bool Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            const Staged v = Stage(results);
            ChapterData d;
            MomentLoads(d, results, v);
            MomentChang(d, v);
            basZuForces::PrintForceFigure(results);
            SectionCheck(d, v);
            Embedment(d, v);
            HeadDisplacement(d, v);
        },
        error);
}

}  // namespace kuvelt::basResOutYaita
