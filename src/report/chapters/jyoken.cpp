// Chapter 1, design conditions: the title, the levels, the surcharge of the chosen shape, the
// ground and the chosen sheet pile with its section and material properties. Reads only the
// design records and the section catalogues.
#include "model/design.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/chapters/zu_structure.h"

namespace kuvelt::basResOutJyoken {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;

void Conditions(ChapterData& d) {
    const CInpJyoken& j = gInpJyoken;
    ChapterSection sec(d, "設計条件", true);
    sec.Line(1);
    PrintBlankLines(2);
    S(d, 1, j.Title);
    sec.Template(2);
    PrintBlankLines(2);
    sec.Line(3);
    PrintBlankLines(1);
    sec.Line(4);
    PrintBlankLines(1);
    const double levels[] = {j.ELGL, j.ELYU, j.ELDL, j.ELWL};
    for (int i = 0; i < 4; ++i) {
        N(d, 1, levels[i]);
        sec.Template(5 + i);
        PrintBlankLines(1);
    }
    N(d, 1, Checked(j.ELGL - j.ELDL));
    sec.Template(9);
    PrintBlankLines(2);
    sec.Line(10);
    PrintBlankLines(1);
    auto row = [&](int32_t line, double v, bool blank) {
        N(d, 1, v);
        sec.Template(line);
        if (blank) PrintBlankLines(1);
    };
    switch (j.Keijyo) {
        case 0:
            row(11, j.K0X, true);
            row(12, j.K0Q, true);
            break;
        case 1:
            row(13, j.K1m, true);
            row(14, j.K1Q, true);
            break;
        default:
            row(15, j.K2X1, true);
            row(16, j.K2X2, true);
            row(17, j.K2Gs, true);
            row(18, j.K2Ho, true);
            row(19, j.K2Q, false);
            break;
    }
}

void Ground(ChapterData& d) {
    const CInpJiban& g = gInpJiban;
    ChapterSection sec(d, "地盤条件");
    PrintPageBreak();
    sec.Line(1);
    PrintBlankLines(1);
    if (g.Kind == 0) {
        sec.Line(2);
        PrintBlankLines(1);
        const double v[] = {g.Gt, g.Gws, g.Gw, g.Fai};
        for (int i = 0; i < 4; ++i) {
            N(d, 1, v[i]);
            sec.Template(3 + i);
            PrintBlankLines(1);
        }
    } else {
        sec.Line(7);
        PrintBlankLines(1);
        const double v[] = {g.Gt, g.Gws, g.Gw};
        for (int i = 0; i < 3; ++i) {
            N(d, 1, v[i]);
            sec.Template(8 + i);
            PrintBlankLines(1);
        }
        sec.Line(11);
        PrintBlankLines(1);
        N(d, 1, g.Ca);
        sec.Template(12);
        PrintBlankLines(1);
        N(d, 1, g.Cb);
        sec.Template(13);
    }
    PrintBlankLines(1);
    N(d, 1, g.KH);
    sec.Template(14);
}

[[noreturn]] void NoSection(int32_t sect) {
    throw PrintFault(vberr::kSubscript,
                     "使用矢板の断面№" + std::to_string(sect) + "が登録されていません");
}

// E as mantissa (slot 1) and exponent (text slot 1), normalised like every modulus of the report.
void Modulus(ChapterData& d, double e) {
    double mant = 0;
    std::string exp;
    chapters::SplitExponent(e, mant, exp);
    N(d, 1, mant);
    S(d, 1, exp);
}

void Pile(ChapterData& d) {
    const CInpYaita& y = gInpYaita;
    const CInpZairyo& z = gInpZairyo;
    ChapterSection sec(d, "矢板壁諸元");
    PrintBlankLines(2);
    sec.Line(1);
    if (y.Yaita == 0) {
        const CInpSectC* c = gInpSectC.Item(y.Sect);
        if (!c) NoSection(y.Sect);
        const double e = c->Keijyo == 0 ? z.EcHira : c->Keijyo == 1 ? z.EcMizo : z.EcNami;
        for (int32_t l = 2; l <= 4; ++l) sec.Line(l);
        S(d, 1, c->Name);
        sec.Template(5);
        sec.Line(6);
        N(d, 1, y.L);
        sec.Template(7);
        sec.Line(8);
        N(d, 1, c->Ic);  // in the catalogue's own unit, cm4/m
        sec.Template(9);
        sec.Line(10);
        N(d, 1, c->Mc);
        sec.Template(11);
        sec.Line(12);
        Modulus(d, e);
        sec.Template(13);
        sec.Line(14);
    } else {
        const bool steel = y.Yaita != 1;
        const CInpSectS* s = (steel ? gInpSectS : gInpSectLS).Item(y.Sect);
        if (!s) NoSection(y.Sect);
        sec.Line(15);
        sec.Line(steel ? 17 : 16);
        sec.Line(18);
        S(d, 1, s->Name);
        sec.Template(19);
        sec.Line(20);
        S(d, 1, steel ? z.YZai : z.KYZai);
        sec.Template(21);
        sec.Line(22);
        N(d, 1, y.L);
        sec.Template(23);
        // Section properties in the catalogue's own units, cm4/m and cm3/m.
        const double props[] = {s->Id, s->Zd, s->Io, s->Zo};
        for (int i = 0; i < 4; ++i) {
            sec.Line(24 + 2 * i);
            N(d, 1, props[i]);
            sec.Template(25 + 2 * i);
        }
        sec.Line(32);
        N(d, 1, steel ? z.YSat : z.KYSat);
        sec.Template(33);
        sec.Line(34);
        Modulus(d, steel ? z.Esy : z.Esky);
        sec.Template(35);
        sec.Line(36);
        PrintBlankLines(1);
        for (int32_t l = 37; l <= 40; ++l) sec.Line(l);
        N(d, 1, z.AlphaIz);
        sec.Template(41);
        sec.Line(42);
        N(d, 1, z.AlphaIs);
        N(d, 2, z.AlphaZs);
        sec.Template(43);
        sec.Line(44);
        N(d, 1, z.AlphaId);
        sec.Template(45);
        sec.Line(46);
    }
    PrintBlankLines(2);
    sec.Line(47);
    N(d, 1, gInpJyoken.Delta);
    sec.Template(48);
}

}  // namespace

bool Write(const Results& results, std::string* error) {
    return RunChapter(
        [&results] {
            ChapterData d;
            Conditions(d);
            basZuStructure::WriteStructureFigure(results);
            Ground(d);
            Pile(d);
        },
        error);
}

}  // namespace kuvelt::basResOutJyoken
