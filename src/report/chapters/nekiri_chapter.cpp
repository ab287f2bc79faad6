// Chapter 5, excavation-bottom stability: the boiling check of sandy ground and the heaving
// check of clayey ground (separate wording for cohesion constant or growing with depth), from
// the two stability instances. The verdict is the check's own.
#include "calc/nekiri.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"

namespace kuvelt {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;

void Spaced(ChapterSection& sec, int32_t first, int32_t last) {
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

}  // namespace

bool basResOutNekiriAnteiAs::Write(std::string* error) {
    return RunChapter(
        [] {
            clsNekiriAnteiAs& b = *gNekiriAnteiAs;
            const double gws = b.Gws, gw = b.Gw, hw = b.Hw, dd = b.D, f = b.F(), fa = b.Fa;
            const bool passes = b.Hantei();
            ChapterData d;
            ChapterSection sec(d, "ﾎﾞｲﾘﾝｸﾞの検討", true);
            sec.Line(1);
            PrintBlankLines(1);
            sec.Line(2);
            PrintBlankLines(1);
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

bool basResOutNekiriAnteiAc::Write(std::string* error) {
    return RunChapter(
        [] {
            clsNekiriAnteiAc& h = *gNekiriAnteiAc;
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
                Verdict(d, f, fa, passes);
                sec.Template(5);
                sec.Line(6);
                Spaced(sec, 7, 13);
            }
        },
        error);
}

}  // namespace kuvelt
