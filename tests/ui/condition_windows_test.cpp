// The design-conditions, ground and material windows: every field moves to and from its own
// record field, the dependent enabling, the range messages and the bookkeeping of a confirmation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <map>
#include <set>
#include <vector>

#include "model/design.h"
#include "model/design_fields.h"
#include "model/ranges.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/field_specs.h"
#include "ui/fields.h"
#include "ui/frmInpJiban.h"
#include "ui/frmInpJyoken.h"
#include "ui/frmInpZairyo.h"
#include "ui/frmMenuMain.h"
#include "ui/grid_editing.h"
#include "ui/main_handlers.h"
#include "ui/sect_grid_model.h"
#include "ui/surcharge_figure.h"

namespace kuvelt::ui {
namespace {

using test::UiTestEnv;

// Every numeric field of a record that has an input field, from the design-field table.
std::vector<const DesignField*> InputFields(Record record) {
    std::vector<const DesignField*> v;
    for (const DesignField& f : DesignFields()) {
        if (f.record == record && f.HasInput()) v.push_back(&f);
    }
    for (const DesignField& f : SiteFields()) {
        if (f.record == record) v.push_back(&f);
    }
    return v;
}

double& Ref(const DesignField& f) {
    return *static_cast<double*>(f.member(CurrentRecord(f.record)));
}

// A value inside the field's range that no other field of the window holds.
double Distinct(const FieldRange& s, int i) {
    const double span = s.max - s.min;
    const double v = s.min + span * (0.05 + 0.9 * ((i * 37) % 97) / 97.0);
    return std::round(v * 100.0) / 100.0;
}

// Loads distinct values into the window and saves other distinct values back; each field must
// show exactly its own record field and store into exactly it, and every numeric field of the
// record must have its field in the window.
void CheckTransfer(InputWindow& w, Record record) {
    auto fields = w.findChildren<NumField*>();
    std::map<std::string, double> loaded;
    int i = 0;
    for (const DesignField* f : InputFields(record)) {
        ASSERT_EQ(f->type, FieldType::Double) << f->name;
        Ref(*f) = Distinct(*f, ++i);
        loaded[std::string(f->name)] = Ref(*f);
    }
    ASSERT_FALSE(loaded.empty());
    w.Prepare();
    std::set<std::string> shown;
    for (NumField* f : fields) {
        // Enable every field so the transfer of the disabled shape fields is seen as well.
        f->setEnabled(true);
        const std::string name(f->spec().name);
        ASSERT_TRUE(loaded.count(name)) << "field without a record field: " << name;
        EXPECT_DOUBLE_EQ(f->value(), loaded[name]) << name;
        EXPECT_TRUE(shown.insert(name).second) << "two fields for " << name;
    }
    EXPECT_EQ(shown.size(), loaded.size()) << "a record field without its window field";
    std::map<std::string, double> typed;
    i = 50;
    for (NumField* f : fields) {
        f->setValue(Distinct(f->spec(), ++i));
        typed[std::string(f->spec().name)] = f->value();
    }
    // Within the rules across fields: the channel water above the design ground level, the wall
    // friction below φ.
    for (NumField* f : fields) {
        const std::string name(f->spec().name);
        if (name == "CInpJyoken.ELWF") f->setValue(typed["CInpJyoken.ELDL"] + 0.5);
        if (name == "CInpJiban.DeltaA") f->setValue(std::round(typed["CInpJiban.Fai"] * 5) / 10);
        if (name == "CInpJiban.DeltaP") f->setValue(std::round(typed["CInpJiban.Fai"] * 3) / 10);
        typed[name] = f->value();
    }
    w.PressOk();
    ASSERT_EQ(w.result(), QDialog::Accepted);
    for (const auto& [name, value] : typed) {
        EXPECT_DOUBLE_EQ(Ref(*FindDesignField(name)), value) << name;
    }
}

TEST(ConditionWindowTransfer, DesignConditions) {
    UiTestEnv env;
    frmInpJyoken w;
    Connect(&w);
    CheckTransfer(w, Record::Jyoken);
    EXPECT_TRUE(gInpJyoken.InpFlg);
}

TEST(ConditionWindowTransfer, Ground) {
    UiTestEnv env;
    frmInpJiban w;
    Connect(&w);
    CheckTransfer(w, Record::Jiban);
    EXPECT_TRUE(gInpJiban.InpFlg);
}

TEST(ConditionWindowTransfer, Materials) {
    UiTestEnv env;
    frmInpZairyo w;
    Connect(&w);
    CheckTransfer(w, Record::Zairyo);  // the two grades are texts
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
        const std::string n(f->spec().name);
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
        {"DesignGroundAtSurface", 3.0, 3.0, 3.0,
         "設計地盤面(m) +3.00 が地表面(m) +3.00 以上です。"},
        {"HeadBelowSurface", 3.0, 2.9, 0.0,
         "矢板天端(m) +2.90 が地表面(m) +3.00 "
         "より低くなっています。矢板天端は地表面以上として下さい。"},
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

// A constant slope steeper than φ of sandy ground has no Coulomb wedge, whichever window makes
// it so: the design conditions refuse 1 : 1 (atan 1 = 45.00°) against φ = 30.0 with the focus on
// the gradient; the ground window refuses φ = 20.0 under 1 : 2 (atan 0.5 = 26.57°), but takes it
// for clay.
TEST(ConditionWindows, SlopeSteeperThanFrictionIsRefusedInEitherWindow) {
    {
        UiTestEnv env;
        frmInpJyoken w;
        Connect(&w);
        w.Prepare();
        test::ShowActive(&w);
        w.setShape(1);
        w.numK1m->setValue(1);
        env.services.AnswerMessage(MsgAnswer::Ok);
        w.PressOk();
        ASSERT_EQ(env.services.messages().size(), 1u);
        EXPECT_EQ(env.services.messages()[0].title, "設計条件の入力");
        EXPECT_NE(env.services.messages()[0].text.find(
                      "勾配(１：ｍ) 1 の地表面の傾斜角 45.00° が土の内部摩擦角φ(゜) 30.0 を超えて"),
                  std::string::npos);
        EXPECT_TRUE(w.numK1m->hasFocus());
        EXPECT_NE(w.result(), QDialog::Accepted);
        EXPECT_EQ(gInpJyoken, CInpJyoken{});
    }
    UiTestEnv env;
    gInpJyoken.Keijyo = 1;
    gInpJyoken.K1m = 2;
    frmInpJiban w;
    Connect(&w);
    w.Prepare();
    test::ShowActive(&w);
    w.numFai->setValue(20);
    env.services.AnswerMessage(MsgAnswer::Ok);
    w.PressOk();
    ASSERT_EQ(env.services.messages().size(), 1u);
    EXPECT_EQ(env.services.messages()[0].title, "地盤条件の入力");
    EXPECT_NE(env.services.messages()[0].text.find(
                  "勾配(１：ｍ) 2 の地表面の傾斜角 26.57° が土の内部摩擦角φ(゜) 20.0 を超えて"),
              std::string::npos);
    EXPECT_TRUE(w.numFai->hasFocus());
    EXPECT_EQ(gInpJiban, CInpJiban{});
    w.setKind(1);
    w.PressOk();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(gInpJiban.Kind, 1);
}

// The range and unit are there before the mistake: every numeric field carries them as its
// tooltip, and the status line names them while the field has the focus; the title field says
// how many code page 932 bytes are left of its limit as it is typed.
TEST(DesignConditionsWindow, RangesAndBytesLeftBeforeTheMistake) {
    UiTestEnv env;
    frmInpJyoken w;
    Connect(&w);
    w.Prepare();
    test::ShowActive(&w);
    ASSERT_NE(w.statusLine(), nullptr);
    EXPECT_EQ(w.numELGL->toolTip(), QStringLiteral("地表面(m)\n入力範囲：-999.00 ～ +999.00"));
    w.numZ->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(w.statusLine()->text(),
              QStringLiteral("設計地盤面より検討する深さ(m)　入力範囲：1.0 ～ 99.0"));
    w.txtTitle->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    const int limit = TextLimitBytes("CInpJyoken.Title");
    w.txtTitle->setText(std::string("水路A"));  // 2 + 2 + 1 bytes
    EXPECT_EQ(
        w.statusLine()->text(),
        QStringLiteral("入力範囲：%1ﾊﾞｲﾄ以内の文字列（残り %2 ﾊﾞｲﾄ）").arg(limit).arg(limit - 5));
}

// The 台形 figure at the sizes its window gives it: the Ｈo dimension and its label stand clear
// of the dashed line down from the crest's edge, and the label lies inside the picture.
TEST(SurchargeFigureTest, HoStandsClearOfTheDashedLine) {
    for (const QSizeF size : {QSizeF(220, 150), QSizeF(300, 200), QSizeF(480, 320)}) {
        const TrapezoidGeometry t = TrapezoidAt(size);
        const double dashed = t.slopeTop.x();
        EXPECT_GT(t.dimX - 4, dashed) << size.width() << ": the dimension's ticks";
        EXPECT_GT(t.hoLabel.left(), dashed) << size.width();
        EXPECT_TRUE(QRectF(QPointF(0, 0), size).contains(t.hoLabel)) << size.width();
    }
}

}  // namespace
}  // namespace kuvelt::ui

namespace kuvelt::ui {
namespace {

// The ground window as the main menu opens it on an example: the layer grid typed into, pasted
// into and confirmed or cancelled; only OK moves its rows to the design.
TEST(GroundWindowLayers, TypedPastedConfirmedOrCancelled) {
    const CInpJibanLayer clay{-1.5, 1, 17, 8, 30, 1.5, 30, 5000};
    const CInpJibanLayer sand{-6, 0, 19, 10, 35, 0, 50, 20000};
    const QString rows = QStringLiteral(
        "-1.5\t粘性土\t17\t8\t30\t1.5\t30\t5000\r\n"
        "-6\t0\t19\t10\t35\t0\t50\t20,000\r\n");
    struct Case {
        const char* name;
        QString clipboard;                               // pasted at the first cell when not empty
        std::vector<std::pair<int, const char*>> typed;  // column, text into the first row
        std::vector<Message> messages;                   // shown, in order
        bool ok;                                         // OK, else Cancel
        std::vector<CInpJibanLayer> stored;
        bool addRow = false;  // 行追加 first
    };
    const std::string tooLong = PasteTooLongMessage(9, "入力できる第2層以下の層数", "層").text;
    const Case cases[] = {
        {"PastedRowsAreStored", rows, {}, {}, true, {clay, sand}},
        {"TypedCellsAreStored",
         rows,
         {{4, "28.5"}, {1, "砂質土"}},
         {},
         true,
         {CInpJibanLayer{-1.5, 0, 17, 8, 28.5, 1.5, 30, 5000}, sand}},
        {"OutOfRangeRefusedWithTheHint",
         rows,
         {{4, "61"}},
         {Message{0, "入力範囲：0～60", "φ(゜)", MsgIcon::Information, MsgButtons::Ok}},
         true,
         {clay, sand}},
        {"TenRowsRefusedWhole",
         rows.repeated(5),
         {},
         {Message{0, tooLong, "貼り付け", MsgIcon::Information, MsgButtons::Ok}},
         true,
         {}},
        {"CancelKeepsTheDesign", rows, {}, {}, false, {}},
        // The first layer as it stands, its top at the design ground level.
        {"AddedLayerStartsAsTheFirst", {}, {}, {}, true, {{0, 0, 18, 9, 30, 0, 0, 3000}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UiTestEnv env;
        test::LoadExample("sand-channel.kvt");
        const CInpJiban before = gInpJiban;
        test::DrivenMain main;
        main.drive = [&](InputWindow& w) {
            auto& g = dynamic_cast<frmInpJiban&>(w);
            test::ShowActive(&g);
            EXPECT_EQ(g.layers()->rowCount(), 0) << "a one-layer ground opens with an empty grid";
            g.grdLayers->setFocus(Qt::OtherFocusReason);
            g.grdLayers->setCurrentIndex(g.layers()->index(0, 0));
            for (std::size_t i = 0; i < c.messages.size(); ++i)
                env.services.AnswerMessage(MsgAnswer::Ok);
            if (c.addRow) g.cmdLayerAdd->click();
            if (!c.clipboard.isEmpty()) {
                QGuiApplication::clipboard()->setText(c.clipboard);
                g.cmdLayerPaste->click();
            }
            for (const auto& [col, text] : c.typed) {
                const QModelIndex at = g.layers()->index(0, col);
                g.grdLayers->setCurrentIndex(at);
                EXPECT_EQ(g.statusLine()->text(), g.layers()->Hint(col));
                g.grdLayers->edit(at);
                test::Pump();
                QWidget* editor = g.grdLayers->indexWidget(at);
                if (auto* box = qobject_cast<QComboBox*>(editor)) {
                    box->setCurrentText(QString::fromUtf8(text));
                } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
                    line->setText(QString::fromUtf8(text));
                }
                QTest::keyClick(editor, Qt::Key_Return);
                test::Pump();
                // A refused entry is reopened for correction; here it is given up.
                if (QWidget* reopened = g.grdLayers->indexWidget(at)) {
                    QTest::keyClick(reopened, Qt::Key_Escape);
                    test::Pump();
                }
            }
            if (!c.ok) {
                w.reject();
                return w.result();
            }
            return test::PressOk(w);
        };
        main.MenuCommand(frmMenuMain::kInpJiban);
        EXPECT_EQ(env.services.messages(), c.messages);
        CInpJiban expected = before;
        expected.Layers = c.stored;
        if (c.ok) expected.InpFlg = true;
        EXPECT_EQ(gInpJiban, expected);
        EXPECT_EQ(gModified, c.ok);
    }
}

// The channel water is shown at the design ground level while it stands there, and stored as
// following that level when it is left equal to it, also when the level is retyped; a level
// above it is stored as typed.
TEST(DesignConditionsWindow, ChannelWaterFollowsTheDesignGroundLevelOrKeepsItsOwn) {
    struct Case {
        const char* name;
        double storedBefore;  // ELWF of the design
        const char* eldl;     // retyped design ground level, "" for none
        const char* elwf;     // typed channel water, "" for none
        double shown;         // the channel water the window opens with
        double stored;
    };
    const Case cases[] = {
        {"Untouched", kChannelWaterAtDesignGround, "", "", 0, kChannelWaterAtDesignGround},
        {"DesignGroundRetyped", kChannelWaterAtDesignGround, "-0.5", "", 0,
         kChannelWaterAtDesignGround},
        {"TypedEqualToTheLevel", 1.2, "", "0", 1.2, kChannelWaterAtDesignGround},
        {"RaisedWater", kChannelWaterAtDesignGround, "", "1.25", 0, 1.25},
        {"OwnLevelKeptWhenTheGroundMoves", 1.2, "-0.5", "", 1.2, 1.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UiTestEnv env;
        test::LoadExample("sand-channel.kvt");
        gInpJyoken.ELWF = c.storedBefore;
        test::DrivenMain main;
        main.drive = [&](InputWindow& w) {
            auto& j = dynamic_cast<frmInpJyoken&>(w);
            test::ShowActive(&j);
            EXPECT_EQ(j.numELWF->value(), c.shown);
            for (const auto& [field, text] : {std::pair{j.numELDL, c.eldl}, {j.numELWF, c.elwf}}) {
                if (*text == '\0') continue;
                field->setFocus(Qt::OtherFocusReason);
                field->selectAll();
                QTest::keyClicks(field, QString::fromUtf8(text));
            }
            return test::PressOk(w);
        };
        main.MenuCommand(frmMenuMain::kInpJyoken);
        EXPECT_TRUE(env.services.messages().empty());
        EXPECT_EQ(gInpJyoken.ELWF, c.stored);
    }
}

}  // namespace
}  // namespace kuvelt::ui
