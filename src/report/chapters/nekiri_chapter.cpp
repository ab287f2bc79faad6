// Chapter 5, excavation-bottom stability: the boiling check of sandy ground and the heaving
// check of clayey ground (separate wording for cohesion constant or growing with depth), from
// the two stability instances. The verdict is the check's own.
#include <algorithm>

#include "calc/nekiri.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"

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

// The chapter of a check that faulted: the heading and the method, the first `intro` lines of
// `section` (a blank line after each of its first `spaced`), then, where the calculation would
// stand, the error instead of a factor, and the list of symbols.
void Faulted(std::string_view section, int32_t intro, int32_t spaced, int32_t symbolsFirst,
             int32_t symbolsLast, int32_t error) {
    ChapterData d;
    {
        ChapterSection sec(d, section, true);
        for (int32_t l = 1; l <= intro; ++l) {
            sec.Line(l);
            if (l <= spaced) PrintBlankLines(1);
        }
        PrintBlankLines(1);
    }
    {
        ChapterSection sec(d, "根切り底面の安定_計算ｴﾗｰ");
        N(d, 1, error);
        sec.Template(1);
    }
    ChapterSection sec(d, section);
    Spaced(sec, symbolsFirst, symbolsLast);
}

}  // namespace

bool basResOutNekiriAnteiAs::Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            const clsNekiriAnteiAs& b = chapters::Reached(results.boiling);
            if (b.Error() != 0) return Faulted("ﾎﾞｲﾘﾝｸﾞの検討", 5, 2, 9, 15, b.Error());
            const double gws = b.Gws, gw = b.Gw, hw = b.Hw, dd = b.D, f = b.F(), fa = b.Fa;
            const bool passes = b.Hantei();
            ChapterData d;
            ChapterSection sec(d, "ﾎﾞｲﾘﾝｸﾞの検討", true);
            sec.Line(1);
            PrintBlankLines(1);
            sec.Line(2);
            PrintBlankLines(1);
            if (b.NoHead()) {
                // No head, no flow: the check is not needed, and no factor of 999 is printed.
                N(d, 1, hw);
                sec.Template(16);
                sec.Line(17);
                return;
            }
            sec.Line(3);
            sec.Line(4);
            sec.Line(5);
            PrintBlankLines(1);
            N(d, 1, gws);
            N(d, 2, dd);
            sec.Template(6);
            Verdict(d, f, fa, passes);
            sec.Template(7);
            N(d, 1, hw);
            N(d, 2, gw);
            sec.Template(8);
            Spaced(sec, 9, 15);
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
                return h.Ca >= 0.001 ? Faulted("ﾋｰﾋﾞﾝｸﾞの検討(a>0)", 9, 3, 11, 21, h.Error())
                                     : Faulted("ﾋｰﾋﾞﾝｸﾞの検討(a=0)", 4, 3, 7, 13, h.Error());
            }
            const double f = h.F(), fa = h.Fa, ca = h.Ca;
            const bool passes = h.Hantei();
            ChapterData d;
            if (ca >= 0.001) {
                ChapterSection sec(d, "ﾋｰﾋﾞﾝｸﾞの検討(a>0)", true);
                for (int32_t l = 1; l <= 3; ++l) {
                    sec.Line(l);
                    PrintBlankLines(1);
                }
                for (int32_t l = 4; l <= 6; ++l) sec.Line(l);
                PrintBlankLines(1);
                for (int32_t l = 7; l <= 9; ++l) sec.Line(l);
                HeavingWork(d, sec, h, 22, 23, 24);
                PrintBlankLines(1);
                Verdict(d, f, fa, passes);
                sec.Template(10);
                Spaced(sec, 11, 21);
            } else {
                ChapterSection sec(d, "ﾋｰﾋﾞﾝｸﾞの検討(a=0)", true);
                for (int32_t l = 1; l <= 3; ++l) {
                    sec.Line(l);
                    PrintBlankLines(1);
                }
                sec.Line(4);
                HeavingWork(d, sec, h, 14, 15, 16);
                Verdict(d, f, fa, passes);
                sec.Template(5);
                sec.Line(6);
                Spaced(sec, 7, 13);
            }
        },
        error);
}

}  // namespace kuvelt
