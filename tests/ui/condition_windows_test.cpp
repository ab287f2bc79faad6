// The design-conditions, ground and material windows: every field moves to and from its own
// record field, the dependent enabling, the range messages and the bookkeeping of a confirmation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <functional>
#include <map>

#include "model/design.h"
#include "model/ranges.h"
#include "scripted_services.h"
#include "ui/MainHandlers.h"
#include "ui/app_state.h"
#include "ui/field_specs.h"
#include "ui/fields.h"
#include "ui/frmInpJiban.h"
#include "ui/frmInpJyoken.h"
#include "ui/frmInpZairyo.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

// Every numeric record field a condition window edits, by its range-table name.
const std::map<std::string, std::function<double&()>>& RecordFields() {
    static const std::map<std::string, std::function<double&()>> m = {
        {"CInpJyoken.ELGL", []() -> double& { return gInpJyoken.ELGL; }},
        {"CInpJyoken.ELYU", []() -> double& { return gInpJyoken.ELYU; }},
        {"CInpJyoken.ELDL", []() -> double& { return gInpJyoken.ELDL; }},
        {"CInpJyoken.ELWL", []() -> double& { return gInpJyoken.ELWL; }},
        {"CInpJyoken.Z", []() -> double& { return gInpJyoken.Z; }},
        {"CInpJyoken.K0X", []() -> double& { return gInpJyoken.K0X; }},
        {"CInpJyoken.K0Q", []() -> double& { return gInpJyoken.K0Q; }},
        {"CInpJyoken.K1m", []() -> double& { return gInpJyoken.K1m; }},
        {"CInpJyoken.K1Q", []() -> double& { return gInpJyoken.K1Q; }},
        {"CInpJyoken.K2X1", []() -> double& { return gInpJyoken.K2X1; }},
        {"CInpJyoken.K2X2", []() -> double& { return gInpJyoken.K2X2; }},
        {"CInpJyoken.K2Ho", []() -> double& { return gInpJyoken.K2Ho; }},
        {"CInpJyoken.K2Gs", []() -> double& { return gInpJyoken.K2Gs; }},
        {"CInpJyoken.K2Q", []() -> double& { return gInpJyoken.K2Q; }},
        {"CInpJyoken.Delta", []() -> double& { return gInpJyoken.Delta; }},
        {"CInpJyoken.Fsb", []() -> double& { return gInpJyoken.Fsb; }},
        {"CInpJyoken.Fsh", []() -> double& { return gInpJyoken.Fsh; }},
        {"CInpJiban.Gt", []() -> double& { return gInpJiban.Gt; }},
        {"CInpJiban.Gws", []() -> double& { return gInpJiban.Gws; }},
        {"CInpJiban.Gw", []() -> double& { return gInpJiban.Gw; }},
        {"CInpJiban.Fai", []() -> double& { return gInpJiban.Fai; }},
        {"CInpJiban.Ca", []() -> double& { return gInpJiban.Ca; }},
        {"CInpJiban.Cb", []() -> double& { return gInpJiban.Cb; }},
        {"CInpJiban.KH", []() -> double& { return gInpJiban.KH; }},
        {"CInpZairyo.EcHira", []() -> double& { return gInpZairyo.EcHira; }},
        {"CInpZairyo.EcMizo", []() -> double& { return gInpZairyo.EcMizo; }},
        {"CInpZairyo.EcNami", []() -> double& { return gInpZairyo.EcNami; }},
        {"CInpZairyo.Esky", []() -> double& { return gInpZairyo.Esky; }},
        {"CInpZairyo.Esy", []() -> double& { return gInpZairyo.Esy; }},
        {"CInpZairyo.KYSat", []() -> double& { return gInpZairyo.KYSat; }},
        {"CInpZairyo.KYSac", []() -> double& { return gInpZairyo.KYSac; }},
        {"CInpZairyo.YSat", []() -> double& { return gInpZairyo.YSat; }},
        {"CInpZairyo.YSac", []() -> double& { return gInpZairyo.YSac; }},
        {"CInpZairyo.AlphaIz", []() -> double& { return gInpZairyo.AlphaIz; }},
        {"CInpZairyo.AlphaIs", []() -> double& { return gInpZairyo.AlphaIs; }},
        {"CInpZairyo.AlphaId", []() -> double& { return gInpZairyo.AlphaId; }},
        {"CInpZairyo.AlphaZs", []() -> double& { return gInpZairyo.AlphaZs; }},
    };
    return m;
}

