// The boiling and heaving result windows: the fields with their formats, the verdict text, the
// reference table with factors below the allowable one in red, and the stored positions.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTableView>

#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "io/settings.h"
#include "platform/numfmt.h"
#include "platform/profile.h"
#include "scripted_services.h"
#include "ui/fields.h"
#include "ui/frmMenuMain.h"
#include "ui/frmResOut.h"
#include "ui/result_grid_model.h"
#include "ui/window_factory.h"
#include "usecase/design_run.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

struct VerdictCase {
    const char* name;
    bool hantei;
    double Fa;
    const char* expected;
};

class Verdict : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(Verdict, Text) {
    EXPECT_EQ(VerdictText(GetParam().hantei, GetParam().Fa), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Verdict,
                         ::testing::Values(VerdictCase{"Ok", true, 1.2, "≧ 1.2 OK"},
                                           VerdictCase{"Out", false, 1.5, "＜ 1.5 OUT"},
                                           VerdictCase{"RoundsHalfUp", true, 1.25, "≧ 1.3 OK"},
                                           VerdictCase{"Large", false, 12.0, "＜ 12.0 OUT"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FactorBelowAllowable, RedOnlyWhenBelowByAtLeastTheTolerance) {
    EXPECT_FALSE(FactorBelowAllowable(1.2, 1.2));
    EXPECT_FALSE(FactorBelowAllowable(1.1995, 1.2));
    EXPECT_TRUE(FactorBelowAllowable(1.19, 1.2));
    EXPECT_FALSE(FactorBelowAllowable(1.5, 1.2));
}

// The results of a boiling check alone: the windows show the run they are given, never the
// result store (which these tests leave empty).
std::shared_ptr<const Results> Boiling(double Hw, double D, double Fa) {
    clsNekiriAnteiAs b;
    b.Gws = 9.0;
    b.Gw = 10.0;
    b.Hw = Hw;
    b.D = D;
    b.Fa = Fa;
    EXPECT_TRUE(b.Calc());
    Results r;
    r.boiling = b;
    return std::make_shared<const Results>(std::move(r));
}

std::unique_ptr<InputWindow> OpenBoiling(double Hw, double D, double Fa) {
    auto w = CreateMenuWindow(frmMenuMain::kResOutAs, nullptr, Boiling(Hw, D, Fa));
    w->Prepare();
    return w;
}

TEST(ResultWindows, BoilingFieldsVerdictAndRedReferenceRows) {
    UiTestEnv env;
    ResetResultStore();
    auto w = OpenBoiling(3.0, 2.0, 1.2);  // F = 2 * 9 * D / (3 * 10) = 0.6 D
    auto* as = static_cast<frmResOutAs*>(w.get());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ボイリングの検討"));
    EXPECT_EQ(as->numH1->text(), QStringLiteral("3.00"));
    EXPECT_EQ(as->numD->text(), QStringLiteral("2.00"));
    EXPECT_EQ(as->numFs->text(), QStringLiteral("1.20"));
    EXPECT_EQ(as->lblHantei->text(), QStringLiteral("≧ 1.2 OK"));
    ResultGridModel* t = as->table;
    ASSERT_EQ(t->rowCount(), 20);
    EXPECT_EQ(t->Text(0, 0), QStringLiteral("0.5"));
    for (int r = 0; r < t->rowCount(); ++r) {
        const double d = t->Value(r, 0);
        EXPECT_FALSE(t->IsRed(r, 0));
        // Factor 0.6 d: below 1.2 for d < 2; d = 2 gives exactly Fa and is not red.
        EXPECT_EQ(t->IsRed(r, 1), d < 2.0 - 1e-9) << "d = " << d;
    }
    EXPECT_EQ(t->Text(3, 1), QStringLiteral("1.200")) << "F to 0.001 as the report prints it";
    EXPECT_EQ(t->headerData(1, Qt::Horizontal).toString(), QStringLiteral("安全率Fs"));
    EXPECT_FALSE(t->RowMarked(10)) << "the reference table marks no rows";
    EXPECT_TRUE(env.services.messages().empty());
}

// A window shows the run its command made: a later run of another design does not reach it.
TEST(ResultWindows, ShowTheRunTheyWereOpenedFor) {
    UiTestEnv env;
    auto w = CreateMenuWindow(frmMenuMain::kResOutAs, nullptr, Boiling(3.0, 2.0, 1.2));
    test::LoadExample("sand-channel.kvt");
    const usecase::StabilityRun later = usecase::CheckStability();
    ASSERT_TRUE(later.hasResult && later.results->boiling);
    ASSERT_NE(later.results->boiling->Hw, 3.0);
    w->Prepare();
    EXPECT_EQ(static_cast<frmResOutAs*>(w.get())->numH1->text(), QStringLiteral("3.00"));
    EXPECT_EQ(static_cast<frmResOutAs*>(w.get())->numD->text(), QStringLiteral("2.00"));
}

TEST(ResultWindows, BoilingWithoutHeadIsNotNeeded) {
    UiTestEnv env;
    OpenBoiling(3.0, 2.0, 1.2);           // a window of a design with a head first
    auto w = OpenBoiling(0.0, 2.0, 1.2);  // F = 999 in the results, no factor in the window
    auto* as = static_cast<frmResOutAs*>(w.get());
    EXPECT_EQ(as->numH1->text(), QStringLiteral("0.00"));
    EXPECT_EQ(as->numFs->text(), QString());
    EXPECT_EQ(as->lblHantei->text(), QStringLiteral("検討不要"));
    EXPECT_FALSE(as->lblNoHead->isHidden());
    EXPECT_EQ(as->table->rowCount(), 0);
}

TEST(ResultWindows, BoilingWithinToleranceIsOkAlthoughShownRounded) {
    UiTestEnv env;
    auto w = OpenBoiling(3.0, 1.1995 / 0.6, 1.2);
    auto* as = static_cast<frmResOutAs*>(w.get());
    EXPECT_EQ(as->numFs->text(), QStringLiteral("1.20"));
    EXPECT_EQ(as->lblHantei->text(), QStringLiteral("≧ 1.2 OK"));
}

TEST(ResultWindows, HeavingFieldsAndFailingVerdict) {
    UiTestEnv env;
    clsNekiriAnteiAc h;
    h.Gt = 18.0;
    h.Gws = 8.0;
    h.Gw = 10.0;
    h.Q = 10.0;
    h.Ca = 0.0;
    h.Cb = 10.0;
    h.H = 4.0;
    h.Hw = 1.0;
    h.D = 3.25;
    h.Fa = 1.2;
    ASSERT_TRUE(h.Calc());
    ASSERT_FALSE(h.Hantei());
    Results r;
    r.heaving = h;
    const auto results = std::make_shared<const Results>(std::move(r));
    auto w = CreateMenuWindow(frmMenuMain::kResOutAc, nullptr, results);
    auto* ac = static_cast<frmResOutAc*>(w.get());
    w->Prepare();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("ヒービングの検討"));
    EXPECT_EQ(ac->numH->text(), QStringLiteral("4.00"));
    EXPECT_EQ(ac->numD->text(), QStringLiteral("3.25"));
    EXPECT_EQ(ac->numFs->text(), Q(numfmt::FormatNumber(h.F(), "##0.00")));
    EXPECT_EQ(ac->lblHantei->text(), QStringLiteral("＜ 1.2 OUT"));
    // What the factor came from: q and W = 3 x 18 + (8 + 10) x 1 + 10 = 82, and the pile.
    EXPECT_EQ(ac->numQ->text(), QStringLiteral("10.00"));
    EXPECT_EQ(ac->numW->text(), QStringLiteral("82.00"));
    EXPECT_EQ(ac->lblPile->text(), QString()) << "no pile chosen in this design";
    w->reject();
    gInpYaita = CInpYaita{true, 2, 7, 4.38, 9.62, 14.0};
    auto again = CreateMenuWindow(frmMenuMain::kResOutAc, nullptr, results);
    again->Prepare();
    EXPECT_EQ(static_cast<frmResOutAc*>(again.get())->lblPile->text(),
              QStringLiteral("使用矢板　鋼矢板 №7 SP-ⅢW　Ｌ ＝ 14.00 m"));
    again->reject();
    InitData();
    EXPECT_NE(CPrivateProfile::GetValueString(gIniFile, "ResOutAc", "Top"), "");
    EXPECT_EQ(CPrivateProfile::GetValueString(gIniFile, "ResOutAs", "Top"), "");
}

}  // namespace
}  // namespace kuvelt::ui
