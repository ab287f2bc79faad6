// The figures of the report chapters drawn on real and generated designs: no label box crosses
// a line, an arrow or another label, everything stays inside its frame; the 構造図's shapes,
// levels and vertical scale, and what it shows without a calculation; the 土圧・水圧分布図's
// values and virtual ground surface; bad input gives a fault or a note, never a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "chapters_test_util.h"
#include "design_generator.h"
#include "formats/figure_files.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "platform/vberror.h"
#include "report/chapters/print_job.h"
#include "report/chapters/zu_common.h"
#include "report/chapters/zu_forces.h"
#include "report/chapters/zu_pressure.h"
#include "report/chapters/zu_sp.h"
#include "report/chapters/zu_structure.h"
#include "report/figure_labels.h"
#include "report/prn.h"
#include "report/prnz.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

struct Read {
    formats::Composite composite;
    std::vector<formats::SubFigure> parts;
};

Read ReadFigure(const std::string& path) {
    Read r;
    std::string error;
    EXPECT_TRUE(formats::ReadComposite(path, formats::Mode::Strict, r.composite, &error)) << error;
    for (const formats::Placement& p : r.composite.subFigures) {
        formats::SubFigure f;
        EXPECT_TRUE(formats::ReadSubFigure(p.path, formats::Mode::Strict, f, &error)) << error;
        r.parts.push_back(std::move(f));
    }
    return r;
}

// Every clash of the figure's labels (sub-figures together in the frame) and every part that
// leaves the frame, as failure lines.
std::vector<std::string> Faults(const Read& r) {
    std::vector<std::string> out;
    for (const figure_labels::Clash& c :
         figure_labels::Overlaps(figure_labels::Merge(r.composite, r.parts))) {
        out.push_back(c.what);
    }
    for (std::size_t i = 0; i < r.parts.size(); ++i) {
        const formats::SubFigure& f = r.parts[i];
        const formats::Placement& at = r.composite.subFigures[i];
        if (at.x + f.minX < -0.01 || at.x + f.maxX > r.composite.frameWidth + 0.01 ||
            at.y + f.minY < -0.01 || at.y + f.maxY > r.composite.frameHeight + 0.01) {
            out.push_back(f.caption2 + " leaves the frame");
        }
    }
    return out;
}

bool HasText(const Read& r, const std::string& t) {
    for (const auto& f : r.parts) {
        for (const auto& x : f.texts) {
            if (x.text == t) return true;
        }
    }
    return false;
}

// Every circled number of the load diagram (its second sub-figure: the wall at X = 0, a level
// z at Y = m·z) inside its own piece, or joined to it by a leader that starts inside it.
std::vector<std::string> NumbersOutsideTheirPieces(const Results& results, const Read& r) {
    std::vector<std::string> out;
    const auto [u, m] = basZuSp::ScaleOf(results, 128, 80);
    const formats::SubFigure& f = r.parts.at(1);
    for (const basZuSp::LoadPiece& p : basZuSp::LoadPieces(results)) {
        figure_labels::Area area;
        for (const auto& [pr, z] : p.corners) area.emplace_back(u * pr, m * z);
        auto inside = [&](double x, double y) { return figure_labels::InsideConvex(area, x, y); };
        const auto t = std::find_if(f.texts.begin(), f.texts.end(),
                                    [&](const formats::Text& x) { return x.text == p.numeral; });
        if (t == f.texts.end()) {
            out.push_back(p.numeral + " missing");
            continue;
        }
        const figure_labels::Box b = figure_labels::TextBox(t->text, t->style, 3, t->x, t->y);
        if (inside(b.x0, b.y0) && inside(b.x1, b.y0) && inside(b.x0, b.y1) && inside(b.x1, b.y1))
            continue;
        const bool led = std::any_of(f.segments.begin(), f.segments.end(), [&](auto& s) {
            const formats::Point &a = f.points.at(std::size_t(s.from)),
                                 &e = f.points.at(std::size_t(s.to));
            auto near = [&](const formats::Point& q) {
                return q.x > b.x0 - 0.5 && q.x < b.x1 + 0.5 && q.y > b.y0 - 0.5 && q.y < b.y1 + 0.5;
            };
            return (inside(a.x, a.y) && near(e)) || (inside(e.x, e.y) && near(a));
        });
        if (!led) out.push_back(p.numeral + " stands outside its piece without a leader");
    }
    return out;
}

