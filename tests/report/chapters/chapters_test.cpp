// The five chapters on designs that reach their branches: no chapter fails, the numbers of the
// result store appear as the format file renders them, the branch texts appear or stay out, and
// the page structure (page breaks, paged layer tables) holds.
#include "report/chapters/chapters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <set>
#include <sstream>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "calc/verdicts.h"
#include "chapters_test_util.h"
#include "formats/print_pages.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "report/chapters/chapter_common.h"
#include "report/chapters/print_job.h"
#include "report/prn.h"
#include "support/test_support.h"

namespace kuvelt {
namespace {

using test::Pic;
using test::ReadUtf8;

class ChapterTest : public ::testing::TestWithParam<test::ReportDesign> {
  protected:
    void SetUp() override { basResOutPrn::SetReportTempFolder(tmp.path().string()); }
    void TearDown() override {
        print_job::CloseReport();
        basResOutPrn::SetReportTempFolder("");
    }
    std::string Chapter(int i) { return ReadUtf8(print_job::ChapterFile(i)); }
    test::TempDir tmp;
};

using test::Count;
using test::Has;

TEST_P(ChapterTest, EveryChapterWritesTheResultStoreValues) {
    const test::ReportDesign& d = GetParam();
    ASSERT_TRUE(test::Prepare(d));
    const print_job::Generation g =
        print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI");
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(g.written[i]) << i << ": " << g.errors[i];
    EXPECT_FALSE(g.failure.has_value());

    const std::string c1 = Chapter(0), c2 = Chapter(1), c3 = Chapter(2), c4 = Chapter(3),
                      c5 = Chapter(4);
    // Chapter 1 restates the input.
    EXPECT_TRUE(Has(c1, gInpJyoken.Title));
    EXPECT_TRUE(Has(c1, "ＥＬ１ ＝ " + Pic(gInpJyoken.ELGL, "+##0.000")));
    EXPECT_TRUE(Has(c1, "Ｌ   ＝ " + Pic(gInpYaita.L, "#0.00") + " m"));
    // Chapter 2: the surcharge and the last passive pressure of the current design.
    if (gInpJiban.Kind == 0) {
        EXPECT_TRUE(Has(c2, "ｑ ＝ " + Pic(gSpa->Q, "##0.00") + " kN/m^2"));
    } else {
        EXPECT_TRUE(Has(c2, Pic(gSpa->Jiban().Item(1)->P1U, "####0.00")));
    }
    const clsSpJiban* lastPassive = gSpp->Jiban().Item(gSpp->Jiban().Count());
    ASSERT_NE(lastPassive, nullptr);
    EXPECT_TRUE(Has(c2, Pic(lastPassive->PaL, gInpJiban.Kind == 0 ? "#####0.00" : "####0.00")));
    EXPECT_TRUE(Has(c2, Pic(gRWp->Pw(), "####0.00") + " kN/m^2"));
    // Chapter 3: the virtual ground surface.
    EXPECT_TRUE(Has(c3, Pic(gDL->ELDLX(), "+##0.000") + " m"));
    // Chapter 4: resultant, Chang's moment, required length and displacement.
    const int k = gInpYaita.Yaita + 1, s = gInpYaita.Sect;
    EXPECT_TRUE(Has(c4, "ΣＰ ＝ " + Pic(gPressure->P(), "######0.00") + " kN/m"));
    EXPECT_TRUE(Has(c4, "Ｍmax ＝ " + Pic(gSectChang(k, s, 1), "######0.0")));
    EXPECT_TRUE(Has(c4, "Ｌreq ＝ " + Pic(gSectEmbed(k, s, 2), "##0.00") + " m  ≦  Ｌ"));
    EXPECT_TRUE(Has(c4, Pic(gSectDisp(k, s, 4), "##0.000") + " m  "));
    EXPECT_TRUE(Has(c4, "?FG;000;000;" + tmp.path().string()));
    // Chapter 5: the check that applies, or nothing.
    if (gInpJyoken.Nekiri != 1) {
        EXPECT_EQ(c5, "");
        EXPECT_FALSE(g.stabilityEnabled);
    } else if (gInpJiban.Kind == 0) {
        EXPECT_TRUE(Has(c5, "ボイリング"));
        EXPECT_TRUE(Has(c5, "＝ " + Pic(gNekiriAnteiAs->F(), "##0.000")));
    } else {
        EXPECT_TRUE(Has(c5, "ヒービング"));
        EXPECT_TRUE(Has(c5, "Ｆ ＝ " + Pic(gNekiriAnteiAc->F(), "##0.000")));
        EXPECT_EQ(Has(c5, "（ａ ＞ 0）"), gInpJiban.Ca >= 0.001);
        // The overburden with its terms and the factor evaluated from it.
        const clsNekiriAnteiAc& h = *gNekiriAnteiAc;
        const double h1 = std::max(0.0, h.H - h.Hw), h2 = std::max(0.0, h.Hw);
        EXPECT_TRUE(
            Has(c5, " ＝ " + Pic(h1 * h.Gt + (h.Gws + h.Gw) * h2 + h.Q, "####0.00") + " kN/m^2"))
            << c5;
        EXPECT_TRUE(Has(c5, "} ＝ " + Pic(h.F(), "##0.000")) ||
                    Has(c5, "／" + Pic(h1 * h.Gt + (h.Gws + h.Gw) * h2 + h.Q, "####0.00") + " ＝ " +
                                Pic(h.F(), "##0.000")))
            << c5;
    }
    // Branch texts of the surcharge shape and the ground kind.
    EXPECT_EQ(Has(c1, "形状：水平"), gInpJyoken.Keijyo == 0);
    EXPECT_EQ(Has(c1, "形状：一定勾配"), gInpJyoken.Keijyo == 1);
    EXPECT_EQ(Has(c1, "形状：台形"), gInpJyoken.Keijyo == 2);
    EXPECT_EQ(Has(c2, "影響係数"), gInpJyoken.Keijyo != 1);
    EXPECT_EQ(Has(c1, "土質：砂質土"), gInpJiban.Kind == 0);
    EXPECT_EQ(Has(c2, "0.5σv"), gInpJiban.Kind != 0);
    EXPECT_EQ(Has(c1, "継手効率"), gInpYaita.Yaita != 0);
    EXPECT_EQ(Has(c4, "ひび割れﾓｰﾒﾝﾄ"), gInpYaita.Yaita == 0);
    // Corrosion is the steel piles' wording; a concrete pile's β uses its catalogue's inertia.
    EXPECT_EQ(Has(c4, "腐食"), gInpYaita.Yaita != 0);
    // The ground section always opens a page, as does the force diagram in chapter 4; its other
    // sections open one only where the page in hand has no room for their start.
    EXPECT_EQ(test::PageBreaks(cp932::FromUtf8(c1)), 1);
    EXPECT_GE(test::PageBreaks(cp932::FromUtf8(c4)), 1);
}

// Chapter 4 as an engineer checks it: each characteristic value is stated before the first line
// that computes with it and the head displacement is judged after its three parts; the pile's
// one modulus is printed in one unit with one exponent wherever it appears (chapters 1 and 4);
// a steel section modulus is the catalogue's value in cm3/m.
TEST_P(ChapterTest, SymbolsAreDefinedBeforeUseAndTheModulusIsPrintedOneWay) {
    const test::ReportDesign& d = GetParam();
    ASSERT_TRUE(test::Prepare(d));
    const print_job::Generation g =
        print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI");
    ASSERT_TRUE(g.written[0] && g.written[3]);
    const std::string c1 = Chapter(0), c4 = Chapter(3);
    auto before = [&](const std::string& first, const std::string& then) {
        const auto a = c4.find(first), b = c4.find(then);
        ASSERT_NE(a, std::string::npos) << first;
        ASSERT_NE(b, std::string::npos) << then;
        EXPECT_LT(a, b) << first << " / " << then;
    };
    before("特性値 β（応力度照査用）", "（最大曲げﾓｰﾒﾝﾄ）");
    before("特性値 β（応力度照査用）", "Ｍmax ＝ －ΣＰ");
    before("特性値 β（根入れ長算定用）", "l ＝ 3／β ＝");
    before("特性値 β（変位量照査用）", "δ1 ＝ ΣＰ");
    before("＝ " + Pic(gSectDisp(gInpYaita.Yaita + 1, gInpYaita.Sect, 3), "##0.000") + " m",
           "（照査）");
    // Every modulus printed: one mantissa and exponent, that of chapter 1.
    static const std::regex modulus("([0-9]+\\.[0-9]+)×10\\^([0-9]+) +kN/m\\^2");
    std::set<std::string> shown;
    for (const std::string* c : {&c1, &c4}) {
        for (auto m = std::sregex_iterator(c->begin(), c->end(), modulus);
             m != std::sregex_iterator(); ++m) {
            shown.insert((*m)[1].str() + "e" + (*m)[2].str());
        }
    }
    ASSERT_EQ(shown.size(), 1u) << c4;
    double mant = 0;
    std::string exp;
    const CInpZairyo& z = gInpZairyo;
    const double e = d.yaita == 0   ? (gInpSectC.Item(d.sect)->Keijyo == 0   ? z.EcHira
                                       : gInpSectC.Item(d.sect)->Keijyo == 1 ? z.EcMizo
                                                                             : z.EcNami)
                     : d.yaita == 1 ? z.Esky
                                    : z.Esy;
    chapters::SplitExponent(e, mant, exp);
    EXPECT_EQ(*shown.begin(), Pic(mant, "0.00") + "e" + exp.substr(0, exp.find(' ')));
    if (d.yaita != 0) {
        const CInpSectS& sec = *(d.yaita == 1 ? gInpSectLS : gInpSectS).Item(d.sect);
        EXPECT_TRUE(Has(c4, "Ｚ ＝ " + Pic(sec.Zo, "####0.0") + " cm^3/m")) << c4;
    }
    EXPECT_FALSE(Has(c4, "mm3/m"));
}

// The pages as the preview lays them out: every writer counts its lines as the layout places
// them (its own page breaks follow from that count), and no kept group (a heading with the lines
// after it, a list of symbols) is cut by a full page.
TEST_P(ChapterTest, WritersCountThePagesThePreviewMakesAndKeepGroupsWhole) {
    ASSERT_TRUE(test::Prepare(GetParam()));
    ASSERT_FALSE(print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI")
                     .failure.has_value());
    const test::Writer writers[] = {
        basResOutJyoken::Write, basResOutGairyoku::Write, basResOutDL::Write, basResOutYaita::Write,
        gInpJiban.Kind == 0 ? basResOutNekiriAnteiAs::Write : basResOutNekiriAnteiAc::Write};
    const Results results = SnapshotResults();
    for (int i = 0; i < 5; ++i) {
        if (i == 4 && gInpJyoken.Nekiri != 1) break;
        basResOutPrn::CurrentPrintFile = basResOutPrn::NewPrintFile();
        ASSERT_TRUE(writers[i](results, nullptr)) << i;
        const std::string bytes = test::ReadBytes(basResOutPrn::CurrentPrintFile);
        const formats::PrintLayout layout = formats::LayOutPrintFile(bytes, 1000);
        const bool endsAtBreak = !bytes.empty() && bytes.back() == '\x0C';
        EXPECT_EQ(basResOutPrn::LineCount, endsAtBreak ? 0 : int(layout.pages.back().lines.size()))
            << "chapter " << i + 1;
        for (std::size_t p = 0; p < layout.pages.size(); ++p) {
            const auto& page = layout.pages[p];
            // A list continued under its head brings at least its last three entries along.
            if (!page.lines.empty() && page.lines.front().head) {
                std::size_t entries = 0;
                for (const auto& l : page.lines)
                    entries += !l.head && !formats::PrintsNothing(l.bytes);
                EXPECT_GE(entries, 3u) << "chapter " << i + 1 << " page " << p + 1;
            }
            for (std::size_t j = 0; j < page.lines.size(); ++j) {
                if (page.lines[j].keep == 0 || page.endsAtBreak || p + 1 == layout.pages.size())
                    continue;
                EXPECT_LE(j + std::size_t(page.lines[j].keep), page.lines.size())
                    << "chapter " << i + 1 << " page " << p + 1 << ": "
                    << cp932::ToUtf8(page.lines[j].bytes);
            }
        }
    }
}

// Every chapter and figure prints the results it is given: with the result store emptied after
// the run, the report of the run's results is the same, figure files and all.
TEST_P(ChapterTest, ChaptersPrintTheRunsResultsNotTheStore) {
    ASSERT_TRUE(test::Prepare(GetParam()));
    basResOutPrn::NumberMethod = 0;
    const Results results = SnapshotResults();
    auto report = [&] {
        std::string text;
        for (const test::Writer w :
             {basResOutJyoken::Write, basResOutGairyoku::Write, basResOutDL::Write,
              basResOutYaita::Write, basResOutSummary::Write})
            text += test::RunWriter(w, results);
        if (gInpJyoken.Nekiri == 1)
            text += test::RunWriter(
                gInpJiban.Kind == 0 ? basResOutNekiriAnteiAs::Write : basResOutNekiriAnteiAc::Write,
                results);
        for (int i = 1; i <= basResOutPrn::FigureFileCount; ++i)
            text += test::ReadUtf8(basResOutPrn::FigureFileNames[std::size_t(i)]);
        basResOutPrn::DeleteAllReportFiles();
        return std::regex_replace(text, std::regex("~MT[A-Za-z0-9]+"), "~MT");
    };
    const std::string before = report();
    ResetResultStore();
    EXPECT_EQ(report(), before);
}

INSTANTIATE_TEST_SUITE_P(Designs, ChapterTest, ::testing::ValuesIn(test::ReportDesigns()),
                         [](const auto& info) { return info.param.name; });

// A number after `key` on `line` (the first one), or NaN.
double After(const std::string& line, const std::string& key) {
    const std::size_t at = line.find(key);
    if (at == std::string::npos) return std::nan("");
    return std::strtod(line.c_str() + at + key.size(), nullptr);
}

constexpr double kDeg = 3.141592654 / 180.0;

class ExampleReport : public ChapterTest {};

// Each example's report as the checker reads it: every sandy coefficient and its terms follow by
// hand from the printed φ, δ and slope (Coulomb with α = θ = 0), the embedment is spelt one way,
// and a "^" is only ever the mark of a superscript run.
TEST_F(ExampleReport, CoefficientsFollowFromTheirPrintedTermsAndMarksAreWellFormed) {
    int coefficients = 0;
    const int examples = test::ForEachExample([&](const std::string& name) {
        CalcNekiriAntei();
        print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI");
        std::string all;
        for (int i = 0; i < 5; ++i) all += Chapter(i);
        for (print_job::Part p : print_job::kFrontFiles) all += ReadUtf8(print_job::PartFile(p));
        EXPECT_FALSE(Has(all, "根入長")) << name;
        EXPECT_TRUE(Has(all, "根入れ長")) << name;
        for (std::size_t at = all.find('^'); at != std::string::npos; at = all.find('^', at + 1)) {
            const char next = at + 1 < all.size() ? all[at + 1] : ' ';
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(next)) || next == '+' ||
                        next == '-')
                << name << ": " << all.substr(at > 20 ? at - 20 : 0, 40);
        }
        // Chapter 2 line by line: the slope of the side's table, then its coefficients.
        std::istringstream c2(Chapter(1));
        double beta = 0, delta = 0;
        bool passive = false;
        for (std::string line; std::getline(c2, line);) {
            if (Has(line, "tan^-1(1／ｍ) ＝")) beta = After(line, "tan^-1(1／ｍ) ＝");
            if (Has(line, "受働土圧の計算")) beta = 0;
            if (Has(line, "（土圧係数）")) {
                delta = After(line, "δ ＝");
                passive = Has(line, "Ｋp の式");
            }
            if (!Has(line, "φ ＝") || !Has(line, "ζ")) continue;
            ++coefficients;
            const double phi = After(line, "φ ＝") * kDeg, d = delta * kDeg, b = beta * kDeg;
            const double t = After(line, "ｔ ＝"), k = After(line, passive ? "Ｋp ＝" : "Ｋa ＝");
            const double kh = After(line, passive ? "Ｋph ＝" : "Ｋah ＝");
            const double zeta = After(line, passive ? "ζp ＝" : "ζa ＝");
            const double tWanted =
                passive ? std::sin(phi - d) * std::sin(phi + b) / (std::cos(d) * std::cos(b))
                        : std::sin(phi + d) * std::sin(phi - b) / (std::cos(d) * std::cos(b));
            const double root = tWanted < 0 ? 0 : std::sqrt(tWanted);
            const double kWanted = std::pow(std::cos(phi), 2) /
                                   (std::cos(d) * std::pow(passive ? 1 - root : 1 + root, 2));
            // The slip angle as chapter 2 writes it: ζ = β + tan⁻¹{1 / (s / cos ψ ∓ tan ψ)}.
            const double psi = passive ? phi - d + b : phi + d - b;
            const double s =
                passive
                    ? std::sqrt(std::sin(phi - d) * std::cos(d) / (std::cos(b) * std::sin(phi + b)))
                    : std::sqrt(std::cos(d) * std::sin(phi + d) /
                                (std::cos(b) * std::sin(phi - b)));
            const double c = s / std::cos(psi) + (passive ? 1 : -1) * std::tan(psi);
            EXPECT_NEAR(t, tWanted, 6e-5) << name << ": " << line;
            EXPECT_NEAR(k, kWanted, 6e-5) << name << ": " << line;
            EXPECT_NEAR(kh, k * std::cos(d), 1.1e-4) << name << ": " << line;
            EXPECT_NEAR(zeta, beta + std::atan(1 / c) / kDeg, 0.06) << name << ": " << line;
        }
        print_job::CloseReport();
    });
    EXPECT_EQ(examples, 5);
    EXPECT_GE(coefficients, 6);  // three sandy examples and the layered one, both sides
}

