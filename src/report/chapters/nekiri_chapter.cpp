// Chapter 5, excavation-bottom stability: the boiling check of sandy ground and the heaving
// check of clayey ground (separate wording for cohesion constant or growing with depth), from
// the two stability instances. The verdict is the check's own.
#include <algorithm>
#include <vector>

#include "calc/nekiri.h"
#include "model/design.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/format_lines.h"

namespace kuvelt {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;

namespace bl = fmt::boilingLayers;
namespace hl = fmt::heavingLayers;

// Layered ground: the layer directly below the design ground level that decided the check.
void DecidingLayer(chapters::SectionLines& lines, int32_t line) {
    const std::vector<CInpJibanLayer> layers = chapters::DesignLayers();
    const std::size_t i = chapters::StabilityLayerIndex();
    N(lines.d, 1, static_cast<double>(i + 1));
    S(lines.d, 1, chapters::SoilName(layers[i].Kind));
    lines.Template(line);
}

// Layered ground: γ′ of the layers within the embedment D below the design ground level and
// their thickness-weighted mean.
void BoilingLayers(const clsNekiriAnteiAs& b) {
    if (!chapters::Layered()) return;
    chapters::SectionLines lines(bl::kSection);
    ChapterData& d = lines.d;
    PrintBlankLines(1);
    DecidingLayer(lines, bl::kDecidingLayer);
    const double top = gInpJyoken.ELDL;
    const std::vector<chapters::LayerShare> shares = chapters::SharesBelow(top, b.D);
    if (shares.empty()) {
        PrintBlankLines(1);
        return;
    }
    PrintKeepLines(static_cast<int32_t>(shares.size()) + 3);
    N(d, 1, top);
    N(d, 2, Checked(top - b.D));
    lines.Template(bl::kMeanIntro);
    lines.Line(bl::kMeanIntroEnd);
    // The mean printed is the γ′ the factor below is found with.
    chapters::PrintWeightedMean(lines, shares, &CInpJibanLayer::Gws, bl::kMeanPart, bl::kMean,
                                b.MeanGws(b.D));
    PrintBlankLines(1);
}

// Layered ground: the weight of every layer above the design ground level (wet above the
// groundwater, submerged with the water below it), the surcharge, and W. The channel water's
// weight is left out. Returns W as the sum prints it.
double HeavingLayers(const clsNekiriAnteiAc& h) {
    chapters::SectionLines lines(hl::kSection);
    ChapterData& d = lines.d;
    DecidingLayer(lines, hl::kDecidingLayer);
    const CInpJyoken& j = gInpJyoken;
    const std::vector<CInpJibanLayer> layers = chapters::DesignLayers();
    const std::vector<chapters::LayerShare> shares = chapters::SharesBelow(j.ELGL, j.ELGL - j.ELDL);
    // Each share in its part above and its part below the groundwater.
    struct Part {
        std::size_t layer;
        double top, bottom, weight;
    };
    std::vector<Part> parts;
    for (const chapters::LayerShare& s : shares) {
        const CInpJibanLayer& l = layers[s.layer];
        const double bottom = s.top - s.thickness;
        const double water = std::clamp(j.ELWL, bottom, s.top);
        if (s.top - water > 0.0005) parts.push_back({s.layer, s.top, water, l.Gt});
        if (water - bottom > 0.0005)
            parts.push_back({s.layer, water, bottom, l.Gws + gInpJiban.Gw});
    }
    PrintKeepLines(static_cast<int32_t>(parts.size()) + 4);
    lines.Line(hl::kOverburdenIntro);
    lines.Line(hl::kOverburdenNote);
    double sum = 0;
    for (const Part& p : parts) {
        const double thickness = Checked(p.top - p.bottom);
        N(d, 1, static_cast<double>(p.layer + 1));
        S(d, 1, chapters::SoilName(layers[p.layer].Kind));
        N(d, 2, p.top);
        N(d, 3, p.bottom);
        N(d, 4, p.weight);
        N(d, 5, thickness);
        N(d, 6, Checked(p.weight * thickness));
        lines.Template(hl::kOverburdenPart);
        sum += p.weight * thickness;
    }
    const double W = Checked(sum + h.Q);
    N(d, 1, sum);
    N(d, 2, h.Q);
    N(d, 3, W);
    lines.Template(hl::kOverburden);
    return W;
}

void Verdict(ChapterData& d, double f, double fa, bool passes) {
    const chapters::Judgement j = chapters::PassFactor(passes);
    N(d, 1, f);
    N(d, 2, fa);
    S(d, 1, j.sign);
    S(d, 2, j.verdict);
}

namespace bo = fmt::boiling;
namespace hi = fmt::heavingIncreasing;
namespace hc = fmt::heavingConstant;

// What a check that faulted prints of its section: the lines from its title to the heading of
// its calculation (a blank line after each up to `spacedLast`), and the list of symbols.
struct FaultedLines {
    std::string_view section;
    int32_t title, spacedLast, calculation, symbolsFirst, symbolsLast;
};

// The chapter of a check that faulted: the heading and the method, then, where the calculation
// would stand, the error instead of a factor, and the list of symbols.
void Faulted(const FaultedLines& f, int32_t error) {
    ChapterData d;
    {
        ChapterSection sec(d, f.section, true);
        for (int32_t l = f.title; l <= f.calculation; ++l) {
            sec.Line(l);
            if (l <= f.spacedLast) PrintBlankLines(1);
        }
        PrintBlankLines(1);
    }
    {
        ChapterSection sec(d, fmt::stabilityFault::kSection);
        N(d, 1, error);
        sec.Template(fmt::stabilityFault::kError);
    }
    ChapterSection sec(d, f.section);
    chapters::SymbolList(sec, f.symbolsFirst, f.symbolsLast, false);
}

}  // namespace