class Figures : public test::PrintJobFixture {
  protected:
    // The four figures of the current design and the results of its calculation, each with its
    // faults.
    void ExpectClear(const std::string& name, const Results& results, bool calculated) {
        std::vector<std::pair<const char*, std::function<std::string()>>> figures = {
            {"構造図", [&] {
                 return basZuStructure::DrawStructureFigure(
                     basZuStructure::CurrentSection(results, calculated));
             }}};
        if (calculated) {
            figures.push_back(
                {"土圧・水圧分布図", [&] { return basZuPressure::DrawPressureFigure(results); }});
            figures.push_back(
                {"荷重分布図", [&] { return basZuSp::DrawLoadDiagram(results, 128, 80); }});
            const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
            if (gInpYaita.InpFlg && kind &&
                basZuForces::FigureDataFor(results, *kind, gInpYaita.Sect, gInpYaita.L)) {
                figures.push_back(
                    {"断面力図", [&] { return basZuForces::DrawForceDiagram(results); }});
            }
        }
        for (const auto& [caption, draw] : figures) {
            std::string path;
            try {
                path = draw();
            } catch (const PrintFault& e) {
                ADD_FAILURE() << name << " " << caption << ": " << e.what();
                continue;
            }
            const Read read = ReadFigure(path);
            std::vector<std::string> faults = Faults(read);
            if (std::string_view(caption) == "荷重分布図") {
                for (std::string& f : NumbersOutsideTheirPieces(results, read))
                    faults.push_back(std::move(f));
            }
            for (const std::string& f : faults) {
                ADD_FAILURE() << name << " " << caption << ": " << f;
            }
        }
        basResOutPrn::DeleteAllReportFiles();
        basResOutPrn::ResetPrintJob();
    }
};

TEST_F(Figures, ExamplesKeepTheirLabelsClear) {
    const int examples = test::ForEachExample([this](const std::string& name) {
        ASSERT_TRUE(gInpYaita.InpFlg) << "the examples keep a chosen pile";
        ExpectClear(name, SnapshotResults(), true);
    });
    EXPECT_EQ(examples, 5);
}

// A hundred valid generated designs: every one draws its 構造図; those whose calculation finds a
// virtual ground surface draw the other two as well.
TEST_F(Figures, GeneratedDesignsKeepTheirLabelsClear) {
    int drawn = 0, calculated = 0;
    for (uint64_t i = 0; drawn < 100 && i < 5000; ++i) {
        if (load::FamilyOf(i) != load::Family::Valid) continue;
        const load::GeneratedDesign d = load::GenerateDesign(15, i);
        if (std::getenv("DUMP"))
            test::WriteBytes("/tmp/hf/d" + std::to_string(i) + ".kvt", d.bytes);
        int32_t err = 0;
        if (!DesignFromBytes(d.bytes, err)) continue;
        ResetResultStore();
        ResetSectionResults();
        const bool calc = CalcMain();
        const Results r = SnapshotResults();
        const bool ok = calc && r.dl->Error() == 0 && r.pressure->Qdo().Count() > 0;
        ExpectClear("design " + std::to_string(i) + " (" + d.what + ")", r, ok);
        ++drawn;
        calculated += ok ? 1 : 0;
    }
    EXPECT_EQ(drawn, 100);
    EXPECT_GE(calculated, 50);
}

