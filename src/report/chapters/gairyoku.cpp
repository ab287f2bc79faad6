// Chapter 2, external forces: the surcharge of the chosen shape with its influence factors, the
// active and passive earth pressure layer by layer (sandy or clayey ground) and the residual
// water pressure, all as the run's results hold them (surcharge, earth pressure and residual
// water stages).
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "model/design.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/chapters/zu_pressure.h"
#include "report/format_lines.h"

namespace kuvelt::basResOutGairyoku {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;
using chapters::SpacedBlock;
using chapters::SymbolList;

// The pieces of a side: ten ground layers split at the groundwater and the design ground level
// give twelve, and the clayey pressure line may change from one branch to the other once in each
// of them.
constexpr int32_t kMaxLayers = 24;

// The two terms of the influence factor's formula at the relative distance `x` as printed (the
// factor is computed from it), so that I can be followed by hand.
void FactorTerms(ChapterData& d, ChapterSection& sec, int32_t line, double x) {
    N(d, 1, Checked(1.0 + x * x));
    N(d, 2, Checked(std::atan(x)));
    sec.Template(line);
}

void SurchargeHorizontal(ChapterData& d, const clsQqw& q) {
    namespace line = fmt::surchargeHorizontal;
    ChapterSection sec(d, line::kSection, true);
    for (int32_t l = line::kTitle; l <= line::kFactorHeading; ++l) {
        sec.Line(l);
        PrintBlankLines(1);
    }
    for (int32_t l = line::kFactorIntro; l <= line::kRelativeDistance; ++l) sec.Line(l);
    SymbolList(sec, line::kSymbolsFirst, line::kSymbolsLast, true);
    PrintBlankLines(2);
    N(d, 1, q.Xq());
    sec.Template(line::kDistance);
    N(d, 1, q.XHq());
    N(d, 2, q.Iq());
    sec.Template(line::kFactor);
    FactorTerms(d, sec, line::kFactorTerms, q.XHq());
    N(d, 1, q.H);
    sec.Template(line::kHeight);
    PrintBlankLines(2);
    sec.Line(line::kLoadHeading);
    PrintBlankLines(1);
    N(d, 1, q.D1Q);
    N(d, 2, q.Iq());
    N(d, 3, q.QQ());
    sec.Template(line::kLoad);
}

// The slope's surcharge acts in full; its slope enters the earth pressure as β.
void SurchargeSlope(ChapterData& d, const clsQqw& q, const clsSpa& spa) {
    namespace line = fmt::surchargeSlope;
    ChapterSection sec(d, line::kSection, true);
    for (int32_t l = line::kTitle; l <= line::kShape; ++l) {
        sec.Line(l);
        PrintBlankLines(1);
    }
    sec.Line(line::kIntro);
    sec.Line(line::kSlopeNote);
    PrintBlankLines(1);
    N(d, 1, q.QQ());
    sec.Template(line::kLoad);
    N(d, 1, spa.Beta);
    N(d, 2, q.D2m);
    sec.Template(line::kSlope);
}

void SurchargeTrapezoid(ChapterData& d, const clsQqw& q) {
    {
        namespace line = fmt::surchargeTrapezoid1;
        ChapterSection sec(d, line::kSection, true);
        for (int32_t l = line::kTitle; l <= line::kIntro; ++l) {
            sec.Line(l);
            PrintBlankLines(1);
        }
        for (int32_t l = line::kEmbankmentHeading; l <= line::kFactorLabel; ++l) sec.Line(l);
        SpacedBlock(sec, line::kFactorFormula, line::kFactorSymbolsLast, true);
        PrintBlankLines(2);
        sec.Line(line::kPositionLabel);
        PrintBlankLines(1);
        sec.Line(line::kPositionFormula);
        PrintBlankLines(1);
        SymbolList(sec, line::kSymbolsFirst, line::kSymbolsLast, true, {}, line::kWhere);
        PrintBlankLines(1);
        for (int32_t l = line::kLoadLabel; l <= line::kLoadSymbol; ++l) sec.Line(l);
        PrintBlankLines(1);
        sec.Line(line::kCalculation);
        PrintBlankLines(1);
        sec.Line(line::kPositionAndFactor);
        PrintBlankLines(2);
        N(d, 1, q.D3X1);
        N(d, 2, q.D3X2);
        N(d, 3, q.Xw());
        sec.Template(line::kPosition);
        N(d, 1, q.XHw());
        N(d, 2, q.Iw());
        sec.Template(line::kFactor);
        FactorTerms(d, sec, line::kFactorTerms, q.XHw());
        N(d, 1, q.H);
        sec.Template(line::kHeight);
        PrintBlankLines(2);
        sec.Line(line::kLoadHeading);
        PrintBlankLines(1);
        N(d, 1, q.D3Gs);
        N(d, 2, q.D3Ho);
        N(d, 3, q.Iw());
        N(d, 4, q.Qw());
        sec.Template(line::kLoad);
    }
    namespace line = fmt::surchargeTrapezoid2;
    ChapterSection sec(d, line::kSection);
    PrintPageBreak();
    sec.Line(line::kHeading);
    PrintBlankLines(1);
    sec.Line(line::kIntro);
    PrintBlankLines(1);
    sec.Line(line::kProviso);
    SpacedBlock(sec, line::kFormulaFirst, line::kFormulaLast, true);
    PrintBlankLines(2);
    const double reach = Checked(q.D3Ho + q.H);
    // The crest surcharge counts only when it starts nearer the wall than H + Ho.
    const bool beyond = q.Xq() >= reach;
    N(d, 1, q.D3X1);
    N(d, 2, q.D3X2);
    N(d, 3, q.Xq());
    N(d, 4, reach);
    S(d, 1, beyond ? "≧" : "＜");
    sec.Template(line::kReach);
    PrintBlankLines(1);
    if (beyond) {
        sec.Line(line::kBeyond);
        PrintBlankLines(1);
        sec.Line(line::kBeyondLoad);
    } else {
        N(d, 1, q.XHq());
        N(d, 2, q.Iq());
        sec.Template(line::kFactor);
        FactorTerms(d, sec, line::kFactorTerms, q.XHq());
        N(d, 1, q.H);
        sec.Template(line::kHeight);
        PrintBlankLines(1);
        sec.Line(line::kLoadLabel);
        PrintBlankLines(1);
        N(d, 1, q.D3Q);
        N(d, 2, q.Iq());
        N(d, 3, q.QQ());
        sec.Template(line::kLoad);
    }
    PrintBlankLines(2);
    sec.Line(line::kTotalHeading);
    PrintBlankLines(1);
    sec.Line(line::kTotalIntro);
    PrintBlankLines(1);
    sec.Line(line::kTotalFormula);
    PrintBlankLines(1);
    N(d, 1, q.Qw());
    N(d, 2, q.QQ());
    sec.Template(line::kTotalTerms);
    PrintBlankLines(1);
    N(d, 1, q.Q());
    sec.Template(line::kTotal);
}

// The layers of an earth-pressure stage, at most kMaxLayers.
std::vector<clsSpJiban> Layers(const colSpJiban& jiban, const char* side) {
    if (jiban.Count() > kMaxLayers) {
        throw PrintFault(vberr::kSubscript, std::string(side) + "の土層数が" +
                                                std::to_string(kMaxLayers) + "を超えています");
    }
    std::vector<clsSpJiban> out;
    for (const clsSpJiban& l : jiban) out.push_back(l);
    return out;
}

// The lines of a side's sandy earth-pressure table; the active and the passive section share
// their layout.
struct SandyLines {
    std::string_view section;
    int32_t title, slope, stressLabel, surcharge, frictionLabel, friction;
    int32_t headerFirst, headerLast, upper, layer, lower, separator, closing;
};

// The lines under a sandy table that give its coefficients' terms.
struct CoefficientLines {
    int32_t label, terms, layerTerms;
};

namespace sa = fmt::sandy2;
namespace sp = fmt::sandy3;
constexpr SandyLines kSandyActive = {
    sa::kSection,       sa::kTitle,    sa::kSlope,       sa::kStressLabel, sa::kSurcharge,
    sa::kFrictionLabel, sa::kFriction, sa::kHeaderFirst, sa::kHeaderLast,  sa::kUpper,
    sa::kLayer,         sa::kLower,    sa::kSeparator,   sa::kClosing};
constexpr SandyLines kSandyPassive = {
    sp::kSection,       sp::kTitle,    sp::kSlope,       sp::kStressLabel, sp::kSurcharge,
    sp::kFrictionLabel, sp::kFriction, sp::kHeaderFirst, sp::kHeaderLast,  sp::kUpper,
    sp::kLayer,         sp::kLower,    sp::kSeparator,   sp::kClosing};
constexpr CoefficientLines kActiveTerms = {sa::kCoefficientsLabel, sa::kCoefficients,
                                           sa::kLayerCoefficients};
constexpr CoefficientLines kPassiveTerms = {sp::kCoefficientsLabel, sp::kCoefficients,
                                            sp::kLayerCoefficients};

// Under a sandy table: for each coefficient of it, the terms it is found with (t, Coulomb's
// coefficient before its horizontal projection, the projection by cos δ and the slip angle), once
// for the pieces that share them. Layered ground names the ground layer.
void CoefficientTerms(ChapterData& d, ChapterSection& sec, const CoefficientLines& line,
                      double delta, const std::vector<clsSpJiban>& layers) {
    struct Terms {
        int32_t layer;
        double fai, root, coef, kah, zeta;
        bool operator==(const Terms&) const = default;
    };
    std::vector<Terms> rows;
    for (const clsSpJiban& j : layers) {
        if (j.Kind != 0) continue;
        const int32_t layer = chapters::Layered() ? chapters::PieceLayer(j) : 0;
        for (const Terms& t : {Terms{layer, j.Fai, j.RootU, j.CoefU, j.KaU, j.ZetaU},
                               Terms{layer, j.Fai, j.RootL, j.CoefL, j.KaL, j.ZetaL}}) {
            if (std::find(rows.begin(), rows.end(), t) == rows.end()) rows.push_back(t);
        }
    }
    if (rows.empty()) return;
    PrintKeepLines(static_cast<int32_t>(rows.size()) + 1);
    N(d, 1, delta);
    sec.Template(line.label);
    for (const Terms& t : rows) {
        int32_t slot = 1;
        if (t.layer > 0) N(d, slot++, t.layer);
        N(d, slot++, t.fai);
        N(d, slot++, t.root);
        N(d, slot++, t.coef);
        N(d, slot++, t.kah);
        N(d, slot, t.zeta);
        sec.Template(t.layer > 0 ? line.layerTerms : line.terms);
    }
}

// In ground of both soils each soil's sections and tables say which soil they are of: the
// titles would otherwise repeat (土圧, 土圧; 主働土圧の計算 twice).
std::string SoilMark(bool mixed, bool sandy) {
    return mixed ? "（" + chapters::SoilName(sandy ? 0 : 1) + "）" : std::string();
}

// Line `l` of the section with `mark` after its text.
void MarkedLine(const ChapterData& d, int32_t l, const std::string& mark) {
    PrintFormatLine(d.LineLevels.at(std::size_t(l)), d.LineTexts.at(std::size_t(l)) + mark);
}

template <class Stage>
void SandyPressure(ChapterData& d, const SandyLines& line, const Stage& st,
                   const std::vector<clsSpJiban>& layers, bool passive, const std::string& mark) {
    ChapterSection sec(d, line.section);
    const int32_t n = static_cast<int32_t>(layers.size());
    // The calculation starts where its table fits below its lines; else on a new page.
    NewPageIfShort(4 * n + 15, 2);
    MarkedLine(d, line.title, mark);
    PrintBlankLines(1);
    N(d, 1, st.Beta);
    sec.Template(line.slope);
    sec.Line(line.stressLabel);
    N(d, 1, st.Q);
    N(d, 2, st.Q2());
    sec.Template(line.surcharge);
    sec.Line(line.frictionLabel);
    N(d, 1, st.Delta);
    sec.Template(line.friction);
    PrintBlankLines(1);
    PrintTableCaption((passive ? "受働土圧強度" : "主働土圧強度") + mark);
    for (int32_t l = line.headerFirst; l <= line.headerLast; ++l) sec.Line(l);
    chapters::WriteLayerTable(
        sec, n,
        [&](int32_t i) {
            const clsSpJiban& j = layers[static_cast<std::size_t>(i - 1)];
            N(d, 1, j.EU);
            N(d, 2, j.GHU);
            N(d, 3, j.PaU);
            sec.Template(line.upper);
            N(d, 1, j.H);
            N(d, 2, j.Gs);
            N(d, 3, j.GH);
            N(d, 4, j.Fai);
            N(d, 5, j.KaU);
            sec.Template(line.layer);
            N(d, 1, j.EL);
            N(d, 2, j.GHL);
            N(d, 3, j.PaL);
            sec.Template(line.lower);
        },
        line.separator, line.closing, line.headerFirst, line.headerLast);
    CoefficientTerms(d, sec, passive ? kPassiveTerms : kActiveTerms, st.Delta, layers);
}

// The lines of a side's clayey earth-pressure table; the active and the passive section share
// their layout.
struct ClayeyLines {
    std::string_view section;
    int32_t title, headerFirst, headerLast, upper, layer, lower, separator, closing;
};

namespace ca = fmt::clayey2;
namespace cp = fmt::clayey3;
constexpr ClayeyLines kClayeyActive = {ca::kSection,    ca::kTitle,     ca::kHeaderFirst,
                                       ca::kHeaderLast, ca::kUpper,     ca::kLayer,
                                       ca::kLower,      ca::kSeparator, ca::kClosing};
constexpr ClayeyLines kClayeyPassive = {cp::kSection,    cp::kTitle,     cp::kHeaderFirst,
                                        cp::kHeaderLast, cp::kUpper,     cp::kLayer,
                                        cp::kLower,      cp::kSeparator, cp::kClosing};

// `splits`: the levels of the active stage's ground layer table (nullptr for the passive side).
void ClayeyPressure(ChapterData& d, const ClayeyLines& line, const std::vector<clsSpJiban>& layers,
                    const colKhAddEL* splits, const std::string& mark) {
    const bool passive = splits == nullptr;
    ChapterSection sec(d, line.section);
    const int32_t n = static_cast<int32_t>(layers.size());
    NewPageIfShort(4 * n + 8, 2);
    MarkedLine(d, line.title, mark);
    PrintTableCaption((passive ? "受働土圧強度" : "主働土圧強度") + mark);
    for (int32_t l = line.headerFirst; l <= line.headerLast; ++l) sec.Line(l);
    chapters::WriteLayerTable(
        sec, n,
        [&](int32_t i) {
            const clsSpJiban& j = layers[static_cast<std::size_t>(i - 1)];
            if (passive) {
                N(d, 1, j.EU);
                N(d, 2, j.GHU);
                N(d, 3, j.CU);
                N(d, 4, j.PaU);
            } else {
                N(d, 1, j.EU);
                N(d, 2, j.GHU);
                N(d, 3, j.CU);
                N(d, 4, j.P1U);
                N(d, 5, j.P2U);
                N(d, 6, j.PaU);
            }
            sec.Template(line.upper);
            N(d, 1, j.H);
            N(d, 2, j.Gs);
            N(d, 3, j.GH);
            sec.Template(line.layer);
            if (passive) {
                N(d, 1, j.EL);
                N(d, 2, j.GHL);
                N(d, 3, j.CL);
                N(d, 4, j.PaL);
            } else {
                N(d, 1, j.EL);
                N(d, 2, j.GHL);
                N(d, 3, j.CL);
                N(d, 4, j.P1L);
                N(d, 5, j.P2L);
                N(d, 6, j.PaL);
            }
            sec.Template(line.lower);
        },
        line.separator, line.closing, line.headerFirst, line.headerLast);
    if (passive) return;
    // The levels where σv − 2C meets 0.5σv, at which the calculation split a layer (the table's
    // boundaries beyond the design ground level; the groundwater level is no extra level).
    const colKhAddEL& levels = *splits;
    for (int32_t i = 2; i <= levels.Count(); ++i) {
        N(d, 1, levels.Item(i)->EL);
        sec.Template(ca::kSplitLevel);
    }
}

std::vector<clsSpJiban> OfKind(const std::vector<clsSpJiban>& pieces, bool sandy) {
    std::vector<clsSpJiban> out;
    for (const clsSpJiban& p : pieces) {
        if ((p.Kind == 0) == sandy) out.push_back(p);
    }
    return out;
}

// Under a table of layered ground: the ground layers its pieces belong to.
void PiecesLayers(ChapterData& d, const std::vector<clsSpJiban>& pieces, bool sandy) {
    if (!chapters::Layered() || pieces.empty()) return;
    namespace line = fmt::pressureLayers;
    std::string names;
    int32_t last = 0;
    for (const clsSpJiban& p : pieces) {
        const int32_t layer = chapters::PieceLayer(p);
        if (layer == last) continue;
        names += (names.empty() ? "第" : "，第") + std::to_string(layer) + "層";
        last = layer;
    }
    ChapterSection sec(d, line::kSection);
    S(d, 1, names);
    sec.Template(sandy ? line::kSandyLayers : line::kClayeyLayers);
}

void SandyIntro(ChapterData& d, const clsSpa& spa, const clsSpp& spp, const std::string& mark) {
    namespace line = fmt::sandy1;
    ChapterSection sec(d, line::kSection);
    // The friction angles the stages used, where they are not the usual ±15°.
    const bool usual = spa.Delta == clsSpa{}.Delta && spp.Delta == clsSpp{}.Delta;
    // Coulomb's two blocks of formulas stand on one page.
    NewPageIfShort(50, 1);
    MarkedLine(d, line::kTitle, mark);
    PrintBlankLines(1);
    sec.Line(line::kIntro);
    PrintBlankLines(1);
    for (int32_t l = line::kActiveHeading; l <= line::kActiveStress; ++l) sec.Line(l);
    PrintBlankLines(1);
    for (int32_t l = line::kActiveCoefficient; l < line::kActiveFrictionNote; ++l) sec.Line(l);
    for (int32_t l = line::kActiveSlip; l <= line::kActiveSlipLast; ++l) sec.Line(l);
    if (usual) {
        sec.Line(line::kActiveFrictionNote);
    } else {
        N(d, 1, spa.Delta);
        sec.Template(line::kActiveFrictionNoteValue);
    }
    PrintBlankLines(1);
    sec.Line(line::kPassiveHeading);
    PrintBlankLines(1);
    for (int32_t l = line::kPassiveFormula; l < line::kWhere; ++l) sec.Line(l);
    for (int32_t l = line::kPassiveSlip; l <= line::kPassiveSlipLast; ++l) sec.Line(l);
    N(d, 1, spa.Delta);
    N(d, 2, spp.Delta);
    SymbolList(sec, line::kSymbolsFirst, line::kSymbolsLast, true,
               {{line::kFrictionSymbol, usual ? 0 : line::kFrictionSymbolValue}}, line::kWhere);
}

void ClayeyIntro(ChapterData& d, const std::string& mark) {
    namespace line = fmt::clayey1;
    ChapterSection sec(d, line::kSection);
    chapters::StartSection();
    for (int32_t l = line::kTitle; l <= line::kPassiveHeading; ++l) {
        l == line::kTitle ? MarkedLine(d, l, mark) : sec.Line(l);
        PrintBlankLines(1);
    }
    sec.Line(line::kPassiveFormula);
    // In layered ground each layer's cohesion is measured from its own top.
    const bool layered = chapters::Layered();
    SymbolList(sec, line::kSymbolsFirst, line::kSymbolsLast, true,
               {{line::kSurfaceCohesionSymbol, layered ? line::kLayerCohesionSymbol : 0},
                {line::kDepthSymbol, layered ? line::kLayerDepthSymbol : 0}});
}

// Each piece with its own soil: the sandy pieces in Coulomb's tables, the clayey ones in the
// cohesion tables, the active side's before the passive side's. Ground of one soil prints both
// tables of that soil.
void EarthPressure(ChapterData& d, const Results& r) {
    const clsSpa& spa = chapters::Reached(r.spa);
    const clsSpp& spp = chapters::Reached(r.spp);
    const auto active = Layers(spa.Jiban(), "主働側");
    const auto passive = Layers(spp.Jiban(), "受働側");
    const auto sandyActive = OfKind(active, true), sandyPassive = OfKind(passive, true);
    const auto clayeyActive = OfKind(active, false), clayeyPassive = OfKind(passive, false);
    bool sandy = !sandyActive.empty() || !sandyPassive.empty();
    bool clayey = !clayeyActive.empty() || !clayeyPassive.empty();
    const bool mixed = sandy && clayey;
    if (!mixed) {
        // One soil (the ground's own when a side has no piece at all).
        sandy = sandy || (!clayey && gInpJiban.Kind == 0);
        clayey = !sandy;
    }
    // One soil prints both of its tables as they are; in mixed ground a side without a piece of
    // a soil has no table of it.
    auto wanted = [&](const std::vector<clsSpJiban>& pieces) { return !mixed || !pieces.empty(); };
    // Each soil's section holds its own calculations: the sand's tables under 土圧（砂質土）, the
    // clay's under 土圧（粘性土）.
    const std::string sandMark = SoilMark(mixed, true), clayMark = SoilMark(mixed, false);
    if (sandy) SandyIntro(d, spa, spp, sandMark);
    if (sandy && wanted(sandyActive)) {
        SandyPressure(d, kSandyActive, spa, mixed ? sandyActive : active, false, sandMark);
        PiecesLayers(d, sandyActive, true);
    }
    if (sandy && wanted(sandyPassive)) {
        SandyPressure(d, kSandyPassive, spp, mixed ? sandyPassive : passive, true, sandMark);
        PiecesLayers(d, sandyPassive, true);
    }
    if (clayey) ClayeyIntro(d, clayMark);
    if (clayey && wanted(clayeyActive)) {
        ClayeyPressure(d, kClayeyActive, mixed ? clayeyActive : active,
                       &chapters::Reached(r.khActive).AddEL(), clayMark);
        PiecesLayers(d, clayeyActive, false);
    }
    if (clayey && wanted(clayeyPassive)) {
        // The passive side of clayey ground is staged from the current passive stage like the
        // active one, so the table always belongs to this design.
        ClayeyPressure(d, kClayeyPassive, mixed ? clayeyPassive : passive, nullptr, clayMark);
        PiecesLayers(d, clayeyPassive, false);
    }
}

void ResidualWater(ChapterData& d, const Results& r) {
    const clsRWp& w = chapters::Reached(r.rwp);
    namespace line = fmt::residualWater;
    ChapterSection sec(d, line::kSection);
    NewPageIfShort(20, 2);
    // The head between the groundwater and the channel water where that stands above the design
    // ground level.
    const bool raised = chapters::ChannelWaterRaised(w.ELLWL);
    sec.Line(line::kTitle);
    PrintBlankLines(1);
    sec.Line(raised ? line::kIntroChannel : line::kIntro);
    PrintBlankLines(1);
    sec.Line(line::kFormula);
    SymbolList(sec, line::kSymbolsFirst, line::kDistribution, true,
               {{line::kHeadSymbol, raised ? line::kHeadSymbolChannel : 0}});
    PrintBlankLines(2);
    sec.Line(line::kCalculation);
    PrintBlankLines(1);
    N(d, 1, w.ELRWL);
    N(d, 2, w.ELLWL);
    N(d, 3, w.DH());
    sec.Template(raised ? line::kHeadValues : line::kHeadValuesGround);
    N(d, 1, w.Gw);
    N(d, 2, w.DH());
    N(d, 3, w.Pw());
    sec.Template(line::kPressure);
}

}  // namespace

bool Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            ChapterData d;
            const clsQqw& q = chapters::Reached(results.qqw);
            switch (q.Keijyo) {
                case 0:
                    SurchargeHorizontal(d, q);
                    break;
                case 1:
                    SurchargeSlope(d, q, chapters::Reached(results.spa));
                    break;
                default:
                    SurchargeTrapezoid(d, q);
                    break;
            }
            EarthPressure(d, results);
            ResidualWater(d, results);
            basZuPressure::WritePressureFigure(results);
        },
        error);
}

}  // namespace kuvelt::basResOutGairyoku