class ChapterFileTest : public test::PrintJobFixture {
  protected:
    void SetUp() override {
        PrintJobFixture::SetUp();
        basResOutPrn::NumberMethod = 0;
    }
    std::string Run(test::Writer writer, bool expectOk = true) {
        return test::RunWriter(writer, expectOk);
    }
    std::string Run(test::Writer writer, const Results& results, bool expectOk = true) {
        return test::RunWriter(writer, results, expectOk);
    }
};

TEST_F(ChapterFileTest, TrapezoidCrestBeyondReachIsLeftOut) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[3]));
    ASSERT_GE(gQqw->Xq(), gQqw->D3Ho + gQqw->H);
    const std::string c2 = Run(basResOutGairyoku::Write);
    EXPECT_TRUE(Has(c2, "m  ≧  Ｈ＋Ｈo ＝"));
    EXPECT_TRUE(Has(c2, "その影響は考慮しない"));
    EXPECT_FALSE(Has(c2, "上載荷重による換算上載荷重\r\n"));
}

TEST_F(ChapterFileTest, ClayeyPassiveTableBelongsToTheCurrentDesign) {
    // A sandy report first stages its passive layers; the clayey report that follows must print
    // its own passive pressures, not the earlier ones.
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));
    Run(basResOutGairyoku::Write);
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[2]));
    const std::string c2 = Run(basResOutGairyoku::Write);
    const auto pos = c2.find("受働土圧の計算");
    ASSERT_NE(pos, std::string::npos);
    const std::string passive = c2.substr(pos);
    for (const clsSpJiban& l : gSpp->Jiban()) {
        EXPECT_TRUE(Has(passive, Pic(l.EU, "+##0.000"))) << l.EU;
        EXPECT_TRUE(Has(passive, Pic(l.PaU, "####0.00") + " │\r\n")) << l.PaU;
        EXPECT_TRUE(Has(passive, Pic(l.CL, "##0.0"))) << l.CL;
    }
}