// On the examples' figures each name stands beside what it names. 構造図: the design ground's
// (and a virtual ground's sharing its level) in front above its line, the ground surface's behind
// the wall, the embankment's unit weight between its foot and crest; every dimension value runs
// upright. 土圧・水圧分布図: every level's name left of the level axis (the leftmost vertical
// line), the design ground level named, the first layer's top not named again beside the ground
// surface.
TEST_F(Figures, ExamplesNameEachThingBesideIt) {
    test::ForEachExample([](const std::string&) {
        const CInpJyoken& j = gInpJyoken;
        const Read s = ReadFigure(basZuStructure::DrawStructureFigure(
            basZuStructure::CurrentSection(SnapshotResults(), true)));
        const formats::SubFigure& f = s.parts.at(0);
        double head = -1e9;
        for (const auto& seg : f.segments)
            if (seg.style == zu::kWall) head = std::max(head, f.points[std::size_t(seg.from)].y);
        const double m = head / j.ELYU;
        for (const formats::Text& t : f.texts) {
            const figure_labels::Box b = figure_labels::TextBox(t.text, t.style, t.align, t.x, t.y);
            if (t.text.find("設計地盤面") == 0) {
                EXPECT_TRUE(b.x1 <= 0 && b.y0 >= m * j.ELDL && b.y0 < m * j.ELDL + 9) << t.text;
            }
            if (t.text.find("地表面") == 0) {
                EXPECT_GE(b.x0, 0) << t.text;
            }
            if (t.text.find("盛土部γ") == 0) {
                EXPECT_TRUE(b.y0 >= m * j.ELGL && b.y1 <= m * (j.ELGL + j.K2Ho)) << t.text;
            }
            for (const char* d : {"Ｈ", "H", "Ｄ", "D", "Ｌ", "L", "l＝", "l="}) {
                if (t.text.rfind(d, 0) == 0 && t.text.back() == 'm' && t.text.find(' ') > 9) {
                    EXPECT_EQ(t.align, 1) << t.text;
                }
            }
        }

        const Read r = ReadFigure(basZuPressure::DrawPressureFigure(SnapshotResults()));
        const formats::SubFigure& p = r.parts.at(0);
        double axis = 1e9;
        for (const auto& seg : p.segments) {
            const auto& a = p.points[std::size_t(seg.from)];
            const auto& b = p.points[std::size_t(seg.to)];
            if (a.x == b.x && a.y != b.y) axis = std::min(axis, a.x);
        }
        for (const formats::Text& t : p.texts) {
            const std::string level = t.text.substr(t.text.find_last_of(' ') + 1);
            if (t.text.find(' ') == std::string::npos || level.size() < 6 ||
                level[level.size() - 4] != '.')
                continue;
            EXPECT_LE(figure_labels::TextBox(t.text, t.style, t.align, t.x, t.y).x1, axis)
                << t.text;
            EXPECT_NE(t.text.rfind("第1層上端", 0), 0u) << t.text;
        }
        EXPECT_TRUE(HasText(r, zu::NamedLevel("設計地盤面", j.ELDL)));
        basResOutPrn::DeleteAllReportFiles();
    });
}