// A value inside the field's range that no other field of the window holds.
double Distinct(const NumSpec& s, int i) {
    const double span = s.max - s.min;
    const double v = s.min + span * (0.05 + 0.9 * ((i * 37) % 97) / 97.0);
    return std::round(v * 100.0) / 100.0;
}

// Loads distinct values into the window and saves other distinct values back; each field must
// show exactly its own record field and store into exactly it.
void CheckTransfer(InputWindow& w, const std::string& record, int expectedFields) {
    auto fields = w.findChildren<NumField*>();
    int count = 0;
    std::map<std::string, double> loaded;
    int i = 0;
    for (const auto& [name, ref] : RecordFields()) {
        if (name.rfind(record + ".", 0) != 0) continue;
        ref() = Distinct(*FindFieldSpec(name), ++i);
        loaded[name] = ref();
    }
    w.Prepare();
    for (NumField* f : fields) {
        // Enable every field so the transfer of the disabled shape fields is seen as well.
        f->setEnabled(true);
        const std::string& name = f->spec().name;
        ASSERT_TRUE(loaded.count(name)) << "field without a record field: " << name;
        EXPECT_DOUBLE_EQ(f->value(), loaded[name]) << name;
        ++count;
    }
    EXPECT_EQ(count, expectedFields);
    std::map<std::string, double> typed;
    i = 50;
    for (NumField* f : fields) {
        f->setValue(Distinct(f->spec(), ++i));
        typed[f->spec().name] = f->value();
    }
    w.PressOk();
    ASSERT_EQ(w.result(), QDialog::Accepted);
    for (const auto& [name, value] : typed) {
        EXPECT_DOUBLE_EQ(RecordFields().at(name)(), value) << name;
    }
}

TEST(ConditionWindowTransfer, DesignConditions) {
    UiTestEnv env;
    frmInpJyoken w;
    Connect(&w);
    CheckTransfer(w, "CInpJyoken", 17);
    EXPECT_TRUE(gInpJyoken.InpFlg);
}

TEST(ConditionWindowTransfer, Ground) {
    UiTestEnv env;
    frmInpJiban w;
    Connect(&w);
    CheckTransfer(w, "CInpJiban", 7);
    EXPECT_TRUE(gInpJiban.InpFlg);
}

TEST(ConditionWindowTransfer, Materials) {
    UiTestEnv env;
    frmInpZairyo w;
    Connect(&w);
    CheckTransfer(w, "CInpZairyo", 13);  // the two grades are texts
}

TEST(ConditionWindowTransfer, TextsShapeKindAndCheckBox) {
    UiTestEnv env;
    gInpJyoken.Title = "第2水路，左岸";
    gInpJyoken.Keijyo = 1;
    gInpJyoken.Nekiri = 0;
    gInpZairyo.KYZai = "SM490";
    gInpZairyo.YZai = "SYW390";
    gInpJiban.Kind = 1;
    frmInpJyoken j;
    frmInpZairyo z;
    frmInpJiban g;
    Connect(&j);
    Connect(&z);
    Connect(&g);
    j.Prepare();
    z.Prepare();
    g.Prepare();
    EXPECT_EQ(j.txtTitle->text8(), "第2水路，左岸");
    EXPECT_EQ(j.shape(), 1);
    EXPECT_FALSE(j.chkNekiri->isChecked());
    EXPECT_EQ(z.txtKYZai->text8(), "SM490");
    EXPECT_EQ(z.txtYZai->text8(), "SYW390");
    EXPECT_EQ(g.kind(), 1);
    j.txtTitle->setText(std::string("護岸"));
    j.optKeijyo->button(2)->click();
    j.chkNekiri->setChecked(true);
    z.txtKYZai->setText(std::string("SS490"));
    g.optKind->button(0)->click();
    j.PressOk();
    z.PressOk();
    g.PressOk();
    EXPECT_EQ(gInpJyoken.Title, "護岸");
    EXPECT_EQ(gInpJyoken.Keijyo, 2);
    EXPECT_EQ(gInpJyoken.Nekiri, 1);
    EXPECT_EQ(gInpZairyo.KYZai, "SS490");
    EXPECT_EQ(gInpZairyo.YZai, "SYW390");
    EXPECT_EQ(gInpJiban.Kind, 0);
}