// Rows of the virtual-ground table: n net pressure layers of 0.5 m each below the design
// ground level, so every row takes form C.
Results FillVirtualGround(int n) {
    InitData();
    gInpJyoken.ELDL = 0.0;
    gInpJyoken.ELWL = 5.0;
    Results r;
    clsDL& dl = r.dl.emplace();
    for (int i = 0; i < n; ++i) {
        const double eu = -0.5 * i;
        dl.Pa().Add(eu, 0.5, 10 + i, 11 + i);
        dl.Pw().Add(eu, 0.5, 1, 1);
        dl.Pp().Add(eu, 0.5, 2 * i, 2 * i + 2);
        dl.Pg().Add(eu, 0.5, 11 - i, 10 - i);
    }
    return r;
}

int RowsBeforeFirstBreak(const std::string& text) {
    const std::string page = text.substr(0, text.find('\x0C'));
    static const std::regex row("│ +[0-9]+ │");
    return static_cast<int>(
        std::distance(std::sregex_iterator(page.begin(), page.end(), row), std::sregex_iterator()));
}

TEST_F(ChapterFileTest, VirtualGroundTablePagesThirteenThenFourteenRows) {
    struct Case {
        int n, breaks, firstPage;
    } cases[] = {{13, 0, 13}, {14, 1, 13}, {20, 1, 13}, {27, 1, 13}, {28, 2, 13}, {50, 3, 13}};
    for (const Case& c : cases) {
        const std::string t = Run(basResOutDL::Write, FillVirtualGround(c.n));
        EXPECT_EQ(test::PageBreaks(cp932::FromUtf8(t)), c.breaks) << c.n;
        EXPECT_EQ(RowsBeforeFirstBreak(t), c.firstPage) << c.n;
        // Each page ends with the closing line; the header repeats after every break.
        EXPECT_EQ(Count(t, "└"), c.breaks + 1) << c.n;
        EXPECT_EQ(Count(t, "┌"), c.breaks + 1) << c.n;
        EXPECT_EQ(Count(t, "│  ##") + Count(t, "#"), 0) << c.n;  // every field filled
    }
}

