// Chapter 2, external forces: the surcharge of the chosen shape with its influence factors, the
// active and passive earth pressure layer by layer (sandy or clayey ground) and the residual
// water pressure, all as the run's results hold them (surcharge, earth pressure and residual
// water stages).
#include <vector>

#include "model/design.h"
#include "platform/vberror.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/chapters.h"
#include "report/chapters/zu_pressure.h"

namespace kuvelt::basResOutGairyoku {
namespace {

using namespace basResOutPrn;
using chapters::N;
using chapters::S;

constexpr int32_t kMaxLayers = 10;

// Blank line, then the line, for each line of [first, last].
void SpacedLines(ChapterSection& sec, int32_t first, int32_t last, bool filled) {
    PrintKeepLines(2 * (last - first + 1));  // a formula's terms or a list of symbols: one page
    for (int32_t l = first; l <= last; ++l) {
        PrintBlankLines(1);
        filled ? sec.Template(l) : sec.Line(l);
    }
}

void SurchargeHorizontal(ChapterData& d, const clsQqw& q) {
    ChapterSection sec(d, "載荷重_水平", true);
    for (int32_t l = 1; l <= 5; ++l) {
        sec.Line(l);
        PrintBlankLines(1);
    }
    for (int32_t l = 6; l <= 8; ++l) sec.Line(l);
    SpacedLines(sec, 9, 14, true);
    PrintBlankLines(2);
    N(d, 1, q.Xq());
    sec.Template(15);
    N(d, 1, q.XHq());
    N(d, 2, q.Iq());
    sec.Template(16);
    N(d, 1, q.H);
    sec.Template(17);
    PrintBlankLines(2);
    sec.Line(18);
    PrintBlankLines(1);
    N(d, 1, q.D1Q);
    N(d, 2, q.Iq());
    N(d, 3, q.QQ());
    sec.Template(19);
}

void SurchargeSlope(ChapterData& d) {
    ChapterSection sec(d, "載荷重_一定勾配", true);
    sec.Line(1);
}

void SurchargeTrapezoid(ChapterData& d, const clsQqw& q) {
    {
        ChapterSection sec(d, "載荷重_台形1", true);
        for (int32_t l = 1; l <= 4; ++l) {
            sec.Line(l);
            PrintBlankLines(1);
        }
        for (int32_t l = 5; l <= 7; ++l) sec.Line(l);
        SpacedLines(sec, 8, 11, true);
        PrintBlankLines(2);
        sec.Line(12);
        PrintBlankLines(1);
        sec.Line(13);
        PrintBlankLines(1);
        sec.Line(14);
        SpacedLines(sec, 15, 19, true);
        PrintBlankLines(1);
        for (int32_t l = 20; l <= 22; ++l) sec.Line(l);
        PrintBlankLines(1);
        sec.Line(23);
        PrintBlankLines(1);
        sec.Line(24);
        PrintBlankLines(2);
        N(d, 1, q.Xw());
        sec.Template(25);
        N(d, 1, q.XHw());
        N(d, 2, q.Iw());
        sec.Template(26);
        N(d, 1, q.H);
        sec.Template(27);
        PrintBlankLines(2);
        sec.Line(28);
        PrintBlankLines(1);
        N(d, 1, q.D3Gs);
        N(d, 2, q.D3Ho);
        N(d, 3, q.Iw());
        N(d, 4, q.Qw());
        sec.Template(29);
    }
    ChapterSection sec(d, "載荷重_台形2");
    PrintPageBreak();
    sec.Line(1);
    PrintBlankLines(1);
    sec.Line(2);
    PrintBlankLines(1);
    sec.Line(3);
    SpacedLines(sec, 4, 9, true);
    PrintBlankLines(2);
    const double reach = Checked(q.D3Ho + q.H);
    // The crest surcharge counts only when it starts nearer the wall than H + Ho.
    const bool beyond = q.Xq() >= reach;
    N(d, 1, q.Xq());
    N(d, 2, reach);
    S(d, 1, beyond ? "≧" : "＜");
    sec.Template(10);
    PrintBlankLines(1);
    if (beyond) {
        sec.Line(16);
        PrintBlankLines(1);
        sec.Line(17);
    } else {
        N(d, 1, q.Xq());
        sec.Template(11);
        N(d, 1, q.XHq());
        N(d, 2, q.Iq());
        sec.Template(12);
        N(d, 1, q.H);
        sec.Template(13);
        PrintBlankLines(1);
        sec.Line(14);
        PrintBlankLines(1);
        N(d, 1, q.D3Q);
        N(d, 2, q.Iq());
        N(d, 3, q.QQ());
        sec.Template(15);
    }
    PrintBlankLines(2);
    sec.Line(18);
    PrintBlankLines(1);
    sec.Line(19);
    PrintBlankLines(1);
    sec.Line(20);
    PrintBlankLines(1);
    N(d, 1, q.Qw());
    N(d, 2, q.QQ());
    sec.Template(21);
    PrintBlankLines(1);
    N(d, 1, q.Q());
    sec.Template(22);
}

// The layers of an earth-pressure stage, at most ten.
std::vector<clsSpJiban> Layers(const colSpJiban& jiban, const char* side) {
    if (jiban.Count() > kMaxLayers) {
        throw PrintFault(vberr::kSubscript, std::string(side) + "の土層数が" +
                                                std::to_string(kMaxLayers) + "を超えています");
    }
    std::vector<clsSpJiban> out;
    for (const clsSpJiban& l : jiban) out.push_back(l);
    return out;
}

template <class Stage>
void SandyPressure(ChapterData& d, const char* section, const Stage& st,
                   const std::vector<clsSpJiban>& layers, bool passive) {
    ChapterSection sec(d, section);
    const int32_t n = static_cast<int32_t>(layers.size());
    if (passive) {
        NewPageIfShort(4 * n + 14, 2);
    } else {
        NewPageIfShort(LinesPerPage, 0);
    }
    sec.Line(1);
    PrintBlankLines(1);
    N(d, 1, st.Beta);
    sec.Template(2);
    sec.Line(3);
    N(d, 1, st.Q);
    N(d, 2, st.Q2());
    sec.Template(4);
    sec.Line(5);
    N(d, 1, st.Delta);
    sec.Template(6);
    PrintBlankLines(1);
    for (int32_t l = 7; l <= 11; ++l) sec.Line(l);
    chapters::WriteLayerTable(
        sec, n,
        [&](int32_t i) {
            const clsSpJiban& j = layers[static_cast<std::size_t>(i - 1)];
            N(d, 1, j.EU);
            N(d, 2, j.GHU);
            N(d, 3, j.PaU);
            sec.Template(12);
            N(d, 1, j.H);
            N(d, 2, j.Gs);
            N(d, 3, j.GH);
            N(d, 4, j.Fai);
            N(d, 5, j.KaU);
            sec.Template(13);
            N(d, 1, j.EL);
            N(d, 2, j.GHL);
            N(d, 3, j.PaL);
            sec.Template(14);
        },
        15, 16, 7, 11);
}

// `splits`: the levels of the active stage's ground layer table (nullptr for the passive side).
void ClayeyPressure(ChapterData& d, const char* section, const std::vector<clsSpJiban>& layers,
                    const colKhAddEL* splits) {
    const bool passive = splits == nullptr;
    ChapterSection sec(d, section);
    const int32_t n = static_cast<int32_t>(layers.size());
    NewPageIfShort(4 * n + 7, 2);
    sec.Line(1);
    for (int32_t l = 2; l <= 6; ++l) sec.Line(l);
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
            sec.Template(7);
            N(d, 1, j.H);
            N(d, 2, j.Gs);
            N(d, 3, j.GH);
            sec.Template(8);
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
            sec.Template(9);
        },
        10, 11, 2, 6);
    if (passive) return;
    // The levels where σv − 2C meets 0.5σv, at which the calculation split a layer (the table's
    // boundaries beyond the design ground level; the groundwater level is no extra level).
    const colKhAddEL& levels = *splits;
    for (int32_t i = 2; i <= levels.Count(); ++i) {
        N(d, 1, levels.Item(i)->EL);
        sec.Template(12);
    }
}