// Layered ground with the channel water raised: no label clashes, the 構造図 names each layer
// and boundary and shows the channel water, the 土圧・水圧分布図 names the layer tops and the
// 荷重分布図 the channel water.
TEST_F(Figures, LayeredSiteNamesItsLayersAndTheChannelWater) {
    ASSERT_TRUE(test::Prepare(test::LayeredDesign()));
    const Results r = test::LayeredResults();
    ExpectClear("layered", r, true);
    struct Case {
        const char* caption;
        std::function<std::string()> draw;
        std::vector<std::string> parts;
    } cases[] = {
        {"構造図",
         [&] {
             return basZuStructure::DrawStructureFigure(basZuStructure::CurrentSection(r, true));
         },
         {"第1層 砂質土", "第2層 粘性土", "第4層 粘性土", zu::LevelText(-2.0),
          zu::NamedLevel("前面水位", 0.5)}},
        {"土圧・水圧分布図",
         [&] { return basZuPressure::DrawPressureFigure(r); },
         {"第2層上端（粘性土）", "第4層上端（粘性土）"}},
        {"荷重分布図", [&] { return basZuSp::DrawLoadDiagram(r, 128, 80); }, {"前面水位"}},
    };
    for (const Case& c : cases) {
        const Read fig = ReadFigure(c.draw());
        for (const std::string& part : c.parts) {
            bool found = false;
            for (const auto& f : fig.parts) {
                for (const auto& t : f.texts)
                    found = found || t.text.find(part) != std::string::npos;
            }
            EXPECT_TRUE(found) << c.caption << ": " << part;
        }
    }
}

// The dimension lines carry the design's own values: Ｈ and Ｄ from the levels and the pile,
// Ｈ0 from the pile head to the adopted virtual ground (0.5 m below the computed one in
// clay-increasing), Ｌ, and l ＝ 3／β of the chosen section as the calculation found it.
TEST_F(Figures, StructureDimensionsAreTheDesignsLengths) {
    for (const char* example : {"sand-channel.kvt", "clay-increasing.kvt"}) {
        SCOPED_TRACE(example);
        int32_t err = 0;
        ASSERT_TRUE(ReadData((test::SourceDir() / "examples" / example).string(), err));
        ResetResultStore();
        ASSERT_TRUE(CalcMain());
        const Results r = SnapshotResults();
        const CInpJyoken& j = gInpJyoken;
        const double ELV = *r.AdoptedVirtualGround(), L = gInpYaita.L;
        const EmbedRow* embed = r.sections.Embed(*KindOfChoice(gInpYaita.Yaita), gInpYaita.Sect);
        ASSERT_NE(embed, nullptr);
        const Read fig = ReadFigure(
            basZuStructure::DrawStructureFigure(basZuStructure::CurrentSection(r, true)));
        EXPECT_TRUE(Faults(fig).empty());
        auto metres = [](double v) { return numfmt::FormatNumber(v, "#0.00") + "m"; };
        for (const std::string& t :
             {"Ｈ＝" + metres(j.ELGL - j.ELDL), "Ｄ＝" + metres(j.ELDL - (j.ELYU - L)),
              "Ｈ0＝" + metres(j.ELYU - ELV), "Ｌ＝" + metres(L),
              "l＝3／β＝" + metres(embed->ell)}) {
            EXPECT_TRUE(HasText(fig, t)) << t;
        }
        basResOutPrn::DeleteAllReportFiles();
    }
}

basZuStructure::Section Channel() {
    basZuStructure::Section s;
    s.ELGL = 3.5;
    s.ELYU = 3.5;
    s.ELDL = 0;
    s.ELWL = 2;
    s.Z = 10;
    s.tip = -10.5;
    s.virtualGround = -0.88;
    s.calculated = true;
    return s;
}