TEST_F(ChapterFileTest, VirtualGroundRowForms) {
    InitData();
    gInpJyoken.ELDL = 0.0;
    gInpJyoken.ELWL = 1.0;
    Results r;
    clsDL& dl = r.dl.emplace();
    // Tops: 2.0 dry (A), 0.8 under water (B), 0.0005 within 1 mm of the design level (C).
    const double tops[] = {2.0, 0.8, 0.0005};
    for (double eu : tops) {
        dl.Pa().Add(eu, 0.1, 5, 6);
        dl.Pw().Add(eu, 0.1, 7, 8);
        dl.Pp().Add(eu, 0.1, 9, 10);
        dl.Pg().Add(eu, 0.1, 3, 4);
    }
    const std::string t = Run(basResOutDL::Write, r);
    std::vector<std::string> firstLines;
    std::istringstream in(t);
    for (std::string line; std::getline(in, line);) {
        static const std::regex upperOrLower("│      │ +[-+][0-9]");
        if (std::regex_search(line, upperOrLower)) firstLines.push_back(line);
    }
    ASSERT_EQ(firstLines.size(), 6u);
    EXPECT_EQ(Count(firstLines[0], "－"), 2);  // A: no water, no passive pressure
    EXPECT_TRUE(Has(firstLines[2], "7.00"));   // B: residual water shown
    EXPECT_TRUE(Has(firstLines[2], "－"));     //    and no passive pressure
    EXPECT_TRUE(Has(firstLines[4], "9.00"));   // C: passive pressure shown
    EXPECT_FALSE(Has(firstLines[4], "－"));
}