bool basResOutNekiriAnteiAs::Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            const clsNekiriAnteiAs& b = chapters::Reached(results.boiling);
            if (b.Error() != 0) {
                return Faulted({bo::kSection, bo::kTitle, bo::kHeading, bo::kCalculation,
                                bo::kSymbolsFirst, bo::kSymbolsLast},
                               b.Error());
            }
            const double gws = b.MeanGws(b.D), gw = b.Gw, hw = b.Hw, dd = b.D, f = b.F(), fa = b.Fa;
            const bool passes = b.Hantei();
            // The head is taken to the channel water where that stands above the design ground.
            const bool channel = chapters::ChannelWaterRaised(ChannelWaterLevel(gInpJyoken));
            ChapterData d;
            ChapterSection sec(d, bo::kSection, true);
            sec.Line(bo::kTitle);
            PrintBlankLines(1);
            sec.Line(bo::kHeading);
            PrintBlankLines(1);
            if (b.NoHead()) {
                // No head, no flow: the check is not needed, and no factor of 999 is printed.
                N(d, 1, hw);
                sec.Template(channel ? bo::kNoHeadChannel : bo::kNoHead);
                sec.Line(bo::kNoHeadNote);
                return;
            }
            sec.Line(bo::kMethod);
            sec.Line(bo::kFormula);
            BoilingLayers(b);
            sec.Line(bo::kCalculation);
            PrintBlankLines(1);
            N(d, 1, gws);
            N(d, 2, dd);
            sec.Template(bo::kNumerator);
            Verdict(d, f, fa, passes);
            sec.Template(bo::kFactor);
            N(d, 1, hw);
            N(d, 2, gw);
            sec.Template(bo::kDenominator);
            chapters::SymbolList(sec, bo::kSymbolsFirst, bo::kSymbolsLast, false,
                                 {{bo::kHeadSymbol, channel ? bo::kHeadSymbolChannel : 0}});
        },
        error);
}

