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
#include "report/format_lines.h"

namespace kuvelt::basResOutDL {
namespace {

using namespace basResOutPrn;
using chapters::N;

namespace line = fmt::virtualGround;

constexpr int32_t kMaxRows = 50;

// A level is above another when it exceeds it by at least 1 mm.
bool Above(double e, double level) { return e > level && std::fabs(e - level) >= 0.001; }

}  // namespace

bool Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            const double elwl = gInpJyoken.ELWL;
            const double eldl = gInpJyoken.ELDL;
            // The clayey 0.5 m rule follows the layer directly below the design ground level.
            const int32_t kind = chapters::StabilityKind();
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
            ChapterSection sec(d, line::kSection, true);
            sec.Line(line::kTitle);
            PrintBlankLines(1);
            sec.Line(line::kIntro);
            PrintBlankLines(1);
            PrintTableCaption("仮想地盤面の算定");
            for (int32_t l = line::kHeaderFirst; l <= line::kHeaderLast; ++l) sec.Line(l);
            chapters::WriteLayerTable(
                sec, n,
                [&](int32_t i) {
                    const auto& r = t[static_cast<std::size_t>(i)];
                    // The lines of each form and the columns of the upper line; the lower line
                    // takes the five after.
                    struct Form {
                        int32_t upper, number, lower;
                        std::vector<int32_t> cols;
                    };
                    static const Form
                        kDry = {line::kDryUpper, line::kDryNumber, line::kDryLower, {1, 2, 5}},
                        kWet = {line::kWetUpper, line::kWetNumber, line::kWetLower, {1, 2, 3, 5}},
                        kBelow = {line::kBelowUpper,
                                  line::kBelowNumber,
                                  line::kBelowLower,
                                  {1, 2, 3, 4, 5}};
                    const Form* form = &kBelow;
                    if (Above(r[1], eldl) && Above(r[1], elwl)) {
                        form = &kDry;  // above both levels: no water, no passive pressure
                    } else if (Above(r[1], eldl)) {
                        form = &kWet;  // under the water table, above the design ground level
                    }
                    const std::vector<int32_t>* cols = &form->cols;
                    auto fill = [&](int32_t shift) {
                        for (std::size_t c = 0; c < cols->size(); ++c) {
                            N(d, static_cast<int32_t>(c) + 1,
                              r[static_cast<std::size_t>((*cols)[c] + shift)]);
                        }
                    };
                    fill(0);
                    sec.Template(form->upper);
                    N(d, 1, i);
                    sec.Template(form->number);
                    fill(5);
                    sec.Template(form->lower);
                },
                line::kSeparator, line::kClosing, line::kHeaderFirst, line::kHeaderLast);
            PrintBlankLines(1);
            N(d, 1, dl.ELDLXU());
            N(d, 2, dl.ELDLXL());
            sec.Template(line::kZeroLayer);
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
                    sec.Template(line::kFormulaValues);
                    N(d, 1, dl.ELDLXRaw());
                    N(d, 2, dl.ELDLX());
                    sec.Template(line::kFormulaResult);
                } else {
                    N(d, 1, dl.ELDLX());
                    sec.Template(topLine);
                }
            };
            if (kind != 0 && !(eldl - dl.ELDLX() > 0.5)) {
                // Clayey ground whose computed surface lies within 0.5 m of the design ground
                // level: the calculation takes the level 0.5 m below it.
                level(line::kFormulaComputed, line::kLayerTopComputed);
                PrintBlankLines(1);
                N(d, 1, Checked(eldl - 0.5));
                sec.Template(line::kHalfMetre);
                PrintBlankLines(1);
                sec.Line(line::kHalfMetreNote);
                // The last load of the cantilever is then not the net pressure's own line.
                sec.Line(line::kHalfMetreLoad);
            } else {
                level(line::kFormula, line::kLayerTop);
            }
        },
        error);
}

}  // namespace kuvelt::basResOutDL