TEST_F(ChapterFileTest, ClayeyVirtualGroundHalfMetreRule) {
    struct Case {
        double eldlx;
        bool halfMetre;
    } cases[] = {{-0.5, true}, {-0.3, true}, {-0.51, false}};
    for (const Case& c : cases) {
        Results r = FillVirtualGround(3);
        gInpJiban.Kind = 1;
        // Net pressure crossing zero in the first layer below the design ground level, at the
        // level wanted: X = EU + H·PU / (PU − PL).
        clsDL& dl = r.dl.emplace();
        dl.ELDL = 0.0;
        dl.Pa().Add(0.0, 1.0, -c.eldlx, -c.eldlx - 1.0);
        dl.Pa().Add(-1.0, 1.0, -2, -3);
        dl.Calc();
        ASSERT_NEAR(dl.ELDLX(), c.eldlx, 1e-9);
        const std::string t = Run(basResOutDL::Write, r);
        EXPECT_EQ(Has(t, "設計地盤面下 0.5 m   ＥＬ ＝ ＥＬ３－0.5 ＝   -0.500 m"), c.halfMetre)
            << c.eldlx;
        EXPECT_EQ(Has(t, "\r\n  仮想地盤面  ＥＬx"), !c.halfMetre) << c.eldlx;
    }
}

// The level line is checkable from its own numbers: the interpolation with its values and the
// unrounded result where the level lies inside the layer, the layer top said in words where the
// net pressure turns negative at a boundary (there the formula would give another number).
TEST_F(ChapterFileTest, VirtualGroundLineIsCheckableFromItsNumbers) {
    const std::string formula = "ＥＬx ＝ ＥＬu＋(ＥＬu－ＥＬl)・Ｐu／(Ｐl－Ｐu)";
    Results r = FillVirtualGround(3);
    gInpJiban.Kind = 0;
    {
        // Net 2.00 at 0.000 falling to -1.00 at -1.000: 0 + 1 x 2 / (-1 - 2) = -0.6667 -> -0.67.
        clsDL& dl = r.dl.emplace();
        dl.ELDL = 0.0;
        dl.Pa().Add(0.0, 1.0, 2.0, -1.0);
        dl.Calc();
        ASSERT_TRUE(dl.Interpolated());
        const std::string t = Run(basResOutDL::Write, r);
        EXPECT_TRUE(Has(t, formula));
        EXPECT_TRUE(Has(t, "＝ " + Pic(0.0, "+##0.000") + "＋{" + Pic(0.0, "+##0.000") + "－(" +
                               Pic(-1.0, "+##0.000") + ")}×(" + Pic(2.0, "####0.00") + ")／{(" +
                               Pic(-1.0, "####0.00") + ")－(" + Pic(2.0, "####0.00") + ")}"))
            << t;
        EXPECT_TRUE(Has(t, "＝ " + Pic(-2.0 / 3.0, "+##0.0000") + " m  →  ＥＬx ＝ " +
                               Pic(-0.67, "+##0.000") + " m"))
            << t;
    }
    {
        // Net 1.00 at the boundary from above, -1.00 just below it: taken at the layer top 0.000
        // (the formula with this layer's numbers would give +1.000).
        clsDL& dl = r.dl.emplace();
        dl.ELDL = 0.0;
        dl.Pa().Add(1.0, 1.0, 2.0, 1.0);
        dl.Pa().Add(0.0, 1.0, -1.0, -2.0);
        dl.Calc();
        ASSERT_FALSE(dl.Interpolated());
        ASSERT_EQ(dl.ELDLX(), 0.0);
        const std::string t = Run(basResOutDL::Write, r);
        EXPECT_FALSE(Has(t, formula)) << t;
        EXPECT_TRUE(Has(t, "仮想地盤面  ＥＬx ＝ " + Pic(0.0, "+##0.000") +
                               " m（合計が層の上端で負に転じるため層の上端とする）"))
            << t;
    }
}

