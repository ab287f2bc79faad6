// Chapter 3, virtual ground surface: the net lateral pressure layer by layer (active earth
// pressure, residual water pressure and passive earth pressure), the layer of the zero crossing
// and the level found, with the 0.5 m rule of clayey ground.
#include <array>
#include <cmath>
#include <vector>

#include "model/design.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"

namespace kuvelt::basResOutDL {
namespace {

using namespace basResOutPrn;
using chapters::N;

constexpr int32_t kMaxRows = 50;

// A level is above another when it exceeds it by at least 1 mm.
bool Above(double e, double level) { return e > level && std::fabs(e - level) >= 0.001; }

}  // namespace

bool Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            const double elwl = gInpJyoken.ELWL;
            const double eldl = gInpJyoken.ELDL;
            const int32_t kind = gInpJiban.Kind;
            const clsDL& dl = chapters::Reached(results.dl);
            const int32_t n = dl.Pg().Count();
            if (n > kMaxRows) {
                throw PrintFault(vberr::kSubscript,
                                 "正味圧力の層数が" + std::to_string(kMaxRows) + "を超えています");
            }
            // Row i of the table: the four lists of the virtual ground stage, paired by position.
            std::vector<std::array<double, 11>> t(static_cast<std::size_t>(n) + 1);
            auto at = [](const colDLLoad& l, int32_t i) -> const clsDLLoad& {
                const clsDLLoad* p = l.Item(i);
                if (!p) throw PrintFault(vberr::kObjectMissing, "荷重層がありません");
                return *p;
            };
            for (int32_t i = 1; i <= n; ++i) {
                const clsDLLoad& g = at(dl.Pg(), i);
                const clsDLLoad& a = at(dl.Pa(), i);
                const clsDLLoad& w = at(dl.Pw(), i);
                const clsDLLoad& p = at(dl.Pp(), i);
                t[static_cast<std::size_t>(i)] = {0,    g.EU, a.PU, w.PU, p.PU, g.PU,
                                                  g.EL, a.PL, w.PL, p.PL, g.PL};
            }
            ChapterData d;
            ChapterSection sec(d, "仮想地盤面", true);
            sec.Line(1);
            PrintBlankLines(1);
            sec.Line(2);
            PrintBlankLines(1);
            for (int32_t l = 3; l <= 7; ++l) sec.Line(l);
            chapters::WriteLayerTable(
                sec, n,
                [&](int32_t i) {
                    const auto& r = t[static_cast<std::size_t>(i)];
                    // Columns of the upper line per form; the lower line takes the five after.
                    static const std::vector<int32_t> kDry = {1, 2, 5}, kWet = {1, 2, 3, 5},
                                                      kBelow = {1, 2, 3, 4, 5};
                    int32_t first = 16;
                    const std::vector<int32_t>* cols = &kBelow;
                    if (Above(r[1], eldl) && Above(r[1], elwl)) {
                        first = 8;  // above both levels: no water, no passive pressure
                        cols = &kDry;
                    } else if (Above(r[1], eldl)) {
                        first = 12;  // under the water table, above the design ground level
                        cols = &kWet;
                    }
                    auto fill = [&](int32_t shift) {
                        for (std::size_t c = 0; c < cols->size(); ++c) {
                            N(d, static_cast<int32_t>(c) + 1,
                              r[static_cast<std::size_t>((*cols)[c] + shift)]);
                        }
                    };
                    fill(0);
                    sec.Template(first);
                    N(d, 1, i);
                    sec.Template(first + 1);
                    fill(5);
                    sec.Template(first + 2);
                },
                11, 19, 3, 7);
            PrintBlankLines(1);
            N(d, 1, dl.ELDLXU());
            N(d, 2, dl.ELDLXL());
            sec.Template(20);
            PrintBlankLines(1);
            // The level found: the interpolation with its own numbers, or the layer top where
            // the net pressure turns negative (no formula whose result would be another number).
            auto level = [&](int32_t formulaLine, int32_t topLine) {
                if (dl.Interpolated()) {
                    sec.Line(formulaLine);
                    N(d, 1, dl.ELDLXU());
                    N(d, 2, dl.ELDLXU());
                    N(d, 3, dl.ELDLXL());
                    N(d, 4, dl.CrossPU());
                    N(d, 5, dl.CrossPL());
                    N(d, 6, dl.CrossPU());
                    sec.Template(25);
                    N(d, 1, dl.ELDLXRaw());
                    N(d, 2, dl.ELDLX());
                    sec.Template(26);
                } else {
                    N(d, 1, dl.ELDLX());
                    sec.Template(topLine);
                }
            };
            if (kind != 0 && !(eldl - dl.ELDLX() > 0.5)) {
                // Clayey ground whose computed surface lies within 0.5 m of the design ground
                // level: the calculation takes the level 0.5 m below it.
                level(22, 28);
                PrintBlankLines(1);
                N(d, 1, Checked(eldl - 0.5));
                sec.Template(23);
                PrintBlankLines(1);
                sec.Line(24);
            } else {
                level(21, 27);
            }
        },
        error);
}

}  // namespace kuvelt::basResOutDL