TEST_F(Figures, StructureShowsTheShapeAsEnteredAndLevelsToScale) {
    struct Case {
        const char* name;
        std::function<void(basZuStructure::Section&)> set;
        std::vector<std::string> texts;
    } cases[] = {
        {"Horizontal",
         [](auto& s) {
             s.Keijyo = 0;
             s.K0X = 2;
             s.K0Q = 10;
         },
         {"Ｘ ＝ 2.00 m", "Ｑ ＝ 10.0 kN/m^2"}},
        {"Slope",
         [](auto& s) {
             s.Keijyo = 1;
             s.K1m = 2;
             s.K1Q = 5;
         },
         {"勾配 1:2.0（β ＝ 26.6°）", "ｑ ＝ 5.0 kN/m^2"}},
        {"Trapezoid",
         [](auto& s) {
             s.Keijyo = 2;
             s.K2X1 = 0.5;
             s.K2X2 = 2;
             s.K2Ho = 1.5;
             s.K2Gs = 18;
             s.K2Q = 5;
         },
         {"Ｘ1 ＝ 0.50 m", "Ｘ2 ＝ 2.00 m", "Ｈo ＝ 1.50 m", "盛土部γ ＝ 18.0 kN/m^3",
          "Ｑ ＝ 5.0 kN/m^2"}},
    };
    for (const Case& c : cases) {
        basZuStructure::Section s = Channel();
        c.set(s);
        const Read r = ReadFigure(basZuStructure::DrawStructureFigure(s));
        EXPECT_TRUE(Faults(r).empty()) << c.name << ": " << Faults(r).front();
        std::vector<std::string> texts = c.texts;
        for (const char* t : {"矢板天端 +3.500", "地表面 +3.500", "設計地盤面（前面水位） ±0.000",
                              "地下水位面 +2.000", "仮想地盤面 -0.880", "矢板先端 -10.500",
                              "検討する深さの下端 -10.000（Ｚ ＝ 10.00 m）"}) {
            texts.push_back(t);
        }
        for (const std::string& t : texts) EXPECT_TRUE(HasText(r, t)) << c.name << ": " << t;
        // To scale vertically: the wall (style 3) runs from the head to the tip, and the design
        // ground level stands on the same scale.
        const formats::SubFigure& f = r.parts.at(0);
        double head = -1e9, tip = 1e9, dl = 1e9, wl = 1e9;
        for (const auto& seg : f.segments) {
            const auto& a = f.points[std::size_t(seg.from)];
            const auto& b = f.points[std::size_t(seg.to)];
            if (seg.style == zu::kWall) {
                head = std::max({head, a.y, b.y});
                tip = std::min({tip, a.y, b.y});
            }
            if (seg.style == zu::kThin && a.x == -58 && b.x == 0) dl = a.y;
            if (seg.style == zu::kDashed && a.x == 0 && b.x > 0) wl = a.y;
        }
        const double m = (head - tip) / 14.0;
        EXPECT_GT(m, 0) << c.name;
        EXPECT_NEAR(dl, 0.0, 1e-9) << c.name;
        EXPECT_NEAR(head, m * 3.5, 1e-6) << c.name;
        EXPECT_NEAR(wl, m * 2.0, 1e-6) << c.name << ": the groundwater level behind";
        basResOutPrn::DeleteAllReportFiles();
    }
}

TEST_F(Figures, StructureWithoutCalculationOrPile) {
    basZuStructure::Section s = Channel();
    s.tip.reset();
    s.virtualGround.reset();
    s.calculated = false;
    const basZuStructure::Drawn d = basZuStructure::BuildStructureFigure(s);
    formats::SubFigure f;
    std::string error;
    ASSERT_TRUE(formats::ParseSubFigure(d.bytes, formats::Mode::Strict, f, &error)) << error;
    EXPECT_TRUE(figure_labels::Overlaps(f).empty());
    auto has = [&](const std::string& t) {
        return std::any_of(f.texts.begin(), f.texts.end(),
                           [&](const auto& x) { return x.text.find(t) != std::string::npos; });
    };
    EXPECT_TRUE(has("計算結果がないため"));
    EXPECT_TRUE(has("矢板は未選定"));
    EXPECT_FALSE(has("仮想地盤面 "));
    EXPECT_FALSE(has("矢板先端 "));
    // The wall below the design ground level is dashed down to the depth examined.
    const bool dashed = std::any_of(f.segments.begin(), f.segments.end(), [&](const auto& seg) {
        return seg.style == zu::kDashed && f.points[std::size_t(seg.from)].x == 0 &&
               f.points[std::size_t(seg.to)].x == 0;
    });
    EXPECT_TRUE(dashed);
}