TEST_F(ChapterFileTest, TooManyRowsFailTheirChapter) {
    Run(basResOutDL::Write, FillVirtualGround(51), false);
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));
    Results r = SnapshotResults();
    clsSpa& a = *r.spa;
    // Ten ground layers give at most 24 pieces a side: they print, paged; a 25th fails.
    while (a.Jiban().Count() < 24) a.Jiban().Add(2, -20, 1, 0, 9, 30, 0, 0, 0, 0);
    Run(basResOutGairyoku::Write, r, true);
    a.Jiban().Add(2, -20, 1, 0, 9, 30, 0, 0, 0, 0);
    Run(basResOutGairyoku::Write, r, false);
}

TEST_F(ChapterFileTest, MissingSectionFailsDesignAndSheetPileChapters) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[2]));
    gInpYaita.Sect = 99;
    const std::string c1 = Run(basResOutJyoken::Write, false);
    EXPECT_TRUE(Has(c1, "?R2地盤条件"));  // what was written before the failure stays
    Run(basResOutYaita::Write, false);
}

TEST_F(ChapterFileTest, JudgementsAtTheirTolerances) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[2]));
    const int k = gInpYaita.Yaita + 1, s = gInpYaita.Sect;
    // Lreq and δ are judged as printed (0.01 m, 0.001 m) against L and δa = 0.1: δ 0.1004
    // prints 0.100 and passes, 0.1005 prints 0.101 and fails; L 0.0005 below Lreq fails.
    const double lreq = AsPrinted(gSectEmbed(k, s, 2), 2);
    struct Case {
        double dL, delta;
        const char *lengthVerdict, *dispVerdict;
    } cases[] = {{0.0, 0.1004, "≦  Ｌ", "≦  δa"},
                 {-0.0005, 0.1005, "＞  Ｌ", "＞  δa"},
                 {-0.01, 0.101, "＞  Ｌ", "＞  δa"}};
    Results r = SnapshotResults();
    DispRow& disp = (*r.sections.disp)[std::size_t(k - 1)][std::size_t(s - 1)];
    for (const Case& c : cases) {
        gInpYaita.L = lreq + c.dL;
        gInpJyoken.Delta = 0.1;
        disp.delta = c.delta;
        const std::string t = Run(basResOutYaita::Write, r);
        EXPECT_TRUE(Has(t, c.lengthVerdict)) << c.dL;
        EXPECT_TRUE(Has(t, c.dispVerdict)) << c.delta;
    }
}

// A stability check that faulted states the error where its calculation would stand, with the
// method above it and no factor or verdict: boiling with γw = 0 divides by zero (11), heaving
// of an overburden beyond the doubles overflows (6), for cohesion constant or growing.
TEST_F(ChapterFileTest, FaultedStabilityCheckStatesTheError) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));
    Results r = SnapshotResults();
    clsNekiriAnteiAs& b = *r.boiling;
    b.Gw = 0.0;
    b.Hw = 1.0;
    ASSERT_FALSE(b.Calc());
    const std::string t = Run(basResOutNekiriAnteiAs::Write, r);
    EXPECT_TRUE(Has(t, "計算ｴﾗｰ（ｴﾗｰｺｰﾄﾞ： 11）のため Ｆ を求められません。")) << t;
    EXPECT_TRUE(Has(t, "Ｆ ＝ 2・γ'・Ｄ／(Ｈw・γw) ≧ Ｆa"));
    EXPECT_FALSE(Has(t, "──") || Has(t, "‥‥")) << "no formula with numbers, no verdict";
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[2]));
    r = SnapshotResults();
    for (const double ca : {0.0, 2.0}) {
        clsNekiriAnteiAc& h = *r.heaving;
        h.Ca = ca;
        h.Gt = 1e308;
        h.H = 10.0;
        h.Hw = 0.0;
        ASSERT_FALSE(h.Calc());
        const std::string a = Run(basResOutNekiriAnteiAc::Write, r);
        EXPECT_TRUE(Has(a, "計算ｴﾗｰ（ｴﾗｰｺｰﾄﾞ：  6）のため Ｆ を求められません。")) << a;
        EXPECT_TRUE(Has(a, ca > 0 ? "（ａ ＞ 0）" : "（ａ ＝ 0）"));
        EXPECT_FALSE(Has(a, "Ｗ ＝ ") && Has(a, "kN/m2 ")) << "no overburden with numbers";
        EXPECT_FALSE(Has(a, "‥‥"));
    }
}

