// Numeric and text fields: formats while shown and edited, what typing stores, the range rule
// and its message, the code-page-932 byte limit.
#include "ui/fields.h"

#include <gtest/gtest.h>

#include <QTest>
#include <cmath>

#include "model/ranges.h"
#include "scripted_services.h"
#include "ui/app_state.h"
#include "ui/field_specs.h"
#include "ui/ui_services.h"
#include "ui/window_position.h"

namespace kuvelt::ui {
namespace {

struct RangeCase {
    const char* name;
    const char* field;
    const char* text;
    const char* title;
    friend void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }
};

class RangeMessageTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeMessageTest, TextAndTitle) {
    const RangeCase& c = GetParam();
    const Message m = RangeMessage(FieldFor(c.field));
    EXPECT_EQ(m.text, c.text);
    EXPECT_EQ(m.title, c.title);
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RangeMessageTest,
    ::testing::Values(
        RangeCase{"FrictionAngle", "CInpJiban.Fai", "入力範囲：0.0 ～ 60.0", "土の内部摩擦角φ(゜)"},
        RangeCase{"GroundSurface", "CInpJyoken.ELGL", "入力範囲：-999.00 ～ +999.00", "地表面(m)"},
        RangeCase{"Modulus", "CInpZairyo.EcHira", "入力範囲：1,000,000 ～ 999,999,999", "平　形"},
        RangeCase{"TrapezoidX2", "CInpJyoken.K2X2", "入力範囲：0.01 ～ 99.00", "Ｘ2(m)"},
        RangeCase{"Slope", "CInpJyoken.K1m", "入力範囲：1 ～ 999", "勾配(１：ｍ)"},
        RangeCase{"Reaction", "CInpJiban.KH", "入力範囲：1 ～ 999999",
                  "水平方向地盤反力係数Ｋh(kN/m3)"}),
    [](const auto& info) { return std::string(info.param.name); });

// A window's field runs the core's check and message: the same verdict for every field at its
// limits, a step beyond them and with noise in the last bits; an unknown name accepts nothing.
TEST(RangeTableTest, EveryFieldHasTheCoreVerdictAndMessage) {
    for (const FieldRange* r : AllFieldRanges()) {
        NumField f(FieldFor(r->name));
        EXPECT_EQ(f.spec().name, r->name);
        EXPECT_EQ(f.rangeMessage(), kuvelt::RangeMessage(*r)) << r->name;
        const double step = std::pow(10.0, -DecimalPlaces(r->displayFormat));
        for (const double v :
             {r->min, r->max, r->min - step, r->max + step, std::nextafter(r->max, HUGE_VAL),
              std::nextafter(r->min, -HUGE_VAL), (r->min + r->max) / 2}) {
            f.setValue(v);
            EXPECT_EQ(f.inRange(), InRange(*r, v)) << r->name << " " << v;
        }
    }
    NumField unknown(FieldFor("CInpJyoken.Nope"));
    for (const double v : {0.0, 1.0, -1.0}) {
        unknown.setValue(v);
        EXPECT_FALSE(unknown.inRange());
    }
}

struct LimitCase {
    const char* name;
    const char* field;
    double value;
    bool accepted;
    friend void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }
};

class RangeLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(RangeLimitTest, ClosedRange) {
    NumField f(FieldFor(GetParam().field));
    f.setValue(GetParam().value);
    EXPECT_EQ(f.inRange(), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RangeLimitTest,
    ::testing::Values(LimitCase{"AtMin", "CInpJiban.Fai", 0.0, true},
                      LimitCase{"AtMax", "CInpJiban.Fai", 60.0, true},
                      LimitCase{"AboveMax", "CInpJiban.Fai", 60.01, false},
                      LimitCase{"BelowMin", "CInpJiban.Fai", -0.1, false},
                      LimitCase{"NegativeElevation", "CInpJyoken.ELDL", -999.0, true},
                      LimitCase{"ElevationTooHigh", "CInpJyoken.ELGL", 1000.0, false},
                      LimitCase{"X2AtMin", "CInpJyoken.K2X2", 0.01, true},
                      LimitCase{"X2Zero", "CInpJyoken.K2X2", 0.0, false},
                      LimitCase{"ModulusTooSmall", "CInpZairyo.Esy", 999999.0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumFieldTest, DisplayFormatUnlessFocusedEditFormatWhileEditing) {
    test::UiTestEnv env;
    QWidget w;
    auto* el = new NumField(FieldFor("CInpJyoken.ELGL"), &w);
    auto* e = new NumField(FieldFor("CInpZairyo.EcHira"), &w);
    el->setValue(4.0);
    e->setValue(21000000.0);
    EXPECT_EQ(el->text(), QStringLiteral("+4.00"));
    EXPECT_EQ(e->text(), QStringLiteral("21,000,000"));
    test::ShowActive(&w);
    el->setFocus(Qt::TabFocusReason);
    test::Pump();
    EXPECT_EQ(el->text(), QStringLiteral("4.00"));
    e->setFocus(Qt::TabFocusReason);
    test::Pump();
    EXPECT_EQ(e->text(), QStringLiteral("21000000"));
    EXPECT_EQ(el->text(), QStringLiteral("+4.00"));
}

TEST(NumFieldTest, TypedNumberIsStoredAsShown) {
    test::UiTestEnv env;
    QWidget w;
    auto* f = new NumField(FieldFor("CInpJiban.Fai"), &w);
    test::ShowActive(&w);
    f->setFocus(Qt::TabFocusReason);
    test::Pump();
    double edited = -1.0;
    QObject::connect(f, &NumField::valueEdited, [&](double v) { edited = v; });
    f->selectAll();
    QTest::keyClicks(f, QStringLiteral("30.25"));
    EXPECT_DOUBLE_EQ(f->value(), 30.3);  // rounded half up to the edit format "#0.0"
    EXPECT_DOUBLE_EQ(edited, 30.3);
    EXPECT_FALSE(f->isBlank());
}

TEST(NumFieldTest, LettersAndSecondPointAreRefusedWhileTyping) {
    test::UiTestEnv env;
    QWidget w;
    auto* f = new NumField(FieldFor("CInpJyoken.Z"), &w);
    test::ShowActive(&w);
    f->setFocus(Qt::TabFocusReason);
    f->selectAll();
    QTest::keyClicks(f, QStringLiteral("1a2.5.3"));
    EXPECT_EQ(f->text(), QStringLiteral("12.53"));
}

TEST(NumFieldTest, EmptiedOrSignOnlyFieldIsBlankAndOutOfRange) {
    test::UiTestEnv env;
    QWidget w;
    auto* f = new NumField(FieldFor("CInpJiban.Ca"), &w);  // 0 .. 99: 0 itself is valid
    test::ShowActive(&w);
    f->setFocus(Qt::TabFocusReason);
    f->selectAll();
    QTest::keyClick(f, Qt::Key_Delete);
    EXPECT_TRUE(f->isBlank());
    EXPECT_FALSE(f->inRange());
    QTest::keyClicks(f, QStringLiteral("-"));
    EXPECT_TRUE(f->isBlank());
    EXPECT_FALSE(f->inRange());
    f->setValue(0.0);
    EXPECT_TRUE(f->inRange());
}

struct TextCase {
    const char* name;
    const char* field;
    std::string text;
    bool accepted;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
};

class TextLimitTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextLimitTest, Cp932BytesAndNoQuote) {
    Cp932TextValidator v(TextLimitBytes(GetParam().field), nullptr);
    QString s = Q(GetParam().text);
    int pos = 0;
    EXPECT_EQ(v.validate(s, pos) == QValidator::Acceptable, GetParam().accepted);
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TextLimitTest,
    ::testing::Values(TextCase{"FortyFullWidth", "CInpJyoken.Title", Repeat("矢", 40), true},
                      TextCase{"FortyOneFullWidth", "CInpJyoken.Title", Repeat("矢", 41), false},
                      TextCase{"EightyAscii", "CInpJyoken.Title", std::string(80, 'a'), true},
                      TextCase{"HalfWidthKanaCountOne", "CInpZairyo.KYZai", Repeat("ｱ", 10), true},
                      TextCase{"GradeEleven", "CInpZairyo.KYZai", "SS400ABCDEF", false},
                      TextCase{"MixedAtLimit", "CInpZairyo.KYZai", "SY295鋼板", true},
                      TextCase{"DoubleQuote", "CInpJyoken.Title", "A\"B", false},
                      TextCase{"LineBreak", "CInpJyoken.Title", "A\nB", false},
                      TextCase{"NoCp932Form", "CInpJyoken.Title", "水路\xF0\x9F\x98\x80", false},
                      TextCase{"SteelGradeAtLimit", "CInpZairyo.YZai", "SM490YBXYZ", true},
                      TextCase{"UnknownFieldTakesNothing", "CInpJyoken.Nope", "A", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFieldTest, TypingAQuoteOrPastTheLimitChangesNothing) {
    test::UiTestEnv env;
    QWidget w;
    auto* t = new TextField("CInpZairyo.KYZai", &w);
    test::ShowActive(&w);
    t->setFocus();
    QTest::keyClicks(t, QStringLiteral("SS\"400"));
    EXPECT_EQ(t->text8(), "SS400");
    QTest::keyClicks(t, QStringLiteral("ABCDEFG"));
    EXPECT_EQ(t->text8(), "SS400ABCDE");
}

struct PlaceCase {
    const char* name;
    int stored;
    bool mainRule;
    int expected;
    friend void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }
};

class PlacementTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlacementTest, StoredOrCentred) {
    // Screen 15360 twips (1024 px at 96 dpi), window 6001 twips.
    EXPECT_EQ(PlacedTwips(GetParam().stored, 15360, 6001, GetParam().mainRule),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, PlacementTest,
    ::testing::Values(PlaceCase{"ZeroCentres", 0, false, 4679},
                      PlaceCase{"NegativeCentres", -30, false, 4679},
                      PlaceCase{"OneIsKept", 1, false, 1},
                      PlaceCase{"BeyondScreenKeptForInputWindow", 20000, false, 20000},
                      PlaceCase{"ScreenHeightCentresMainWindow", 15360, true, 4679},
                      PlaceCase{"JustInsideKeptForMainWindow", 15359, true, 15359}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlacementTest, WindowLargerThanScreenGoesToZero) {
    EXPECT_EQ(PlacedTwips(0, 1000, 3000, false), 0);
}

TEST(TwipsTest, ConvertsWithTheLogicalDpi) {
    EXPECT_EQ(PixelsToTwips(100, 96.0), 1500);
    EXPECT_EQ(TwipsToPixels(1500, 96.0), 100);
    EXPECT_EQ(PixelsToTwips(100, 144.0), 1000);
    EXPECT_EQ(TwipsToPixels(1000, 144.0), 100);
}

TEST(FileFilterTest, PairsBecomeQtFilters) {
    EXPECT_EQ(QtFilterFromPairs("入力ﾃﾞｰﾀ(*.kvt)|*.kvt"), "入力ﾃﾞｰﾀ(*.kvt)");
    EXPECT_EQ(QtFilterFromPairs("A|*.a;*.b|B|*.c"), "A (*.a *.b);;B (*.c)");
    EXPECT_EQ(QtFilterFromPairs(""), "* (*)");
}

struct TitleCase {
    const char* name;
    const char* path;
    const char* title;
    friend void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.name; }
};

class WindowTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(WindowTitleTest, FileNameThenProduct) {
    EXPECT_EQ(WindowTitleFor(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, WindowTitleTest,
    ::testing::Values(TitleCase{"NoFile", "", "Kuvelt"},
                      TitleCase{"UnixPath", "/home/a/dam1.kvt", "dam1.kvt - Kuvelt"},
                      TitleCase{"BackslashPath", "C:\\data\\水路1.KVT", "水路1.KVT - Kuvelt"},
                      TitleCase{"BareName", "dam1.kvt", "dam1.kvt - Kuvelt"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kuvelt::ui