TEST_F(Figures, BadInputGivesAFaultOrANoteNeverACrash) {
    const double nan = std::nan(""), inf = HUGE_VAL;
    struct Case {
        const char* name;
        std::function<void(basZuStructure::Section&)> set;
        bool draws;
    } cases[] = {
        {"NaNLevel", [&](auto& s) { s.ELDL = nan; }, false},
        {"InfiniteDepth", [&](auto& s) { s.Z = inf; }, false},
        {"HugeSurcharge", [](auto& s) { s.K0X = 1e300; }, false},
        {"AllLevelsEqual",
         [](auto& s) {
             s.ELGL = s.ELYU = s.ELDL = s.ELWL = 0;
             s.Z = 0;
             s.tip = 0;
             s.virtualGround = 0;
         },
         true},
        {"VerticalSlope",
         [](auto& s) {
             s.Keijyo = 1;
             s.K1m = 0;
         },
         true},
        {"NegativeTrapezoid",
         [](auto& s) {
             s.Keijyo = 2;
             s.K2X1 = -3;
             s.K2X2 = -1;
             s.K2Ho = -2;
         },
         true},
        {"TipAboveHead", [](auto& s) { s.tip = 20; }, true},
    };
    for (const Case& c : cases) {
        basZuStructure::Section s = Channel();
        c.set(s);
        if (c.draws) {
            EXPECT_NO_THROW(basZuStructure::BuildStructureFigure(s)) << c.name;
        } else {
            try {
                basZuStructure::BuildStructureFigure(s);
                ADD_FAILURE() << c.name;
            } catch (const PrintFault& e) {
                EXPECT_EQ(e.code(), vberr::kInvalidCall) << c.name;
            }
        }
    }
    // In a chapter an undrawable figure is a line saying so; a file fault fails the chapter.
    basResOutPrn::CurrentPrintFile = basResOutPrn::NewPrintFile();
    zu::WriteFigureBlock(print_job::kStructureFigure, "構造図", 95, [&]() -> std::string {
        throw PrintFault(vberr::kInvalidCall, "値が数値ではありません");
    });
    const std::string bytes = test::ReadBytes(basResOutPrn::CurrentPrintFile);
    EXPECT_NE(bytes.find("?OB;4"), std::string::npos);
    EXPECT_EQ(bytes.find("?FG;"), std::string::npos);
    EXPECT_THROW(
        zu::WriteFigureBlock(print_job::kStructureFigure, "構造図", 95,
                             []() -> std::string { throw PrintFault(vberr::kDiskFull, "full"); }),
        PrintFault);
}