namespace {

// The overburden with its terms, then the factor with its numbers, so the printed F can be
// checked by hand: `wLine` the W line, `fLine` the factor's, `noneLine` the one for W <= 0.
// Layered ground: W by layer (HeavingLayers) in place of the W line.
void HeavingWork(ChapterData& d, ChapterSection& sec, const clsNekiriAnteiAc& h, int32_t wLine,
                 int32_t fLine, int32_t noneLine) {
    double W = 0;
    if (chapters::Layered()) {
        W = HeavingLayers(h);
    } else {
        const double h1 = std::max(0.0, Checked(h.H - h.Hw)), h2 = std::max(0.0, h.Hw);
        W = Checked(h1 * h.Gt + (h.Gws + h.Gw) * h2 + h.Q);
        N(d, 1, h.Gt);
        N(d, 2, h1);
        N(d, 3, h.Gws);
        N(d, 4, h.Gw);
        N(d, 5, h2);
        N(d, 6, h.Q);
        N(d, 7, W);
        sec.Template(wLine);
    }
    if (W <= 0.001) {
        sec.Line(noneLine);
        return;
    }
    if (h.Layered && h.Ca >= 0.001) {
        // The cohesion at the bottom and its integral over the face above it, as the check
        // takes them across the layers.
        chapters::SectionLines lines(hl::kSection);
        lines.Line(hl::kCohesionNote);
        lines.Line(hl::kCohesionNoteEnd);
        lines.Line(hl::kFactorFormula);
        N(lines.d, 1, W);
        N(lines.d, 2, h.C0);
        N(lines.d, 3, h.Ca);
        N(lines.d, 4, h.CI);
        N(lines.d, 5, h.F());
        lines.Template(hl::kFactorWork);
        return;
    }
    if (h.Ca >= 0.001) {
        // The terms under the square root first, then the factor that takes their sum.
        const double root = Checked(h.Ca * h.Ca * h.H * h.H + 2.0 * h.Ca * h.Cb * h.H);
        N(d, 1, h.Ca);
        N(d, 2, h.H);
        N(d, 3, h.Ca);
        N(d, 4, h.Cb);
        N(d, 5, h.H);
        N(d, 6, root);
        sec.Template(hi::kRootTerms);
        N(d, 1, W);
        N(d, 2, h.Ca);
        N(d, 3, h.H);
        N(d, 4, h.Cb);
        N(d, 5, root);
        N(d, 6, h.F());
    } else {
        N(d, 1, h.Cb);
        N(d, 2, W);
        N(d, 3, h.F());
    }
    sec.Template(fLine);
}

}  // namespace

bool basResOutNekiriAnteiAc::Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            const clsNekiriAnteiAc& h = chapters::Reached(results.heaving);
            if (h.Error() != 0) {
                return h.Ca >= 0.001
                           ? Faulted({hi::kSection, hi::kTitle, hi::kMethod, hi::kCalculation,
                                      hi::kSymbolsFirst, hi::kSymbolsLast},
                                     h.Error())
                           : Faulted({hc::kSection, hc::kTitle, hc::kMethod, hc::kFormula,
                                      hc::kSymbolsFirst, hc::kSymbolsLast},
                                     h.Error());
            }
            const double f = h.F(), fa = h.Fa, ca = h.Ca;
            const bool passes = h.Hantei();
            ChapterData d;
            if (ca >= 0.001) {
                ChapterSection sec(d, hi::kSection, true);
                for (int32_t l = hi::kTitle; l <= hi::kMethod; ++l) {
                    sec.Line(l);
                    PrintBlankLines(1);
                }
                for (int32_t l = hi::kFormulaFirst; l <= hi::kFormulaLast; ++l) sec.Line(l);
                PrintBlankLines(1);
                // In layered ground each clay layer's cohesion is measured from its own top.
                const bool layered = chapters::Layered();
                for (int32_t l = hi::kNotesFirst; l <= hi::kCalculation; ++l)
                    sec.Line(layered && l == hi::kSurfaceNote ? hi::kLayerNote : l);
                HeavingWork(d, sec, h, hi::kOverburden, hi::kFactorWork, hi::kNoOverburden);
                PrintBlankLines(1);
                Verdict(d, f, fa, passes);
                sec.Template(hi::kFactor);
                chapters::SymbolList(sec, hi::kSymbolsFirst, hi::kSymbolsLast, false,
                                     {{hi::kSurfaceCohesion, layered ? hi::kLayerCohesion : 0}});
            } else {
                ChapterSection sec(d, hc::kSection, true);
                for (int32_t l = hc::kTitle; l <= hc::kMethod; ++l) {
                    sec.Line(l);
                    PrintBlankLines(1);
                }
                sec.Line(hc::kFormula);
                HeavingWork(d, sec, h, hc::kOverburden, hc::kFactorWork, hc::kNoOverburden);
                Verdict(d, f, fa, passes);
                sec.Template(hc::kFactor);
                sec.Line(hc::kNote);
                chapters::SymbolList(sec, hc::kSymbolsFirst, hc::kSymbolsLast, false);
            }
        },
        error);
}

}  // namespace kuvelt