void EarthPressure(ChapterData& d, const Results& r) {
    const clsSpa& spa = chapters::Reached(r.spa);
    const clsSpp& spp = chapters::Reached(r.spp);
    const auto active = Layers(spa.Jiban(), "主働側");
    const auto passive = Layers(spp.Jiban(), "受働側");
    if (gInpJiban.Kind == 0) {
        {
            ChapterSection sec(d, "土圧_砂質土1");
            NewPageIfShort(50, 1);
            sec.Line(1);
            PrintBlankLines(1);
            sec.Line(2);
            PrintBlankLines(1);
            for (int32_t l = 3; l <= 5; ++l) sec.Line(l);
            PrintBlankLines(1);
            for (int32_t l = 6; l <= 10; ++l) sec.Line(l);
            PrintBlankLines(1);
            sec.Line(11);
            PrintBlankLines(1);
            for (int32_t l = 12; l <= 16; ++l) sec.Line(l);
            SpacedLines(sec, 17, 28, true);
        }
        SandyPressure(d, "土圧_砂質土2", spa, active, false);
        SandyPressure(d, "土圧_砂質土3", spp, passive, true);
    } else {
        {
            ChapterSection sec(d, "土圧_粘性土1");
            NewPageIfShort(50, 1);
            for (int32_t l = 1; l <= 6; ++l) {
                sec.Line(l);
                if (l <= 5) PrintBlankLines(1);
            }
            SpacedLines(sec, 7, 14, true);
        }
        ClayeyPressure(d, "土圧_粘性土2", active, &chapters::Reached(r.khActive).AddEL());
        // The passive side of clayey ground is staged from the current passive stage like the
        // active one, so the table always belongs to this design.
        ClayeyPressure(d, "土圧_粘性土3", passive, nullptr);
    }
}

void ResidualWater(ChapterData& d, const Results& r) {
    const clsRWp& w = chapters::Reached(r.rwp);
    ChapterSection sec(d, "残留水圧");
    NewPageIfShort(20, 2);
    sec.Line(1);
    PrintBlankLines(1);
    sec.Line(2);
    PrintBlankLines(1);
    sec.Line(3);
    SpacedLines(sec, 4, 7, true);
    PrintBlankLines(2);
    sec.Line(8);
    PrintBlankLines(1);
    N(d, 1, w.Gw);
    N(d, 2, w.DH());
    N(d, 3, w.Pw());
    sec.Template(9);
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
                    SurchargeSlope(d);
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
