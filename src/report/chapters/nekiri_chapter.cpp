// Chapter 5, excavation-bottom stability: the boiling check of sandy ground and the heaving
// check of clayey ground (separate wording for cohesion constant or growing with depth), from
// the two stability instances. The verdict is the check's own.
#include <algorithm>

#include "calc/nekiri.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/format_lines.h"

namespace kuvelt {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;

void Spaced(ChapterSection& sec, int32_t first, int32_t last) {
    PrintKeepLines(2 * (last - first + 1));  // the list of symbols stands on one page
    for (int32_t l = first; l <= last; ++l) {
        PrintBlankLines(1);
        sec.Line(l);
    }
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
    Spaced(sec, f.symbolsFirst, f.symbolsLast);
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
            const double gws = b.Gws, gw = b.Gw, hw = b.Hw, dd = b.D, f = b.F(), fa = b.Fa;
            const bool passes = b.Hantei();
            ChapterData d;
            ChapterSection sec(d, bo::kSection, true);
            sec.Line(bo::kTitle);
            PrintBlankLines(1);
            sec.Line(bo::kHeading);
            PrintBlankLines(1);
            if (b.NoHead()) {
                // No head, no flow: the check is not needed, and no factor of 999 is printed.
                N(d, 1, hw);
                sec.Template(bo::kNoHead);
                sec.Line(bo::kNoHeadNote);
                return;
            }
            sec.Line(bo::kMethod);
            sec.Line(bo::kFormula);
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
            Spaced(sec, bo::kSymbolsFirst, bo::kSymbolsLast);
        },
        error);
}

namespace {

// The overburden with its terms, then the factor with its numbers, so the printed F can be
// checked by hand: `wLine` the W line, `fLine` the factor's, `noneLine` the one for W <= 0.
void HeavingWork(ChapterData& d, ChapterSection& sec, const clsNekiriAnteiAc& h, int32_t wLine,
                 int32_t fLine, int32_t noneLine) {
    const double h1 = std::max(0.0, Checked(h.H - h.Hw)), h2 = std::max(0.0, h.Hw);
    const double W = Checked(h1 * h.Gt + (h.Gws + h.Gw) * h2 + h.Q);
    N(d, 1, h.Gt);
    N(d, 2, h1);
    N(d, 3, h.Gws);
    N(d, 4, h.Gw);
    N(d, 5, h2);
    N(d, 6, h.Q);
    N(d, 7, W);
    sec.Template(wLine);
    if (W <= 0.001) {
        sec.Line(noneLine);
        return;
    }
    if (h.Ca >= 0.001) {
        N(d, 1, W);
        N(d, 2, h.Ca);
        N(d, 3, h.H);
        N(d, 4, h.Cb);
        N(d, 5, Checked(h.Ca * h.Ca * h.H * h.H + 2.0 * h.Ca * h.Cb * h.H));
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
                for (int32_t l = hi::kNotesFirst; l <= hi::kCalculation; ++l) sec.Line(l);
                HeavingWork(d, sec, h, hi::kOverburden, hi::kFactorWork, hi::kNoOverburden);
                PrintBlankLines(1);
                Verdict(d, f, fa, passes);
                sec.Template(hi::kFactor);
                Spaced(sec, hi::kSymbolsFirst, hi::kSymbolsLast);
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
                Spaced(sec, hc::kSymbolsFirst, hc::kSymbolsLast);
            }
        },
        error);
}

}  // namespace kuvelt