// Boiling with the groundwater at or below the design ground level (Hw = ELWL − ELDL ≦ 1 mm):
// no head, no flow, the check is not needed. The store keeps F = 999; chapter 5 and the summary
// say so in words and print no factor.
TEST_F(ChapterFileTest, BoilingWithoutAHeadIsNotNeeded) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));  // sandy, ELDL = 0.5
    const struct {
        double ELWL;
        bool needed;
    } cases[] = {{-0.5, false}, {0.5, false}, {0.501, false}, {1.0, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ELWL);
        gInpJyoken.ELWL = c.ELWL;
        ASSERT_TRUE(CalcNekiriAntei());
        EXPECT_EQ(gNekiriAnteiAs->F() == 999, !c.needed);
        const std::string c5 = Run(basResOutNekiriAnteiAs::Write);
        EXPECT_EQ(Has(c5, "ボイリングの検討は不要である"), !c.needed);
        EXPECT_EQ(Has(c5, "Ｈw ＝ ＥＬ４－ＥＬ３ ＝ " + Pic(c.ELWL - 0.5, "##0.00") + " m ≦ 0"),
                  !c.needed);
        EXPECT_EQ(Has(c5, "‥‥  OK"), c.needed);
        EXPECT_FALSE(Has(c5, "999.000"));
        const std::string summary = Run(basResOutSummary::Write);
        EXPECT_EQ(Has(summary, "│ボイリング  │Ｈw ＝ " + Pic(c.ELWL - 0.5, "##0.00")), !c.needed);
        EXPECT_EQ(Has(summary, "水位差がなく検討不要    │  －  │"), !c.needed);
        EXPECT_FALSE(Has(summary, "999"));
    }
}

TEST_F(ChapterFileTest, HeavingSectionByCohesionIncrease) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[2]));
    struct Case {
        double ca;
        bool increasing;
        bool passes;
    } cases[] = {{0.0009, false, true}, {0.001, true, false}};
    Results r = SnapshotResults();
    clsNekiriAnteiAc& h = *r.heaving;
    for (const Case& c : cases) {
        h.Ca = c.ca;
        h.Cb = 20;
        h.Fa = c.passes ? 0.1 : 50;
        ASSERT_TRUE(h.Calc());
        const std::string t = Run(basResOutNekiriAnteiAc::Write, r);
        EXPECT_EQ(Has(t, "（ａ ＞ 0）"), c.increasing) << c.ca;
        EXPECT_TRUE(Has(t, c.passes ? "≧  Ｆa" : "＜  Ｆa")) << c.ca;
        EXPECT_TRUE(Has(t, c.passes ? "‥‥  OK" : "‥‥  OUT")) << c.ca;
    }
}

// Sand over clay with the channel water raised and other wall friction: each chapter prints the
// layers, the water and the friction, consistent with the results it is given.
TEST_F(ChapterFileTest, LayeredSitePrintsItsLayersWaterAndFriction) {
    ASSERT_TRUE(test::Prepare(test::LayeredDesign()));
    const Results r = test::LayeredResults();
    const double elv = *r.AdoptedVirtualGround(), clayTop = gInpJiban.Layers[2].ELU;
    ASSERT_GT(elv, clayTop) << "the averaging below starts in the sand";
    const int k = gInpYaita.Yaita + 1, s = gInpYaita.Sect;
    const double D = gInpYaita.L - (gInpJyoken.ELYU - gInpJyoken.ELDL);
    auto layer = [](int n, const char* soil) { return "第" + Pic(n, "##0") + "層 " + soil; };
    // What a column of the chapter's text is, for each pair.
    struct Case {
        const char* chapter;
        test::Writer writer;
        std::vector<std::string> present, absent;
    } cases[] = {
        {"conditions",
         basResOutJyoken::Write,
         {"ＥＬ５ ＝ " + Pic(0.5, "+##0.000") + " m",
          "│   1│ " + Pic(3.0, "+##0.000") + " │ 砂質土 │ 18.0 │  9.0 │ 30.0 │",
          "│   4│ " + Pic(-2.0, "+##0.000") +
              " │ 粘性土 │ 17.0 │  7.0 │  －  │   2.0 ／  20.0   │   12000  │",
          "（主働側）        δ   ＝ 20.0 °", "（受働側）        δ   ＝ －15.0 °"},
         {"土質：砂質土"}},
        {"external forces",
         basResOutGairyoku::Write,
         {"この表の砂質土の層：第1層，第3層", "この表の粘性土の層：第2層",
          "この表の砂質土の層：第3層", "δ ＝  20.0° とする", "主働側  20.0°，受働側 -15.0°",
          "ΔＨ ＝ ＥＬ４－ＥＬ５ ＝ (" + Pic(1.5, "+##0.000") + ")－(" + Pic(0.5, "+##0.000") + ")",
          "前面水位の水位差", "主働土圧の計算（砂質土）", "受働土圧強度（粘性土）"},
         {"δ ＝ 15° とする"}},
        {"sheet pile",
         basResOutYaita::Write,
         {layer(3, "砂質土"), layer(4, "粘性土"),
          "／" + Pic(1.0 / gSectChang(k, s, 3), "##0.000") + " ＝ ",
          "／" + Pic(1.0 / gSectEmbed(k, s, 3), "##0.000") + " ＝ "},
         {}},
        {"boiling",
         basResOutNekiriAnteiAs::Write,
         {"第" + Pic(3, "##0") + "層（砂質土）によりボイリング", layer(3, "砂質土"),
          layer(4, "粘性土"), "／" + Pic(D, "##0.000") + " ＝ ",
          "前面水位から地下水位面までの高さ"},
         {}},
        {"summary",
         basResOutSummary::Write,
         {"地盤      " + Pic(4, "##0") + " 層の多層地盤", "ボイリング",
          "前面水位   ＥＬ５ ＝ " + Pic(0.5, "+##0.000") + " m"},
         {"地盤      砂質土"}},
        {"standards",
         basResOutStandards::Write,
         {"多層地盤", "前面水位が設計地盤面より高いときは",
          "主働側 δ ＝  20.0°，受働側 δ ＝ -15.0°"},
         {}},
    };
    for (const Case& c : cases) {
        const std::string t = Run(c.writer, r);
        for (const std::string& p : c.present) EXPECT_TRUE(Has(t, p)) << c.chapter << ": " << p;
        for (const std::string& p : c.absent) EXPECT_FALSE(Has(t, p)) << c.chapter << ": " << p;
    }
    // Chapter 2 prints each piece with its own soil: two tables a side (sand and clay behind the
    // wall, and in front of it the sand down to EL -2.0 and the clay below), every piece's top to
    // 0.001 m in its table's column.
    const std::string c2 = Run(basResOutGairyoku::Write, r);
    EXPECT_EQ(Count(c2, "主働土圧の計算"), 2);
    EXPECT_EQ(Count(c2, "受働土圧の計算"), 2);
    for (const clsSpJiban& p : r.spa->Jiban()) {
        EXPECT_TRUE(Has(c2, "│" + Pic(p.EU, p.Kind == 0 ? " +##0.000 " : "+##0.000") + "│"))
            << p.EU;
    }
    // Kh of the moment's β: the thickness-weighted mean of sand and clay within 1/β below the
    // virtual ground, as printed on the β line.
    const std::string c4 = Run(basResOutYaita::Write, r);
    const double depth = 1.0 / gSectChang(k, s, 3), sand = elv - clayTop;
    const double mean = (4000 * sand + 12000 * (depth - sand)) / depth;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(c4, m, std::regex("Ｋh ＝ +([0-9]+) kN/m\\^3 ，  Ｂ")));
    EXPECT_NEAR(std::stod(m[1]), mean, 1.0);
    // A one-layer design with the water at the design ground level prints none of it.
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));
    const std::string plain = Run(basResOutStandards::Write) + Run(basResOutJyoken::Write);
    for (const char* p : {"多層地盤", "前面水位が", "壁面摩擦角（", "ＥＬ５", "土層構成"}) {
        EXPECT_FALSE(Has(plain, p)) << p;
    }
    EXPECT_FALSE(Has(Run(basResOutSummary::Write), "ＥＬ５"));
    EXPECT_FALSE(Has(Run(basResOutGairyoku::Write), "の計算（"));
}