TEST(ConditionWindowBookkeeping, UntouchedMaterialsStillCountAsAChange) {
    UiTestEnv env;
    gInpYaita.InpFlg = true;
    frmInpZairyo w;
    Connect(&w);
    w.Prepare();
    w.PressOk();
    EXPECT_TRUE(gModified);
    EXPECT_FALSE(gInpYaita.InpFlg);
    EXPECT_EQ(gInpZairyo, CInpZairyo{});
    EXPECT_EQ(w.UsrTag, QStringLiteral("OK"));
}

struct ShapeCase {
    const char* name;
    int keijyo;
    std::vector<std::string> editable;
    int picture;
    friend void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }
};

class ShapeEnablingTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeEnablingTest, OnlyTheChosenShapeIsEditable) {
    UiTestEnv env;
    gInpJyoken.Keijyo = GetParam().keijyo;
    frmInpJyoken w;
    Connect(&w);
    w.Prepare();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(w.fraShape[i]->isEnabled(), i == std::min(GetParam().keijyo, 2)) << i;
    }
    for (NumField* f : w.findChildren<NumField*>()) {
        const std::string& n = f->spec().name;
        const bool shapeField = n.rfind("CInpJyoken.K", 0) == 0;
        const bool editable = std::find(GetParam().editable.begin(), GetParam().editable.end(),
                                        n) != GetParam().editable.end();
        EXPECT_EQ(f->isEnabledTo(&w), !shapeField || editable) << n;
    }
    EXPECT_EQ(w.picShape->currentIndex(), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ShapeEnablingTest,
    ::testing::Values(ShapeCase{"Horizontal", 0, {"CInpJyoken.K0X", "CInpJyoken.K0Q"}, 0},
                      ShapeCase{"ConstantSlope", 1, {"CInpJyoken.K1m", "CInpJyoken.K1Q"}, 0},
                      ShapeCase{"Trapezoid",
                                2,
                                {"CInpJyoken.K2X1", "CInpJyoken.K2X2", "CInpJyoken.K2Ho",
                                 "CInpJyoken.K2Gs", "CInpJyoken.K2Q"},
                                1},
                      ShapeCase{"StoredOutOfListIsTrapezoid",
                                5,
                                {"CInpJyoken.K2X1", "CInpJyoken.K2X2", "CInpJyoken.K2Ho",
                                 "CInpJyoken.K2Gs", "CInpJyoken.K2Q"},
                                1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesignConditionsWindow, FreshDesignOpensHorizontalWithTheCheckTicked) {
    UiTestEnv env;
    frmInpJyoken w;
    Connect(&w);
    w.Prepare();
    EXPECT_TRUE(w.optKeijyo->button(0)->isChecked());
    EXPECT_TRUE(w.chkNekiri->isChecked());
    EXPECT_TRUE(w.numK0X->isEnabledTo(&w));
    EXPECT_FALSE(w.numK2X1->isEnabledTo(&w));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("設計条件の入力"));
}

TEST(DesignConditionsWindow, ShapeSwitchWithoutOkChangesNothingWithOkKeepsTypedValues) {
    UiTestEnv env;
    {
        frmInpJyoken w;
        Connect(&w);
        w.Prepare();
        w.optKeijyo->button(2)->click();
        EXPECT_TRUE(w.numK2X1->isEnabledTo(&w));
        w.numK2X1->setValue(2.5);
        w.optKeijyo->button(0)->click();
        EXPECT_FALSE(w.numK2X1->isEnabledTo(&w));
        EXPECT_EQ(w.picShape->currentIndex(), 0);
        w.reject();
        EXPECT_EQ(gInpJyoken, CInpJyoken{});
    }
    frmInpJyoken w;
    Connect(&w);
    w.Prepare();
    w.optKeijyo->button(2)->click();
    w.numK2X1->setValue(2.5);
    w.optKeijyo->button(0)->click();
    w.PressOk();
    EXPECT_EQ(gInpJyoken.Keijyo, 0);
    EXPECT_DOUBLE_EQ(gInpJyoken.K2X1, 2.5);
}

TEST(GroundWindow, KindDecidesBetweenFrictionAndCohesion) {
    UiTestEnv env;
    frmInpJiban w;
    Connect(&w);
    w.Prepare();
    const QColor normal = w.palette().color(QPalette::Active, QPalette::WindowText);
    const QColor grey = w.palette().color(QPalette::Disabled, QPalette::WindowText);
    ASSERT_NE(normal, grey);
    EXPECT_TRUE(w.numFai->isEnabled());
    EXPECT_FALSE(w.numCa->isEnabled());
    EXPECT_FALSE(w.numCb->isEnabled());
    EXPECT_EQ(w.lblCohesion->palette().color(QPalette::WindowText), grey);
    w.optKind->button(1)->click();
    EXPECT_FALSE(w.numFai->isEnabled());
    EXPECT_TRUE(w.numCa->isEnabled());
    EXPECT_TRUE(w.numCb->isEnabled());
    EXPECT_EQ(w.lblCohesion->palette().color(QPalette::WindowText), normal);
    for (NumField* f : {w.numGt, w.numGws, w.numGw, w.numKH}) EXPECT_TRUE(f->isEnabled());
    w.optKind->button(0)->click();
    EXPECT_TRUE(w.numFai->isEnabled());
    EXPECT_FALSE(w.numCb->isEnabled());
}

struct TypedRangeCase {
    const char* name;
    const char* field;
    const char* typed;
    const char* text;
    const char* title;
    friend void PrintTo(const TypedRangeCase& c, std::ostream* os) { *os << c.name; }
};

class TypedRangeTest : public ::testing::TestWithParam<TypedRangeCase> {};

TEST_P(TypedRangeTest, LeavingBeepsShowsTheRangeAndKeepsTheFocus) {
    const TypedRangeCase& c = GetParam();
    UiTestEnv env;
    frmInpJyoken j;
    frmInpJiban g;
    Connect(&j);
    Connect(&g);
    InputWindow* w = std::string(c.field).rfind("CInpJiban", 0) == 0
                         ? static_cast<InputWindow*>(&g)
                         : static_cast<InputWindow*>(&j);
    w->Prepare();
    test::ShowActive(w);
    NumField* field = nullptr;
    for (NumField* f : w->findChildren<NumField*>()) {
        if (f->spec().name == c.field) field = f;
    }
    ASSERT_NE(field, nullptr);
    field->setFocus(Qt::TabFocusReason);
    test::Pump();
    field->selectAll();
    if (*c.typed) {
        QTest::keyClicks(field, QString::fromUtf8(c.typed));
    } else {
        QTest::keyClick(field, Qt::Key_Backspace);
    }
    env.services.AnswerMessage(MsgAnswer::Ok);
    QTest::keyClick(field, Qt::Key_Tab);
    test::Pump();
    EXPECT_EQ(env.services.beeps, 1);
    EXPECT_EQ(
        env.services.messages(),
        (std::vector<Message>{Message{0, c.text, c.title, MsgIcon::Information, MsgButtons::Ok}}));
    EXPECT_EQ(QApplication::focusWidget(), field);
    w->reject();
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TypedRangeTest,
    ::testing::Values(TypedRangeCase{"GroundSurface1000", "CInpJyoken.ELGL", "1000",
                                     "入力範囲：-999.00 ～ +999.00", "地表面(m)"},
                      TypedRangeCase{"FrictionAngle61", "CInpJiban.Fai", "61",
                                     "入力範囲：0.0 ～ 60.0", "土の内部摩擦角φ(゜)"},
                      TypedRangeCase{"DepthZero", "CInpJyoken.Z", "0", "入力範囲：1.0 ～ 99.0",
                                     "設計地盤面より検討する深さ(m)"},
                      TypedRangeCase{"ReactionEmptied", "CInpJiban.KH", "", "入力範囲：1 ～ 999999",
                                     "水平方向地盤反力係数Ｋh(kN/m3)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConditionWindows, CaptionsAndGroups) {
    UiTestEnv env;
    frmInpJyoken j;
    frmInpJiban g;
    frmInpZairyo z;
    EXPECT_EQ(g.windowTitle(), QStringLiteral("地盤条件の入力"));
    EXPECT_EQ(z.windowTitle(), QStringLiteral("材料条件の入力"));
    QStringList groups;
    for (auto* b : j.findChildren<QGroupBox*>()) groups << b->title();
    for (const char* t : {"矢板壁背面の地表面形状", "(水平)", "(一定勾配)", "(台形)"}) {
        EXPECT_TRUE(groups.contains(QString::fromUtf8(t))) << t;
    }
    QStringList zTexts;
    for (auto* l : z.findChildren<QLabel*>()) zTexts << l->text();
    EXPECT_EQ(zTexts.count(QStringLiteral("-----")), 2);
}

// OK refuses levels that only fail together, naming both fields and their values, and keeps
// the focus on the field to correct; nothing reaches the design.
TEST(DesignConditionsWindow, OkRefusesLevelsThatConflict) {
    struct Case {
        const char* name;
        double ELGL, ELYU, ELDL;
        const char* text;  // "" = accepted
    };
    const Case cases[] = {
        {"DesignGroundAboveSurface", 3.0, 3.0, 3.5,
         "設計地盤面(m) +3.50 が地表面(m) +3.00 以上です。壁高がないため計算できません。"
         "設計地盤面を地表面より低くして下さい。"},
        {"DesignGroundAtSurface", 3.0, 3.0, 3.0, "設計地盤面(m) +3.00 が地表面(m) +3.00 以上です。"},
        {"HeadBelowSurface", 3.0, 2.9, 0.0,
         "矢板天端(m) +2.90 が地表面(m) +3.00 より低くなっています。矢板天端は地表面以上として下さい。"},
        {"HeadAboveSurface", 3.0, 3.2, 0.0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UiTestEnv env;
        frmInpJyoken w;
        Connect(&w);
        w.Prepare();
        test::ShowActive(&w);
        w.numELGL->setValue(c.ELGL);
        w.numELYU->setValue(c.ELYU);
        w.numELDL->setValue(c.ELDL);
        if (*c.text) env.services.AnswerMessage(MsgAnswer::Ok);
        w.PressOk();
        if (!*c.text) {
            EXPECT_EQ(w.result(), QDialog::Accepted);
            EXPECT_DOUBLE_EQ(gInpJyoken.ELYU, c.ELYU);
            continue;
        }
        ASSERT_EQ(env.services.messages().size(), 1u);
        const Message m = env.services.messages()[0];
        EXPECT_EQ(m.title, "設計条件の入力");
        EXPECT_NE(m.text.find(c.text), std::string::npos) << m.text;
        EXPECT_NE(w.result(), QDialog::Accepted);
        EXPECT_EQ(gInpJyoken, CInpJyoken{});
        EXPECT_TRUE((c.ELDL >= c.ELGL ? w.numELDL : w.numELYU)->hasFocus());
    }
}

}  // namespace
}  // namespace kuvelt::ui
