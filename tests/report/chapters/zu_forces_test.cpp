// The moment, shear and displacement diagram on the figure's own geometry: over the examples and
// generated designs, at the required length, at a length whose tip lies above lm and at one
// shorter than H', no label box crosses a line or another label and every label stays in the
// frame; the maximum moment's mark stands on the moment curve with the printed values beside
// it; the report's figure files are the bytes the window draws; and inputs the distribution
// cannot draw give a figure with the reason, never a fault.
#include "report/chapters/zu_forces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "calc/calc_main.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "chapters_test_util.h"
#include "design_generator.h"
#include "formats/figure_files.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/numfmt.h"
#include "report/prn.h"
#include "report/prnz.h"
#include "support/test_support.h"
#include "usecase/design_run.h"

namespace kuvelt {
namespace {

namespace Z = basResOutPrnZ;
using basZuForces::ForceFigure;
using basZuForces::ForceFigureData;

struct Box {
    double x0, y0, x1, y1;
};
struct Line {
    double x1, y1, x2, y2;
    int part, style;
};

bool Overlap(const Box& a, const Box& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

// Whether a segment meets a box: an end inside, or a crossing of one of its edges.
bool Crosses(const Line& l, const Box& b) {
    auto inside = [&](double x, double y) {
        return x >= b.x0 && x <= b.x1 && y >= b.y0 && y <= b.y1;
    };
    if (inside(l.x1, l.y1) || inside(l.x2, l.y2)) return true;
    auto cross = [](double ax, double ay, double bx, double by, double cx, double cy, double dx,
                    double dy) {
        auto o = [](double px, double py, double qx, double qy, double rx, double ry) {
            const double v = (qx - px) * (ry - py) - (qy - py) * (rx - px);
            return (v > 0) - (v < 0);
        };
        return o(ax, ay, bx, by, cx, cy) * o(ax, ay, bx, by, dx, dy) <= 0 &&
               o(cx, cy, dx, dy, ax, ay) * o(cx, cy, dx, dy, bx, by) <= 0;
    };
    const double e[4][4] = {{b.x0, b.y0, b.x1, b.y0},
                            {b.x1, b.y0, b.x1, b.y1},
                            {b.x1, b.y1, b.x0, b.y1},
                            {b.x0, b.y1, b.x0, b.y0}};
    for (const auto& s : e)
        if (cross(l.x1, l.y1, l.x2, l.y2, s[0], s[1], s[2], s[3])) return true;
    return false;
}

double Distance(double px, double py, const Line& l) {
    const double dx = l.x2 - l.x1, dy = l.y2 - l.y1, len = dx * dx + dy * dy;
    const double t =
        len > 0 ? std::clamp(((px - l.x1) * dx + (py - l.y1) * dy) / len, 0.0, 1.0) : 0;
    return std::hypot(px - (l.x1 + t * dx), py - (l.y1 + t * dy));
}

struct Read {
    std::vector<Line> lines;
    std::vector<Box> boxes;
    std::vector<std::string> texts;
};

// Every part of the figure read back as the report reads it, in frame coordinates.
Read ReadBack(const ForceFigure& f) {
    Read r;
    int part = 0;
    for (const basZuForces::FigurePart& p : f.parts) {
        formats::SubFigure s;
        std::string why;
        EXPECT_TRUE(formats::ParseSubFigure(p.bytes, formats::Mode::Strict, s, &why)) << why;
        for (const formats::Segment& g : s.segments) {
            EXPECT_TRUE(g.from >= 0 && g.to >= 0);
            if (g.from < 0 || g.to < 0) continue;
            const auto& a = s.points.at(std::size_t(g.from));
            const auto& b = s.points.at(std::size_t(g.to));
            r.lines.push_back({a.x + p.x, a.y + p.y, b.x + p.x, b.y + p.y, part, g.style});
        }
        for (const formats::Text& t : s.texts) {
            const double w = Z::TextWidth(t.style, t.text), h = Z::FontSizeMm(t.style);
            EXPECT_EQ(t.align, 3);
            r.boxes.push_back({t.x + p.x, t.y + p.y, t.x + p.x + w, t.y + p.y + h});
            r.texts.push_back(t.text);
        }
        ++part;
    }
    return r;
}

bool Has(const Read& r, const std::string& t) {
    return std::find(r.texts.begin(), r.texts.end(), t) != r.texts.end();
}

struct Seen {
    int figures = 0, marks = 0, short_ = 0;
};

// The geometric rule and the maximum moment's mark of one figure.
void CheckFigure(const Results& results, PileKind kind, int32_t s, double L, Seen& seen) {
    SCOPED_TRACE(testing::Message() << KindCaption(kind) << " No." << s << " L=" << L);
    const auto v = basZuForces::FigureDataFor(results, kind, s, L);
    ASSERT_TRUE(v.has_value());
    const ForceFigure f = basZuForces::BuildForceFigure(*v);
    const Read r = ReadBack(f);
    ++seen.figures;
    for (std::size_t i = 0; i < r.boxes.size(); ++i) {
        const Box& b = r.boxes[i];
        EXPECT_TRUE(b.x0 >= 0 && b.y0 >= 0 && b.x1 <= f.width && b.y1 <= f.height) << r.texts[i];
        for (const Line& l : r.lines)
            ASSERT_FALSE(Crosses(l, b))
                << "\"" << r.texts[i] << "\" crosses a line of part " << l.part << " (" << l.x1
                << "," << l.y1 << ")-(" << l.x2 << "," << l.y2 << ")";
        for (std::size_t j = i + 1; j < r.boxes.size(); ++j)
            ASSERT_FALSE(Overlap(b, r.boxes[j])) << r.texts[i] << " / " << r.texts[j];
        EXPECT_EQ(r.texts[i].find("NaN"), std::string::npos) << r.texts[i];
    }
    if (!v->d.note.empty()) {
        ++seen.short_;
        EXPECT_TRUE(Has(r, v->d.note) ||
                    std::any_of(r.texts.begin(), r.texts.end(),
                                [&](auto& t) { return v->d.note.rfind(t, 0) == 0; }))
            << v->d.note;
    }
    // Where the pile reaches ELV, its shear and moment there read as the load table prints ΣＰ
    // and ΣＭ.
    const clsPressure& pr = *results.pressure;
    if (v->d.below) {
        EXPECT_TRUE(Has(r, numfmt::FormatNumber(pr.P(), "0.00")));
        if (std::fabs(pr.M()) >= 0.005) {
            EXPECT_TRUE(Has(r, numfmt::FormatNumber(-pr.M(), "0.00")));
        }
    }
    const std::string mtext = "Mmax = " + numfmt::FormatNumber(v->Mmax, "0.0") + " kN・m/m，";
    EXPECT_EQ(Has(r, mtext), v->d.lmOnPile);
    if (!v->d.lmOnPile) return;
    EXPECT_TRUE(Has(
        r, "lm = " + numfmt::FormatNumber(results.sections.Chang(kind, s)->lm, "0.000") + " m"));
    // The mark: four medium lines of the moment plot closing a diamond; its centre is on the
    // moment curve (the other medium lines of that plot).
    std::vector<Line> medium;
    for (const Line& l : r.lines)
        if (l.part == 1 && l.style == 2) medium.push_back(l);
    int found = 0;
    for (std::size_t i = 0; i + 3 < medium.size(); ++i) {
        const Line& a = medium[i];
        const Line& c = medium[i + 2];
        if (!(a.x2 == medium[i + 1].x1 && a.y2 == medium[i + 1].y1 && c.x2 == medium[i + 3].x1 &&
              medium[i + 3].x2 == a.x1 && medium[i + 3].y2 == a.y1 &&
              std::fabs(a.y1 - c.y1) < 1e-9 && std::fabs(a.x2 - c.x2) < 1e-9))
            continue;
        const double cx = a.x2, cy = a.y1;
        double best = 1e9;
        for (std::size_t k = 0; k < medium.size(); ++k)
            if (k < i || k > i + 3) best = std::min(best, Distance(cx, cy, medium[k]));
        EXPECT_LT(best, 0.25);
        ++found;
    }
    EXPECT_EQ(found, 1);
    ++seen.marks;
    // The value block stands in the moment's column (its value axis, the lowest horizontal thin
    // line of the plot, 2.5 mm in from the column's edges) and off the hatching: no horizontal
    // thin line of the plot at the block's height comes within 0.9 mm of it.
    Box label{1e9, 1e9, -1e9, -1e9};
    for (std::size_t i = 0; i < r.texts.size(); ++i) {
        if (r.texts[i] != mtext && r.texts[i] != "仮想地盤面下" && r.texts[i] != "ＥＬv下" &&
            r.texts[i].rfind("lm = ", 0) != 0)
            continue;
        label = {std::min(label.x0, r.boxes[i].x0), std::min(label.y0, r.boxes[i].y0),
                 std::max(label.x1, r.boxes[i].x1), std::max(label.y1, r.boxes[i].y1)};
    }
    const Line* axis = nullptr;
    for (const Line& l : r.lines) {
        if (l.part == 1 && l.style == 1 && l.y1 == l.y2 && (!axis || l.y1 < axis->y1)) axis = &l;
    }
    ASSERT_NE(axis, nullptr);
    // In its column, except where the clayey 0.5 m rule draws the computed level apart: its
    // line and name can take the column's free place, and the block then stands next to the mark.
    const bool inColumn = label.x0 >= std::min(axis->x1, axis->x2) - 2.5 - 1e-9 &&
                          label.x1 <= std::max(axis->x1, axis->x2) + 2.5 + 1e-9;
    EXPECT_TRUE(inColumn || v->computed) << "outside its column";
    for (const Line& l : r.lines) {
        if (&l == axis || l.part != 1 || l.style != 1 || l.y1 != l.y2) continue;
        if (l.y1 < label.y0 || l.y1 > label.y1) continue;
        EXPECT_TRUE(std::max(l.x1, l.x2) < label.x0 - 0.9 || std::min(l.x1, l.x2) > label.x1 + 0.9)
            << "hatching at " << l.y1 << " reaches the Mmax block";
    }
}

void CheckDesign(Seen& seen) {
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Batch);
    if (!run.calculated) return;
    const Results& results = *run.results;
    const usecase::Proposal pr = usecase::ProposePassingPick(results);
    PileKind kind = PileKind::Steel;
    int32_t s = 0;
    if (pr.pick) {
        kind = pr.pick->kind, s = pr.pick->sect;
    } else {
        for (PileKind k : kPileKinds) {
            if (CatalogueCount(k) > 0) {
                kind = k, s = 1;
                break;
            }
        }
    }
    if (s == 0) return;
    const double Lreq = results.sections.RequiredLength(kind, s);
    const double H = gInpJyoken.ELYU - *results.AdoptedVirtualGround();
    const double lm = results.sections.Chang(kind, s)->lm;
    for (double L : {Lreq, H + lm * 0.6, H * 0.7}) {
        if (!(L > 0.05) || !std::isfinite(L)) continue;
        CheckFigure(results, kind, s, L, seen);
        if (testing::Test::HasFatalFailure()) return;
    }
}

class ForceFigureTest : public test::PrintJobFixture {
  protected:
    void TearDown() override {
        PrintJobFixture::TearDown();
        InitData();
    }
};

TEST_F(ForceFigureTest, LabelsClearOfLinesAndMmaxOnTheCurve) {
    Seen seen;
    for (const auto& e : std::filesystem::directory_iterator(test::SourceDir() / "examples")) {
        if (e.path().extension() != ".kvt") continue;
        SCOPED_TRACE(e.path().filename().string());
        int32_t code = 0;
        ASSERT_TRUE(ReadData(e.path().string(), code));
        CheckDesign(seen);
        if (HasFailure()) return;
    }
    int designs = 0;
    for (uint64_t index = 0; designs < 100; ++index) {
        if (load::FamilyOf(index) != load::Family::Valid) continue;
        const load::GeneratedDesign g = load::GenerateDesign(20261209, index);
        SCOPED_TRACE(testing::Message() << "design " << index << " " << g.what);
        ++designs;
        CheckDesign(seen);
        if (HasFailure()) return;
    }
    EXPECT_GT(seen.figures, 200);
    EXPECT_GT(seen.marks, 100);
    EXPECT_GT(seen.short_, 50);
}

// The report's figure files hold the bytes the window draws, and the composite places each at
// the frame's origin.
TEST_F(ForceFigureTest, ReportFilesAreTheWindowsBytes) {
    int32_t code = 0;
    ASSERT_TRUE(ReadData((test::SourceDir() / "examples" / "sand-channel.kvt").string(), code));
    const usecase::CalcRun run = usecase::Calculate(usecase::Purpose::Batch);
    ASSERT_TRUE(run.calculated);
    ASSERT_TRUE(gInpYaita.InpFlg);
    const std::string path = basZuForces::DrawForceDiagram(*run.results);
    formats::Composite c;
    std::string why;
    ASSERT_TRUE(formats::ReadComposite(path, formats::Mode::Strict, c, &why)) << why;
    const auto kind = KindOfChoice(gInpYaita.Yaita);
    ASSERT_TRUE(kind);
    const ForceFigure f = basZuForces::BuildForceFigure(
        *basZuForces::FigureDataFor(*run.results, *kind, gInpYaita.Sect, gInpYaita.L));
    EXPECT_EQ(c.frameWidth, f.width);
    EXPECT_EQ(c.frameHeight, f.height);
    ASSERT_EQ(c.subFigures.size(), f.parts.size());
    for (std::size_t i = 0; i < f.parts.size(); ++i) {
        EXPECT_EQ(c.subFigures[i].x, 0);
        EXPECT_EQ(c.subFigures[i].y, 0);
        EXPECT_EQ(test::ReadBytes(c.subFigures[i].path), f.parts[i].bytes) << i;
    }
}

// Whatever the distribution is given, the figure is drawn (with the reason when something is
// missing) and holds only numbers (bench/report times building one).
TEST_F(ForceFigureTest, AnyInputGivesAFigure) {
    std::mt19937_64 rng(15);
    auto pick = [&](std::initializer_list<double> v) {
        return *(v.begin() + std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(rng));
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < 300; ++i) {
        DistributionInput in;
        in.head = pick({4.0, 0.0, -3.0, 1e6, nan});
        in.ELV = in.head - pick({3.0, 0.001, 0.0, -1.0, 50.0});
        in.L = pick({12.0, 0.01, 1e-7, 3.0, 500.0, 1e7, -1.0, 0.0});
        const int layers = int(pick({0, 1, 3, 20}));
        for (int k = 0; k < layers; ++k) {
            const double eu = in.head - k * 0.2;
            in.loads.push_back({eu, eu - pick({0.2, 0.0, 1e-9, 5.0}), pick({0.0, 10.0, -5.0, 1e6}),
                                pick({0.0, 30.0, -50.0})});
        }
        in.P = pick({0.0, 50.0, -20.0, 1e9});
        in.h0 = pick({0.0, 0.0005, 1.5, 100.0});
        in.beta = pick({0.0, 0.36, 1e-6, 50.0});
        in.lm = pick({0.0, 1.2, 1e5});
        in.K = pick({0.0, 4.4e4, 1e-9});
        in.betaD = pick({0.0, 0.36, 1e3});
        ForceFigureData v;
        v.d = ComputeDistribution(in);
        v.pile = "鋼矢板 試験";
        v.sect = 1;
        v.L = std::isfinite(in.L) ? in.L : 0;
        v.Mmax = pick({-161.1, 0.0, 1e9});
        v.lm = in.lm;
        v.delta = pick({0.1, 0.0});
        v.ELGL = pick({3.5, 1e6});
        SCOPED_TRACE(i);
        ForceFigure f;
        ASSERT_NO_THROW(f = basZuForces::BuildForceFigure(v));
        ASSERT_FALSE(f.parts.empty());
        const Read r = ReadBack(f);
        for (const std::string& t : r.texts) {
            EXPECT_EQ(t.find("NaN"), std::string::npos) << t;
            EXPECT_EQ(t.find("Infinity"), std::string::npos) << t;
        }
        if (!v.d.note.empty()) {
            EXPECT_FALSE(r.texts.empty());
        }
    }
}

}  // namespace
}  // namespace kuvelt