// Clay under the design ground level decides heaving; the overburden is every layer above it,
// wet above the groundwater and submerged with the water below it, and the surcharge.
TEST_F(ChapterFileTest, LayeredHeavingWeighsEveryLayerAbove) {
    test::ReportDesign clay = test::LayeredDesign();
    clay.setup = [] {
        test::LayeredDesign().setup();
        auto& g = gInpJiban;
        g.Kind = 1, g.Gt = 17, g.Gws = 7, g.Ca = 0, g.Cb = 30, g.DeltaA = 15;
        g.Layers = {CInpJibanLayer{2.0, 0, 19, 10, 30, 0, 0, 4000},
                    CInpJibanLayer{0.0, 1, 16, 6, 0, 1, 25, 3000}};
    };
    ASSERT_TRUE(test::Prepare(clay));
    const Results r = SnapshotResults();
    ASSERT_TRUE(r.heaving.has_value());
    const std::string t = Run(basResOutNekiriAnteiAc::Write, r);
    // 17 × 1.0 above the sand, 19 × 0.5 down to the groundwater, (10 + γw) × 1.5 below it.
    const double gw = gInpJiban.Gw, q = r.heaving->Q;
    const double sum = 17 * 1.0 + 19 * 0.5 + (10 + gw) * 1.5;
    for (const std::string& p :
         {"第" + Pic(3, "##0") + "層（粘性土）の粘着力",
          "＝ " + Pic(17, "#0.00") + "×" + Pic(1.0, "##0.000") + " ＝ " + Pic(17, "###0.00"),
          "＝ " + Pic(10 + gw, "#0.00") + "×" + Pic(1.5, "##0.000"),
          "Ｗ ＝ Σγ・ｈ ＋ ｑ ＝ " + Pic(sum, "####0.00") + " ＋ " + Pic(q, "###0.00") + " ＝ " +
              Pic(sum + q, "####0.00")}) {
        EXPECT_TRUE(Has(t, p)) << p;
    }
}

TEST_F(ChapterFileTest, MissingFormatFileFailsEveryChapter) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));
    basResOutPrn::SetReportDataFolder(tmp.path().string());
    const print_job::Generation g =
        print_job::GenerateReport(SnapshotResults(), "/nonexistent/Kuvelt.INI");
    ASSERT_TRUE(g.failure.has_value());
    EXPECT_EQ(g.failure->text,
              "\n･『設計条件』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n･『外力の計算』の印刷ﾌｧｲﾙ生成ｴﾗｰ"
              "\n･『仮想海底面の算定』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n･『矢板の設計』の印刷ﾌｧｲﾙ生成ｴﾗｰ"
              "\n･『根切り底面の安定検討』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n･『表紙』の印刷ﾌｧｲﾙ生成ｴﾗｰ"
              "\n･『設計調書』の印刷ﾌｧｲﾙ生成ｴﾗｰ\n･『適用基準・計算方法』の印刷ﾌｧｲﾙ生成ｴﾗｰ");
}

}  // namespace
}  // namespace kuvelt