TEST_F(Figures, PressureFigureNamesTheVirtualGroundAndEveryValue) {
    int32_t err = 0;
    ASSERT_TRUE(ReadData((test::SourceDir() / "examples" / "sand-channel.kvt").string(), err));
    ResetResultStore();
    ASSERT_TRUE(CalcMain());
    Results results = SnapshotResults();
    std::optional<clsDL>& dl = results.dl;
    const Read r = ReadFigure(basZuPressure::DrawPressureFigure(results));
    EXPECT_TRUE(Faults(r).empty());
    const std::string x = "仮想地盤面 " + zu::LevelText(dl->ELDLX());
    EXPECT_TRUE(HasText(r, x)) << x;
    EXPECT_TRUE(HasText(r, "地表面 +3.500"));
    EXPECT_TRUE(HasText(r, "設計地盤面 ±0.000"));
    // The value of every series at every boundary where it is not zero, once.
    for (const colDLLoad* c : {&dl->Pa(), &dl->Pw(), &dl->Pp(), &dl->Pg()}) {
        for (const clsDLLoad& l : *c) {
            for (double v : {l.PU, l.PL}) {
                if (std::fabs(v) < 0.005) continue;
                const std::string t = numfmt::FormatNumber(v, "#0.00");
                EXPECT_TRUE(HasText(r, t)) << t;
            }
        }
    }
    // The virtual ground surface is a dash-dot line at its level across the distributions.
    const formats::SubFigure& f = r.parts.at(0);
    const auto dashDot = std::find_if(f.segments.begin(), f.segments.end(),
                                      [](const auto& s) { return s.style == zu::kDashDot; });
    ASSERT_NE(dashDot, f.segments.end());
    double wallTop = -1e9;
    for (const auto& s : f.segments) {
        if (s.style == zu::kWall) wallTop = std::max(wallTop, f.points[std::size_t(s.from)].y);
    }
    const double m = wallTop / gInpJyoken.ELGL;
    EXPECT_NEAR(f.points[std::size_t(dashDot->from)].y, m * dl->ELDLX(), 1e-6);

    // Layer lists that disagree, or no depth at all, or no stage, are faults, not reads past the
    // data.
    dl->Pp().Add(-20, 1, 0, 0);
    EXPECT_THROW(basZuPressure::DrawPressureFigure(results), PrintFault);
    dl.emplace().Pa().Add(1, 0, 5, 5);
    dl->Pw().Add(1, 0, 0, 0);
    dl->Pp().Add(1, 0, 0, 0);
    dl->Pg().Add(1, 0, 5, 5);
    EXPECT_THROW(basZuPressure::DrawPressureFigure(results), PrintFault);
    dl.emplace();
    EXPECT_THROW(basZuPressure::DrawPressureFigure(results), PrintFault);
    dl.reset();
    EXPECT_THROW(basZuPressure::DrawPressureFigure(results), PrintFault);
}

// Under the clayey 0.5 m rule the loads stand on another level than the computed virtual ground
// (clay-increasing: computed at the design ground level +0.500, adopted 0.5 m lower, ±0.000):
// every figure names both, none shows a virtual ground without saying which.
TEST_F(Figures, ClayeyFiguresNameTheComputedAndTheAdoptedVirtualGround) {
    int32_t err = 0;
    ASSERT_TRUE(ReadData((test::SourceDir() / "examples" / "clay-increasing.kvt").string(), err));
    ResetResultStore();
    ASSERT_TRUE(CalcMain());
    const Results results = SnapshotResults();
    ASSERT_EQ(results.ComputedVirtualGroundApart(), std::optional<double>(0.5));
    ASSERT_NEAR(*results.AdoptedVirtualGround(), 0.0, 1e-9);
    const std::pair<const char*, std::function<std::string()>> figures[] = {
        {"構造図",
         [&] {
             return basZuStructure::DrawStructureFigure(
                 basZuStructure::CurrentSection(results, true));
         }},
        {"土圧・水圧分布図", [&] { return basZuPressure::DrawPressureFigure(results); }},
        {"荷重分布図", [&] { return basZuSp::DrawLoadDiagram(results, 128, 80); }},
        {"断面力図", [&] {
             EXPECT_TRUE(
                 basZuForces::FigureDataFor(results, PileKind::Steel, gInpYaita.Sect, gInpYaita.L));
             return basZuForces::DrawForceDiagram(results);
         }}};
    for (const auto& [caption, draw] : figures) {
        SCOPED_TRACE(caption);
        const Read r = ReadFigure(draw());
        EXPECT_TRUE(Faults(r).empty());
        bool computed = false, adopted = false;
        for (const auto& f : r.parts) {
            for (const auto& t : f.texts) {
                const std::string& x = t.text;
                computed =
                    computed || (test::Has(x, "計算上の仮想地盤面") && test::Has(x, "+0.500"));
                adopted = adopted || (test::Has(x, "採用した仮想地盤面") && test::Has(x, "±0.000"));
                EXPECT_NE(x.rfind("仮想地盤面", 0), 0u) << x;
                EXPECT_FALSE(test::Has(x, "・仮想地盤面")) << x;
            }
        }
        EXPECT_TRUE(computed);
        EXPECT_TRUE(adopted);
    }
}

}  // namespace
}  // namespace kuvelt
