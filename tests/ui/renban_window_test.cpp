// The numbering settings window: the method and margin samples, the transfer to and from
// section "Chapter" (an empty settings file, refused stored values), the range check of the
// margins and the tab that rebuilds the margin sample.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "io/settings.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "report/numbering.h"
#include "scripted_services.h"
#include "ui/fields.h"
#include "ui/frmInpRenban.h"
#include "ui/frmMenuMain.h"
#include "ui/window_factory.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

std::string Lines(std::initializer_list<const char*> lines) {
    std::string s;
    for (const char* l : lines) s += std::string(l) + "\r\n";
    return s;
}

TEST(NumberingSamples, MethodTwoWithMargins0248) {
    EXPECT_EQ(MarginSample(2, {0, 2, 4, 8}),
              Lines({"(章)○○○", "  (章)-(節)○○○", "    (章)-(節)-(項)○○○", "        (No)○○○", "",
                     "(章)○○○", "  (章)-(節)○○○"}));
}

struct SampleCase {
    const char* name;
    int method;
    std::array<int, 4> margins;
    std::string expected;
};

class NumberingSample : public ::testing::TestWithParam<SampleCase> {};

TEST_P(NumberingSample, Lines) {
    EXPECT_EQ(MarginSample(GetParam().method, GetParam().margins), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberingSample,
    ::testing::Values(SampleCase{"NoneAllZero",
                                 0,
                                 {0, 0, 0, 0},
                                 Lines({"○○○", "○○○", "○○○", "○○○", "", "○○○", "○○○"})},
                      SampleCase{"AloneMixed",
                                 1,
                                 {1, 0, 3, 10},
                                 Lines({" (章)○○○", "(節)○○○", "   (項)○○○", "          (No)○○○",
                                        "", " (章)○○○", "(節)○○○"})},
                      SampleCase{"DotNegativeCountsZero",
                                 3,
                                 {-2, 1, 0, 0},
                                 Lines({"(章)○○○", " (章).(節)○○○", "(章).(節).(項)○○○", "(No)○○○",
                                        "", "(章)○○○", " (章).(節)○○○"})},
                      SampleCase{"UnknownMethodIsNone",
                                 7,
                                 {0, 2, 0, 0},
                                 Lines({"○○○", "  ○○○", "○○○", "○○○", "", "○○○", "  ○○○"})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberingSamples, MethodSamplesUseTheFixedIndents) {
    EXPECT_EQ(MethodSample(0),
              Lines({"○○○", "  ○○○", "    ○○○", "        ○○○", "", "○○○", "  ○○○"}));
    EXPECT_EQ(MethodSample(1), Lines({"(章)○○○", "  (節)○○○", "    (項)○○○", "        (No)○○○", "",
                                      "(章)○○○", "  (節)○○○"}));
}

class RenbanWindowTest : public ::testing::Test {
  protected:
    void Open() {
        w = CreateMenuWindow(frmMenuMain::kInpRenban, nullptr);
        r = static_cast<frmInpRenban*>(w.get());
        w->Prepare();
        test::ShowActive(w.get());
    }
    std::string Get(const char* key) {
        return CPrivateProfile::GetValueString(gIniFile, "Chapter", key);
    }
    static QString Shown(const std::string& sample) {
        QString s = Q(sample);
        s.remove(QLatin1Char('\r'));
        s.chop(1);
        return s;
    }
    UiTestEnv env;
    std::unique_ptr<InputWindow> w;
    frmInpRenban* r = nullptr;
};

// Nothing stored yet: the window shows the numbering the report uses then, and OK stores it.
TEST_F(RenbanWindowTest, WithoutSettingsTheDefaultNumberingIsSelected) {
    Open();
    EXPECT_EQ(r->method(), 2);
    EXPECT_EQ(r->txtMethod->toPlainText(), Shown(MethodSample(2)));
    const char* const kinds[] = {"1,2,3,..99", "1,2,3,..99", "(1),(2),(3) ...(99)",
                                 "1),2),3),.(99)"};
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(r->cboStyle[k]->currentText(), QString::fromUtf8(kinds[k]));
    for (NumField* f : r->numMargin) EXPECT_EQ(f->text(), QStringLiteral("0"));
    EXPECT_EQ(r->numInit->text(), QStringLiteral("0"));
    EXPECT_EQ(r->TabStrip1->currentIndex(), 0);
    w->PressOk();
    ASSERT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(Get("Method"), "2");
    EXPECT_EQ(Get("Init"), "0");
    const char* const styles[] = {"1", "1", "2", "3"};
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ(Get(std::string(ini::kStyleKeys[k]).c_str()), styles[k]) << k;
    for (const char* k : {"Margin1", "Margin2", "Margin3", "Margin4"}) EXPECT_EQ(Get(k), "0") << k;
}

// A fresh install, "(章).(節)…" chosen and OK: the report's headings carry numbers.
TEST_F(RenbanWindowTest, ChoosingAMethodOnAFreshInstallNumbersTheHeadings) {
    Open();
    r->optMethod->button(3)->click();
    w->PressOk();
    ASSERT_EQ(w->result(), QDialog::Accepted);
    basResOutPrn::LoadNumbering(gIniFile);
    EXPECT_EQ(basResOutPrn::GetHeadingNumber(1), "1. ");
    EXPECT_EQ(basResOutPrn::GetHeadingNumber(2), "1.1 ");
    EXPECT_EQ(basResOutPrn::GetHeadingNumber(3), "(1) ");
}

// OK is refused while a numbering method would print a level that has no kind; the message
// names the level and the kind list of that level gets the focus.
TEST_F(RenbanWindowTest, OkRefusedWhileANumberedLevelHasNoKind) {
    const char* const levels[] = {"（章）", "（節）", "（項）", "（№）"};
    for (const int method : {1, 2, 3, 0}) {  // "なし" last: its OK stores the settings
        for (int level = 0; level < 4; ++level) {
            Open();
            r->setMethod(method);
            r->cboStyle[std::size_t(level)]->setCurrentIndex(-1);
            env.services.ClearRecord();
            if (method > 0) env.services.AnswerMessage(MsgAnswer::Ok);
            w->PressOk();
            test::Pump();
            if (method == 0) {
                EXPECT_EQ(w->result(), QDialog::Accepted) << "no numbering needs no kind";
                EXPECT_TRUE(env.services.messages().empty());
                continue;
            }
            EXPECT_TRUE(w->isVisible()) << method << " " << level;
            const Message expected{0,
                                   std::string("選択した表現方法では") + levels[level] +
                                       "にも番号が付きます。\n" + levels[level] +
                                       "に対する連番種類を選択して下さい。",
                                   "連番条件設定", MsgIcon::Information, MsgButtons::Ok};
            EXPECT_EQ(env.services.messages(), std::vector<Message>{expected});
            EXPECT_EQ(NumberingKindMissingMessage(level), expected);
            EXPECT_EQ(r->TabStrip1->currentIndex(), 1);
            EXPECT_EQ(QApplication::focusWidget(), r->cboStyle[std::size_t(level)]);
            EXPECT_EQ(Get("Method"), "") << "nothing stored";
            w->reject();
        }
    }
}

TEST_F(RenbanWindowTest, LoadsStoredValuesAndIgnoresThoseAControlRefuses) {
    const std::pair<const char*, const char*> stored[] = {
        {"Method", "2"}, {"Init", "5"},    {"Style1", "1"},  {"Style2", "9"},   {"Style3", "10"},
        {"Style4", "0"}, {"Margin1", "0"}, {"Margin2", "2"}, {"Margin3", "11"}, {"Margin4", "8"}};
    for (const auto& [k, v] : stored) CPrivateProfile::SetValueString(gIniFile, "Chapter", k, v);
    Open();
    EXPECT_EQ(r->method(), 2);
    EXPECT_EQ(r->numInit->value(), 5);
    EXPECT_EQ(r->cboStyle[0]->currentIndex(), 0);
    EXPECT_EQ(r->cboStyle[1]->currentText(), QStringLiteral("・,・,・,...・"));
    EXPECT_EQ(r->cboStyle[2]->currentIndex(), 0) << "style 10 does not exist";
    EXPECT_EQ(r->cboStyle[3]->currentIndex(), 0) << "style 0 prints no number";
    EXPECT_EQ(r->numMargin[2]->value(), 0) << "a margin of 11 is refused";
    EXPECT_EQ(r->txtMargin->toPlainText(), Shown(MarginSample(2, {0, 2, 0, 8})));
    w->PressOk();
    EXPECT_EQ(Get("Method"), "2");
    EXPECT_EQ(Get("Style2"), "9");
    EXPECT_EQ(Get("Style3"), "1");
    EXPECT_EQ(Get("Style4"), "1");
    EXPECT_EQ(Get("Margin3"), "0");
    EXPECT_EQ(Get("Margin4"), "8");
}

TEST_F(RenbanWindowTest, MarginOutOfRangeShowsTheMessageAndKeepsTheFocus) {
    Open();
    r->selectTab(2);
    NumField* m = r->numMargin[0];
    m->setFocus(Qt::TabFocusReason);
    m->selectAll();
    QTest::keyClicks(m, QStringLiteral("11"));
    env.services.AnswerMessage(MsgAnswer::Ok);
    r->numMargin[1]->setFocus(Qt::TabFocusReason);
    test::Pump();
    const Message range{0, "入力範囲：0 ～ 10", "（章）レベルに対して", MsgIcon::Information,
                        MsgButtons::Ok};
    EXPECT_EQ(env.services.messages(), std::vector<Message>{range});
    EXPECT_TRUE(m->hasFocus());
}

TEST_F(RenbanWindowTest, TypedMarginAndMethodChosenOnTheFirstTabRebuildTheSamples) {
    Open();
    r->optMethod->button(3)->click();
    EXPECT_EQ(r->txtMethod->toPlainText(), Shown(MethodSample(3)));
    r->selectTab(2);
    EXPECT_EQ(r->txtMargin->toPlainText(), Shown(MarginSample(3, {0, 0, 0, 0})));
    NumField* m = r->numMargin[1];
    m->setFocus(Qt::TabFocusReason);
    m->selectAll();
    QTest::keyClicks(m, QStringLiteral("4"));
    EXPECT_EQ(r->txtMargin->toPlainText(), Shown(MarginSample(3, {0, 4, 0, 0})));
}

TEST_F(RenbanWindowTest, CancelLeavesTheNumberingButStoresThePosition) {
    CPrivateProfile::SetValueString(gIniFile, "Chapter", "Method", "1");
    Open();
    r->optMethod->button(2)->click();
    r->numInit->setValue(7);
    w->reject();
    EXPECT_EQ(Get("Method"), "1");
    EXPECT_EQ(Get("Init"), "");
    EXPECT_NE(CPrivateProfile::GetValueString(gIniFile, "InpRenban", "Left"), "");
}

}  // namespace
}  // namespace kuvelt::ui
