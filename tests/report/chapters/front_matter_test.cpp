// The design summary and the standards page: the summary's verdicts are those the chapters print
// for the same pile (passing and failing designs, the stability line only when it is asked for),
// the overall verdict names what fails, the comparison table lists the catalogue of the chosen
// kind as the result lists hold it with the chosen row marked, a long catalogue goes on under its
// header, neither page advances the heading numbers, and the references print as edited.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <regex>
#include <sstream>

#include "calc/calc_main.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "chapters_test_util.h"
#include "io/design_file.h"
#include "model/design.h"
#include "platform/cp932.h"
#include "report/chapters/chapters.h"
#include "report/numbering.h"
#include "report/prn.h"
#include "support/test_support.h"
#include "usecase/design_run.h"

namespace kuvelt {
namespace {

using test::Count;
using test::Has;
using test::Pic;

class FrontMatterTest : public test::PrintJobFixture {
  protected:
    void SetUp() override {
        PrintJobFixture::SetUp();
        basResOutPrn::NumberMethod = 0;
    }
};

// The writer's text without the keep-together marks, which the pages never print.
std::string WithoutMarks(const std::string& text) {
    std::string out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (l.rfind("?KN;", 0) != 0) out += l + "\n";
    }
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

// The verdict ("OK"/"OUT") of the first line holding `marker`, in a chapter ("‥‥  OK") or in a
// row of the summary's check table ("│ OK   │"); "" when no such line.
std::string Verdict(const std::string& text, const std::string& marker) {
    for (const std::string& l : Lines(text)) {
        if (!Has(l, marker)) continue;
        if (Has(l, "‥‥  OUT") || Has(l, "│ OUT")) return "OUT";
        if (Has(l, "‥‥  OK") || Has(l, "│ OK")) return "OK";
    }
    return "";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The rows of the comparison table (or of the table of masses after it): the lines between a
// "├" and the next "└" after its heading, up to the next table's.
std::vector<std::string> ComparisonRows(const std::string& text,
                                        const std::string& heading = "断面比較表",
                                        const std::string& next = "合格断面の矢板質量") {
    std::vector<std::string> rows;
    bool seen = false, in = false;
    for (const std::string& l : Lines(text)) {
        if (seen && Has(l, next)) break;
        seen = seen || Has(l, heading);
        if (!seen) continue;
        if (Has(l, "├")) {
            in = true;
        } else if (Has(l, "└")) {
            in = false;
        } else if (in) {
            rows.push_back(l);
        }
    }
    return rows;
}

struct VerdictCase {
    const char* name;
    int design;       // index into ReportDesigns()
    int yaita, sect;  // the pile
    double dL;        // L = Lreq + dL (NaN: the design's own length)
    int nekiri;       // the stability check asked (-1: as the design has it)
    double fa;        // allowable factor of that check (0: the design's)
    bool proposed;    // the program chose the pile
    bool allPass;     // what the overall verdict must say
    double lmax;      // the concrete section's Lmax (0: the catalogue's)
};

TEST_F(FrontMatterTest, SummaryVerdictsAreThoseOfTheChapters) {
    const double own = std::nan("");
    const VerdictCase cases[] = {
        {"SteelPassesWithoutStability", 4, 2, 8, own, -1, 0, true, true, 0},
        {"SteelPassesWithBoiling", 4, 2, 8, own, 1, 0, false, true, 0},
        {"SteelTooWeakAndTooShort", 4, 2, 1, -1.0, 1, 0, false, false, 0},
        {"BoilingFailsAlone", 4, 2, 8, own, 1, 50, false, false, 0},
        {"LightSteelOnASlope", 1, 1, 11, own, -1, 0, false, false, 0},
        // The range is the required length's (4.37 m), not the pile's: L far beyond Lmax passes,
        // Lreq beyond a shortened Lmax fails.
        {"ConcreteLongerThanItsLengths", 0, 0, 3, 20.0, -1, 0, false, true, 0},
        {"ConcreteNeedsMoreThanItsLengths", 0, 0, 3, own, -1, 0, false, false, 4.0},
        {"ClayeySteelPassesHeaving", 3, 2, 12, own, -1, 0, true, true, 0},
        {"ClayeySteelFailsHeaving", 3, 2, 3, own, -1, 9, false, false, 0},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::ReportDesign d = test::ReportDesigns()[static_cast<std::size_t>(c.design)];
        d.yaita = c.yaita;
        d.sect = c.sect;
        ASSERT_TRUE(test::Prepare(d));
        const int k = c.yaita + 1;
        if (c.lmax > 0) {
            gInpSectC.Item(c.sect)->Lmax = c.lmax;
            ASSERT_TRUE(CalcSections());
        }
        if (!std::isnan(c.dL)) gInpYaita.L = gSectEmbed(k, c.sect, item::kEmbedLreq) + c.dL;
        if (c.nekiri >= 0) gInpJyoken.Nekiri = c.nekiri;
        if (c.fa > 0) gInpJyoken.Fsb = gInpJyoken.Fsh = c.fa;
        CalcNekiriAntei();
        gInpYaita.Proposed = c.proposed;

        const bool stability = gInpJyoken.Nekiri == 1;
        const bool concrete = c.yaita == 0;
        const std::string c4 = WithoutMarks(test::RunWriter(basResOutYaita::Write));
        const std::string c5 = !stability ? ""
                               : gInpJiban.Kind == 0
                                   ? WithoutMarks(test::RunWriter(basResOutNekiriAnteiAs::Write))
                                   : WithoutMarks(test::RunWriter(basResOutNekiriAnteiAc::Write));
        const std::string s = WithoutMarks(test::RunWriter(basResOutSummary::Write));

        // Each check of the summary in its order, with the verdict its chapter prints.
        struct Check {
            std::string name, verdict;
        };
        std::vector<Check> checks = {
            {concrete ? "曲げﾓｰﾒﾝﾄ" : "曲げ応力度", Verdict(c4, concrete ? "Ｍc ＝" : "σa ＝")},
            {"必要矢板長", Verdict(c4, "Ｌreq ＝")},
        };
        if (concrete) checks.push_back({"矢板長の範囲", Verdict(c4, "Lmin ＝")});
        checks.push_back({"頭部変位量", Verdict(c4, "δa ＝")});
        if (stability) {
            checks.push_back(
                {gInpJiban.Kind == 0 ? "ボイリング" : "ヒービング", Verdict(c5, "Ｆa ＝")});
        }
        std::string failed;
        for (const Check& k : checks) {
            ASSERT_NE(k.verdict, "") << k.name;
            EXPECT_EQ(Verdict(s, "│" + k.name), k.verdict) << k.name << "\n" << s;
            if (k.verdict == "OUT") failed += (failed.empty() ? "" : "，") + k.name;
        }
        EXPECT_EQ(Has(s, "│矢板長の範囲"), concrete);
        EXPECT_EQ(Has(s, "│ボイリング") || Has(s, "│ヒービング"), stability);
        EXPECT_EQ(Has(s, "（根切り底面の安定検討は行わない）"), !stability);

        // One overall verdict, naming what fails.
        EXPECT_EQ(failed.empty(), c.allPass) << failed;
        EXPECT_EQ(Has(s, "総合判定：全ての照査を満足する"), failed.empty()) << s;
        EXPECT_EQ(Has(s, "総合判定：満足しない照査あり ―― " + failed + " "), !failed.empty()) << s;
        EXPECT_EQ(Has(s, "選定：全ての照査を満足する断面のうち"), c.proposed);
        EXPECT_EQ(Has(s, "選定：利用者が選択したもの"), !c.proposed);
        // One page, its heading a bookmark.
        EXPECT_EQ(test::PageBreaks(s), 0);
        EXPECT_LE(Lines(s).size(), 62u);
        EXPECT_TRUE(StartsWith(s, "?R1設計調書\r\n"));
    }
}

TEST_F(FrontMatterTest, ComparisonTableIsTheResultListWithTheChosenRowMarked) {
    // One design per kind: concrete, light steel, steel.
    for (int design : {0, 1, 2}) {
        const test::ReportDesign& d = test::ReportDesigns()[static_cast<std::size_t>(design)];
        SCOPED_TRACE(d.name);
        ASSERT_TRUE(test::Prepare(d));
        const PileKind kind = *KindOfChoice(d.yaita);
        const std::string s = WithoutMarks(test::RunWriter(basResOutSummary::Write));
        EXPECT_TRUE(Has(s, "断面比較表（" + std::string(KindCaption(kind)) + "の登録断面）"));
        const std::vector<std::string> rows = ComparisonRows(s);
        ASSERT_EQ(static_cast<int>(rows.size()), CatalogueCount(kind));
        int marked = 0;
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            const std::string& r = rows[static_cast<std::size_t>(i)];
            const int sect = i + 1;
            SCOPED_TRACE(r);
            EXPECT_TRUE(Has(r, Pic(sect, "##0") + " │" + SectionName(kind, sect)));
            if (Has(r, "◎")) {
                ++marked;
                EXPECT_EQ(sect, d.sect);
            }
            EXPECT_EQ(Has(r, "│ OK") || Has(r, "│OK"), SectionPasses(kind, sect));
            using namespace item;
            if (kind == PileKind::Concrete) {
                EXPECT_TRUE(Has(r, Pic(gListC(sect, kCMoment), "####0.0")));
                EXPECT_TRUE(Has(r, Pic(gListC(sect, kCLreq), "##0.00")));
                EXPECT_TRUE(Has(r, Pic(gListC(sect, kCDelta), "##0.000")));
                const double flags = gListC(sect, kCMomentFlag) + gListC(sect, kCLengthFlag) +
                                     gListC(sect, kCDeltaFlag);
                EXPECT_EQ(Count(r, "＊"), static_cast<int>(flags));
            } else {
                const auto& list = kind == PileKind::LightSteel ? gListLS : gListS;
                EXPECT_TRUE(Has(r, Pic(list(sect, kSSigma), "####0.0") +
                                       (list(sect, kSSigmaFlag) != 0 ? "＊" : "  ") + "│"));
                EXPECT_TRUE(Has(r, Pic(list(sect, kSLreq), "##0.00") + "│"));
                EXPECT_TRUE(Has(r, Pic(list(sect, kSDelta), "#0.000") +
                                       (list(sect, kSDeltaFlag) != 0 ? "＊" : "  ") + "│"));
            }
        }
        EXPECT_EQ(marked, 1);
    }
}

// Where sections of the chosen kind have a mass, the comparison shows each one's mass and, for a
// passing one, its mass x L (concrete, whose table has no room, in a table of its passing
// sections with their L), names the proposal and the rule that chose it; without masses none of
// this, and the choice line names the catalogue order.
TEST_F(FrontMatterTest, MassesOfTheChosenKindAndTheRuleThatChose) {
    struct Case {
        const char* what;
        std::size_t design;
        PileKind kind;
        double mass;  // given to every section of the kind (0: none), the second one's halved
    };
    for (const Case& c : {Case{"steel with masses", 4, PileKind::Steel, 120},
                          Case{"steel without", 4, PileKind::Steel, 0},
                          Case{"concrete with masses", 0, PileKind::Concrete, 400}}) {
        SCOPED_TRACE(c.what);
        test::ReportDesign d = test::ReportDesigns()[c.design];
        const auto setup = d.setup;
        d.setup = [setup, c] {
            setup();
            // The proposal is of the kind in question.
            if (c.kind == PileKind::Steel) gInpSectC.Clear();
            gInpSectLS.Clear();
            for (CInpSectS& row : gInpSectS) row.Mass = c.mass;
            for (CInpSectC& row : gInpSectC) row.Mass = c.mass;
            if (c.mass > 0 && c.kind == PileKind::Steel) gInpSectS.Item(2)->Mass = c.mass / 2;
            if (c.mass > 0 && c.kind == PileKind::Concrete) gInpSectC.Item(2)->Mass = c.mass / 2;
        };
        ASSERT_TRUE(test::Prepare(d));
        const Results results = SnapshotResults();
        const usecase::Proposal p = usecase::ProposePassingPick(results);
        ASSERT_TRUE(p.pick);
        ASSERT_EQ(p.pick->kind, c.kind);
        StoreChoice(c.kind, p.pick->sect, 0, 0, p.pick->L);
        gInpYaita.Proposed = true;
        const std::string s = WithoutMarks(test::RunWriter(basResOutSummary::Write, results));
        const bool masses = c.mass > 0;
        EXPECT_EQ(Has(s, "矢板質量（質量×Ｌ）が最小のものとしてﾌﾟﾛｸﾞﾗﾑが提案"), masses);
        EXPECT_EQ(Has(s, "カタログ順で最初のものとしてﾌﾟﾛｸﾞﾗﾑが提案"), !masses);
        EXPECT_EQ(
            Has(s, "提案：№" + Pic(p.pick->sect, "##0") + " " + SectionName(c.kind, p.pick->sect)),
            masses);
        EXPECT_EQ(Has(s, "質量のある合格断面のうち 質量×Ｌ が最小の断面"), masses);
        EXPECT_EQ(Has(s, "質量×Ｌ：矢板壁 1 m 当たりの矢板質量"), masses);
        EXPECT_EQ(test::PageBreaks(s), 0);
        EXPECT_LE(Lines(s).size(), 62u);
        const std::vector<std::string> rows = c.kind == PileKind::Steel
                                                  ? ComparisonRows(s)
                                                  : ComparisonRows(s, "合格断面の矢板質量", "\f");
        std::size_t next = 0;
        for (int32_t sect = 1; sect <= CatalogueCount(c.kind); ++sect) {
            const bool passes = results.sections.Passes(c.kind, sect);
            if (c.kind == PileKind::Concrete && !passes) continue;
            ASSERT_LT(next, rows.size());
            const std::string& r = rows[next++];
            SCOPED_TRACE(r);
            const double mass = SectionMass(c.kind, sect);
            const double L = ProposalLength(c.kind, sect, RequiredLength(c.kind, sect));
            const std::string perMetre = Pic(mass * L, "0.0");
            if (c.kind == PileKind::Concrete) {
                EXPECT_TRUE(Has(r, Pic(L, "##0.00") + "│ " + Pic(mass, "###0.0") + " │"));
                EXPECT_TRUE(Has(r, "│ " + Pic(mass * L, "######0.0") + "│"));
                EXPECT_EQ(Has(r, "│提案│"), sect == p.pick->sect);
            } else if (masses) {
                // Right-aligned in their columns; mass x L only for a passing section.
                const std::string shown = passes ? perMetre : "－";
                EXPECT_TRUE(Has(r, Pic(mass, "0.0") + "│" +
                                       std::string(10 - cp932::ByteLength(shown), ' ') + shown +
                                       "│"));
            } else {
                EXPECT_FALSE(Has(r, "－"));
            }
        }
        EXPECT_EQ(next,
                  c.kind == PileKind::Steel ? std::size_t(CatalogueCount(c.kind)) : rows.size());
    }
}

// ---- Every printed check is true as printed -----------------------------------------------------

// The numbers of a printed line (units that hold digits taken out first).
std::vector<double> Numbers(std::string line) {
    for (const char* unit : {"N/mm^2", "kN/m^2", "kN・m/m", "cm^3/m", "m^4/m", "10^"}) {
        for (std::size_t at; (at = line.find(unit)) != std::string::npos;)
            line.replace(at, std::string(unit).size(), " ");
    }
    std::vector<double> v;
    static const std::regex number("[-+]?[0-9]+(\\.[0-9]+)?");
    for (auto it = std::sregex_iterator(line.begin(), line.end(), number);
         it != std::sregex_iterator(); ++it)
        v.push_back(std::stod(it->str()));
    return v;
}

// Checks every line of a chapter or summary that prints a check with its verdict: the value is
// the last number before the relation, the limit the first after it, and the relation and the
// verdict must hold for the numbers as printed ("0.101 ≦ 0.100 ‥‥ OK" fails); the summary's
// length range holds Lmin ≦ L ≦ Lmax exactly when it says OK. Returns the checks seen.
int CheckPrintedChecks(const std::string& text, const std::string& where) {
    int seen = 0;
    for (const std::string& l : Lines(text)) {
        const bool ok = Has(l, "‥‥  OK") || Has(l, "│ OK   │");
        const bool out = Has(l, "‥‥  OUT") || Has(l, "│ OUT  │");
        if (!ok && !out) continue;
        SCOPED_TRACE(where + ": " + l);
        if (Has(l, "矢板長の範囲")) {
            const std::vector<double> n = Numbers(l);
            if (n.size() != 3u) {
                ADD_FAILURE() << "three lengths expected";
                continue;
            }
            EXPECT_EQ(n[1] - 1e-9 <= n[0] && n[0] <= n[2] + 1e-9, ok);
            ++seen;
            continue;
        }
        std::size_t at = std::string::npos;
        std::string sign;
        for (const char* s : {"≦", "＞", "≧", "＜"}) {
            const std::size_t p = l.rfind(std::string(" ") + s + " ");
            if (p != std::string::npos && (at == std::string::npos || p > at)) at = p, sign = s;
        }
        if (at == std::string::npos) continue;  // a comparison-table row: no relation
        const std::vector<double> before = Numbers(l.substr(0, at));
        const std::vector<double> after = Numbers(l.substr(at));
        if (before.empty() || after.empty()) {
            ADD_FAILURE() << "a value and a limit expected";
            continue;
        }
        const double v = before.back(), limit = after.front();
        const bool holds = sign == "≦"    ? v <= limit + 1e-9
                           : sign == "≧"  ? v >= limit - 1e-9
                           : sign == "＞" ? v > limit + 1e-9
                                          : v < limit - 1e-9;
        EXPECT_TRUE(holds) << v << " " << sign << " " << limit;
        EXPECT_EQ(ok, sign == "≦" || sign == "≧");
        ++seen;
    }
    return seen;
}

// The examples with their own and the proposed piles, and the sand channel over wall heights of
// 2.00 to 6.00 m and allowable displacements of 0.05 to 0.20 m with the program's proposal (its
// stored pile where none passes): the wall of 3.00 m with δa = 0.100 m was proposed a pile
// printed "δ ＝ 0.101 m ≦ δa ＝ 0.100 m ‥‥ OK".
TEST_F(FrontMatterTest, EveryPrintedCheckIsTrueAsPrinted) {
    const std::string examples = (test::SourceDir() / "examples").string();
    int checks = 0, designs = 0;
    // False when the program proposes no pile.
    auto report = [&](const std::string& where, usecase::PickRequest::How how) {
        usecase::PickRequest pick;
        pick.how = how;
        const usecase::DesignRun r = usecase::RunDesign(pick);
        if (how == usecase::PickRequest::How::Auto && !r.note) return false;
        EXPECT_EQ(r.outcome, usecase::Outcome::Ok) << where;
        ++designs;
        basResOutPrn::ResetPrintJob();  // the print files of the design before go
        checks += CheckPrintedChecks(WithoutMarks(test::RunWriter(basResOutYaita::Write)), where);
        if (gInpJyoken.Nekiri == 1) {
            checks += CheckPrintedChecks(
                WithoutMarks(test::RunWriter(gInpJiban.Kind == 0 ? basResOutNekiriAnteiAs::Write
                                                                 : basResOutNekiriAnteiAc::Write)),
                where);
        }
        checks += CheckPrintedChecks(WithoutMarks(test::RunWriter(basResOutSummary::Write)), where);
        return true;
    };
    for (const char* name :
         {"sand-channel.kvt", "slope-sand.kvt", "clay-embankment.kvt", "clay-increasing.kvt"}) {
        for (const auto how :
             {usecase::PickRequest::How::Stored, usecase::PickRequest::How::Auto}) {
            int32_t code = 0;
            ASSERT_TRUE(ReadData(examples + "/" + name, code));
            report(name, how);
        }
    }
    for (int h = 200; h <= 600; h += 50) {
        for (int d = 5; d <= 20; ++d) {
            auto design = [&] {
                int32_t code = 0;
                EXPECT_TRUE(ReadData(examples + "/sand-channel.kvt", code));
                gInpJyoken.ELGL = gInpJyoken.ELYU = h / 100.0;
                gInpJyoken.ELWL = std::min(2.0, gInpJyoken.ELGL);
                gInpJyoken.Delta = d / 100.0;
            };
            const std::string where = "H " + std::to_string(h) + " cm, δa " + std::to_string(d);
            design();
            if (!report(where, usecase::PickRequest::How::Auto)) {
                design();
                report(where, usecase::PickRequest::How::Stored);
            }
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(designs, 140);
    EXPECT_GT(checks, 800);
}

// A verdict that names many failing checks wraps under its slot, between two names, and no line
// of the page is cut inside a double-byte character.
TEST_F(FrontMatterTest, LongVerdictWrapsBetweenNames) {
    test::ReportDesign d = test::ReportDesigns()[0];  // concrete
    ASSERT_TRUE(test::Prepare(d));
    // Every check fails: moment, required length, manufactured range, displacement, boiling
    // without a result.
    Results r = SnapshotResults();
    (*r.sections.stress)[0][std::size_t(d.sect - 1)].exceeds = true;
    (*r.sections.listC)[std::size_t(d.sect - 1)].lengthFails = true;  // Lreq outside Lmin..Lmax
    gInpYaita.L = 1.0;
    gInpJyoken.Delta = 0.001;
    gInpJyoken.Nekiri = 1;
    gInpJiban.Kind = 0;
    clsNekiriAnteiAs& b = r.boiling ? *r.boiling : r.boiling.emplace();
    b.Gw = 0.0;  // a fault of the check itself
    b.Hw = 1.0;
    ASSERT_FALSE(b.Calc());
    const std::string s = WithoutMarks(test::RunWriter(basResOutSummary::Write, r));
    const std::vector<std::string> lines = Lines(s);
    const auto at = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return Has(l, "総合判定：満足しない照査あり ―― ");
    });
    ASSERT_TRUE(at != lines.end() && at + 1 != lines.end()) << s;
    const std::string lead = at->substr(0, at->find("―― ") + std::string("―― ").size());
    std::string first = at->substr(lead.size()), second = *(at + 1);
    while (!first.empty() && first.back() == ' ') first.pop_back();
    EXPECT_EQ(first.substr(first.size() - std::string("，").size()), "，") << "broken after a name";
    // The second line starts under the first one's slot.
    const std::size_t indent = second.find_first_not_of(' ');
    EXPECT_EQ(indent, cp932::ByteLength(lead));
    std::string joined = first + second.substr(indent);
    while (!joined.empty() && joined.back() == ' ') joined.pop_back();
    EXPECT_EQ(joined, "曲げﾓｰﾒﾝﾄ，必要矢板長，矢板長の範囲，頭部変位量，ボイリング（結果なし）");
    // Every byte of the file is code page 932: nothing read back as a replacement character.
    EXPECT_EQ(s.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(test::PageBreaks(s), 0);
}

// The summary states the virtual ground the loads stand on (and the computed one where the
// clayey 0.5 m rule adopts another), the resultant above it and the chosen pile's β, Mmax and lm,
// as the result store holds them. Apart: ClayFarCrestConstantCohesion and clay-increasing
// (computed +0.500, adopted ±0.000).
TEST_F(FrontMatterTest, SummaryStatesTheVirtualGroundAndTheLoadsOnIt) {
    std::vector<std::function<bool()>> designs;
    for (const test::ReportDesign& d : test::ReportDesigns()) {
        designs.push_back([d] { return test::Prepare(d); });
    }
    designs.push_back([] {
        int32_t err = 0;
        const std::string path = (test::SourceDir() / "examples" / "clay-increasing.kvt").string();
        ResetResultStore();
        return ReadData(path, err) && CalcMain() && CalcNekiriAntei();
    });
    unsigned apart = 0;  // one bit per design
    for (std::size_t i = 0; i < designs.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(designs[i]());
        const std::string s = WithoutMarks(test::RunWriter(basResOutSummary::Write));
        const double ELV = AdoptedVirtualGround();
        if (const std::optional<double> x = ComputedVirtualGroundApart()) {
            apart |= 1u << i;
            EXPECT_TRUE(Has(s, "計算上 ＥＬx ＝ " + Pic(*x, "+##0.000") + " m，採用 ＥＬv ＝ " +
                                   Pic(ELV, "+##0.000") + " m（設計地盤面下 0.500 m）"))
                << s;
        } else {
            EXPECT_TRUE(Has(s, "仮想地盤面  ＥＬv ＝ " + Pic(ELV, "+##0.000") +
                                   " m（設計地盤面下 " + Pic(gInpJyoken.ELDL - ELV, "##0.000") +
                                   " m）"))
                << s;
        }
        EXPECT_TRUE(Has(s, "ΣＰ ＝ " + Pic(gPressure->P(), "#####0.00") +
                               " kN/m，作用高さ ｈ0 ＝ " + Pic(gPressure->Y(), "##0.000")));
        const int k = TableIndex(*KindOfChoice(gInpYaita.Yaita));
        const int sect = gInpYaita.Sect;
        EXPECT_TRUE(
            Has(s, "β ＝ " + Pic(gSectChang(k, sect, item::kChangBeta), "#0.0000") +
                       " 1/m，Ｍmax ＝ " + Pic(gSectChang(k, sect, item::kChangMmax), "######0.0") +
                       " kN・m/m，lm ＝ " + Pic(gSectChang(k, sect, item::kChangLm), "##0.000")))
            << s;
        EXPECT_EQ(test::PageBreaks(s), 0);
    }
    EXPECT_EQ(apart, (1u << 3) | (1u << 5));
}

TEST_F(FrontMatterTest, LongCatalogueGoesOnUnderItsHeader) {
    struct Case {
        int sections;
        int breaks;
    } cases[] = {{12, 0}, {30, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sections);
        test::ReportDesign d = test::ReportDesigns()[2];  // clayey, trapezoid: the longest page
        d.sect = c.sections;
        const auto grow = d.setup;
        d.setup = [grow, n = c.sections] {
            grow();
            for (int i = gInpSectS.Count(); i < n; ++i) {
                gInpSectS.Add("SP-X" + std::to_string(i + 1), 90000 + i, 4000, 80000 + i, 3600);
            }
        };
        ASSERT_TRUE(test::Prepare(d));
        ASSERT_EQ(gInpSectS.Count(), c.sections);
        const std::string s = WithoutMarks(test::RunWriter(basResOutSummary::Write));
        EXPECT_EQ(test::PageBreaks(s), c.breaks);
        EXPECT_EQ(Count(s, "│    断面名称    │"), c.breaks + 1);
        EXPECT_EQ(Count(s, "│◎"), 1);
        EXPECT_TRUE(Has(s, Pic(c.sections, "##0") + " │SP-"));
        // Every page within the page, the last row's table closed before the legend.
        std::size_t from = 0;
        for (int p = 0; p <= c.breaks; ++p) {
            const std::size_t to = s.find('\x0C', from);
            EXPECT_LE(Lines(s.substr(from, to == std::string::npos ? to : to - from)).size(), 62u);
            from = to + 1;
        }
        EXPECT_LT(s.rfind("└"), s.find("◎：使用矢板"));
    }
}

TEST_F(FrontMatterTest, FrontMatterCarriesBookmarksButNoHeadingNumbers) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[2]));
    using namespace basResOutPrn;
    NumberMethod = 3;
    LevelStyles = {0, 1, 1, 1, 1, 0};
    LevelCounters = {0, 5, 2, 1, 0, 0};
    CurrentLevel = 3;
    const std::string s = WithoutMarks(test::RunWriter(basResOutSummary::Write));
    const std::string m = WithoutMarks(test::RunWriter(basResOutStandards::Write));
    EXPECT_TRUE(StartsWith(s, "?R1設計調書\r\n"));
    EXPECT_TRUE(StartsWith(m, "?R1適用基準・計算方法\r\n"));
    EXPECT_TRUE(Has(s, "\r\n照査結果\r\n"));
    EXPECT_TRUE(Has(m, "\r\n最大曲げﾓｰﾒﾝﾄ\r\n"));
    // The chapters' numbering goes on where it was.
    EXPECT_EQ(NumberMethod, 3);
    EXPECT_EQ(CurrentLevel, 3);
    EXPECT_EQ(LevelCounters, (std::array<int32_t, 6>{0, 5, 2, 1, 0, 0}));
    // One page for the method and the installed references.
    EXPECT_EQ(test::PageBreaks(m), 0);
    EXPECT_LE(Lines(m).size(), 62u);
}

// The installed format file with its references section replaced by `lines` (none: removed).
void UseReferences(const std::string& folder, const std::vector<std::string>* lines) {
    const std::string installed =
        cp932::ToUtf8(test::ReadBytes((test::ProgramDir() / "Kuvelt.FMT").string()));
    const std::string name = "適用基準_参考文献\r\n";
    const std::size_t at = installed.find(name);
    ASSERT_NE(at, std::string::npos);
    const std::size_t end = installed.find("End\r\n", at) + 5;
    std::string section;
    if (lines) {
        section = name;
        for (const std::string& l : *lines) section += l + "\r\n";
        section += "End\r\n";
    }
    const std::string edited = installed.substr(0, at) + section + installed.substr(end);
    test::WriteBytes(folder + "/Kuvelt.FMT", cp932::FromUtf8(edited));
    basResOutPrn::SetReportDataFolder(folder);
}

// The references: the format file's as the user edited them, or the design's own in their place
// under the section's first heading; the placeholder line never, and nothing at all (no heading
// left alone) when it is all the section names. The methods followed print in every case.
TEST_F(FrontMatterTest, ReferencesPrintAsTheUserEditedThemOrAsTheDesignGivesThem) {
    ASSERT_TRUE(test::Prepare(test::ReportDesigns()[0]));
    test::TempDir data;
    const std::string placeholder = "  3 0【記入欄】発注者が求める基準を書いて下さい。";
    const std::vector<std::string> edited = {"  1 3準拠した基準", "  2 0・社内設計要領（2024年版）",
                                             "' 注記の行", placeholder, "  5 0・同 付属資料"};
    const std::vector<std::string> headingOnly = {"  1 3準拠した基準", placeholder};
    struct Case {
        const char* what;
        const std::vector<std::string>* section;  // nullptr: as installed
        std::vector<std::string> own;
        std::string printed;  // from the methods' last line to the end
    };
    const std::string methods = "  ・粘着力が深さ方向に増加する粘性土のヒービングの安全率\r\n";
    const std::vector<Case> cases = {
        {"installed", nullptr, {}, methods},
        {"installed, the design's own",
         nullptr,
         {"道路土工－擁壁工指針（平成24年度版）", "\f?FG;000;000;/etc/passwd"},
         methods + "\r\n参考文献\r\n  道路土工－擁壁工指針（平成24年度版）\r\n   "
                   "？FG;000;000;/etc/passwd\r\n"},
        {"edited",
         &edited,
         {},
         methods + "\r\n準拠した基準\r\n  ・社内設計要領（2024年版）\r\n\r\n  ・同 付属資料\r\n"},
        {"edited, the design's own", &edited, {"A"}, methods + "\r\n準拠した基準\r\n  A\r\n"},
        {"a heading and the placeholder", &headingOnly, {}, methods},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        basResOutPrn::SetReportDataFolder("");
        if (c.section) UseReferences(data.path().string(), c.section);
        gInpHyoshi.SankoBunken = c.own;
        const std::string m = WithoutMarks(test::RunWriter(basResOutStandards::Write));
        const std::size_t at = m.find(methods);
        ASSERT_NE(at, std::string::npos) << m;
        EXPECT_EQ(m.substr(at), c.printed);
        EXPECT_EQ(Count(m, "参考とした計算方法"), 1);
        EXPECT_FALSE(Has(m, "記入欄"));
        EXPECT_TRUE(Has(m, "\r\n仮想地盤面\r\n"));  // the method stays as installed
    }
    gInpHyoshi.SankoBunken.clear();
    basResOutPrn::SetReportDataFolder("");

    // Without the section the page fails, with what it wrote kept.
    UseReferences(data.path().string(), nullptr);
    const std::string failed = test::RunWriter(basResOutStandards::Write, false);
    EXPECT_TRUE(Has(failed, "?R1適用基準・計算方法"));
}

}  // namespace
}  // namespace kuvelt
