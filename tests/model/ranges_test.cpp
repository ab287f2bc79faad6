#include "model/ranges.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/design.h"

namespace kuvelt {
namespace {

TEST(FieldRanges, EveryRangedFieldOfTheWindowsIsInTheTableOnce) {
    const std::vector<std::string> expected = {"CInpJyoken.ELGL",
                                               "CInpJyoken.ELYU",
                                               "CInpJyoken.ELDL",
                                               "CInpJyoken.ELWL",
                                               "CInpJyoken.Z",
                                               "CInpJyoken.K0X",
                                               "CInpJyoken.K0Q",
                                               "CInpJyoken.K1m",
                                               "CInpJyoken.K1Q",
                                               "CInpJyoken.K2X1",
                                               "CInpJyoken.K2X2",
                                               "CInpJyoken.K2Ho",
                                               "CInpJyoken.K2Gs",
                                               "CInpJyoken.K2Q",
                                               "CInpJyoken.Delta",
                                               "CInpJyoken.Fsb",
                                               "CInpJyoken.Fsh",
                                               "CInpJiban.Gt",
                                               "CInpJiban.Gws",
                                               "CInpJiban.Gw",
                                               "CInpJiban.Fai",
                                               "CInpJiban.Ca",
                                               "CInpJiban.Cb",
                                               "CInpJiban.KH",
                                               "CInpZairyo.EcHira",
                                               "CInpZairyo.EcMizo",
                                               "CInpZairyo.EcNami",
                                               "CInpZairyo.Esky",
                                               "CInpZairyo.Esy",
                                               "CInpZairyo.KYSat",
                                               "CInpZairyo.KYSac",
                                               "CInpZairyo.YSat",
                                               "CInpZairyo.YSac",
                                               "CInpZairyo.AlphaIz",
                                               "CInpZairyo.AlphaIs",
                                               "CInpZairyo.AlphaId",
                                               "CInpZairyo.AlphaZs",
                                               "CInpYaita.Sect",
                                               "CInpYaita.H",
                                               "CInpYaita.D",
                                               "CInpYaita.L",
                                               "frmInpYaita.numL",
                                               "frmInpYaita.numSect",
                                               "frmInpYaita.numD",
                                               "frmInpYaita.numH",
                                               "frmInpRenban.numInit",
                                               "frmInpRenban.numMargin0",
                                               "frmInpRenban.numMargin1",
                                               "frmInpRenban.numMargin2",
                                               "frmInpRenban.numMargin3"};
    std::multiset<std::string> names;
    for (const FieldRange& f : AllFieldRanges()) {
        names.insert(std::string(f.name));
        EXPECT_FALSE(f.caption.empty()) << f.name;
        EXPECT_LT(f.min, f.max) << f.name;
        EXPECT_FALSE(f.displayFormat.empty()) << f.name;
        EXPECT_FALSE(f.editFormat.empty()) << f.name;
    }
    EXPECT_EQ(names, std::multiset<std::string>(expected.begin(), expected.end()));
    EXPECT_EQ(FindFieldRange("CInpJiban.Nothing"), nullptr);
    EXPECT_EQ(FindFieldRange("Fai"), nullptr);
}

// A fresh design must be confirmable without touching a field: every default lies in its range.
TEST(FieldRanges, DefaultsOfANewDesignAreInsideTheirRanges) {
    const CInpJyoken j;
    const CInpJiban g;
    const CInpZairyo z;
    const std::map<std::string, double> defaults = {{"CInpJyoken.ELGL", j.ELGL},
                                                    {"CInpJyoken.ELYU", j.ELYU},
                                                    {"CInpJyoken.ELDL", j.ELDL},
                                                    {"CInpJyoken.ELWL", j.ELWL},
                                                    {"CInpJyoken.Z", j.Z},
                                                    {"CInpJyoken.K0X", j.K0X},
                                                    {"CInpJyoken.K0Q", j.K0Q},
                                                    {"CInpJyoken.K1m", j.K1m},
                                                    {"CInpJyoken.K1Q", j.K1Q},
                                                    {"CInpJyoken.K2X1", j.K2X1},
                                                    {"CInpJyoken.K2X2", j.K2X2},
                                                    {"CInpJyoken.K2Ho", j.K2Ho},
                                                    {"CInpJyoken.K2Gs", j.K2Gs},
                                                    {"CInpJyoken.K2Q", j.K2Q},
                                                    {"CInpJyoken.Delta", j.Delta},
                                                    {"CInpJyoken.Fsb", j.Fsb},
                                                    {"CInpJyoken.Fsh", j.Fsh},
                                                    {"CInpJiban.Gt", g.Gt},
                                                    {"CInpJiban.Gws", g.Gws},
                                                    {"CInpJiban.Gw", g.Gw},
                                                    {"CInpJiban.Fai", g.Fai},
                                                    {"CInpJiban.Ca", g.Ca},
                                                    {"CInpJiban.Cb", g.Cb},
                                                    {"CInpJiban.KH", g.KH},
                                                    {"CInpZairyo.EcHira", z.EcHira},
                                                    {"CInpZairyo.EcMizo", z.EcMizo},
                                                    {"CInpZairyo.EcNami", z.EcNami},
                                                    {"CInpZairyo.Esky", z.Esky},
                                                    {"CInpZairyo.Esy", z.Esy},
                                                    {"CInpZairyo.KYSat", z.KYSat},
                                                    {"CInpZairyo.KYSac", z.KYSac},
                                                    {"CInpZairyo.YSat", z.YSat},
                                                    {"CInpZairyo.YSac", z.YSac},
                                                    {"CInpZairyo.AlphaIz", z.AlphaIz},
                                                    {"CInpZairyo.AlphaIs", z.AlphaIs},
                                                    {"CInpZairyo.AlphaId", z.AlphaId},
                                                    {"CInpZairyo.AlphaZs", z.AlphaZs}};
    for (const auto& [name, value] : defaults) {
        const FieldRange* f = FindFieldRange(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_TRUE(InRange(*f, value)) << name << " = " << value;
    }
    EXPECT_TRUE(TextFieldAcceptable("CInpJyoken.Title", j.Title));
    EXPECT_TRUE(TextFieldAcceptable("CInpZairyo.KYZai", z.KYZai));
    EXPECT_TRUE(TextFieldAcceptable("CInpZairyo.YZai", z.YZai));
}

struct MessageCase {
    const char* field;
    const char* text;
    const char* title;
};

TEST(FieldRanges, RangeMessageUsesTheFieldFormatAndCaption) {
    const MessageCase cases[] = {
        {"CInpJiban.Fai", "入力範囲：0.0 ～ 60.0", "土の内部摩擦角φ(゜)"},
        {"CInpJyoken.ELGL", "入力範囲：-999.00 ～ +999.00", "地表面(m)"},
        {"CInpJyoken.Z", "入力範囲：1.0 ～ 99.0", "設計地盤面より検討する深さ(m)"},
        {"CInpJyoken.K2X2", "入力範囲：0.01 ～ 99.00", "Ｘ2(m)"},
        {"CInpJyoken.K1m", "入力範囲：1 ～ 999", "勾配(１：ｍ)"},
        {"CInpJyoken.Delta", "入力範囲：0.00 ～ 1.00", "許容変位量δ(m)"},
        {"CInpJiban.KH", "入力範囲：1 ～ 999999", "水平方向地盤反力係数Ｋh(kN/m3)"},
        {"CInpZairyo.EcHira", "入力範囲：1,000,000 ～ 999,999,999", "平　形"},
        {"CInpZairyo.AlphaZs", "入力範囲：0.0 ～ 1.0", "応力度照査時"},
        {"frmInpYaita.numSect", "入力範囲：1 ～ 99", "矢板断面№"},
        {"frmInpYaita.numD", "入力範囲：-99.00 ～ 99.00", "根入れ長Ｄ(m)"},
        {"frmInpRenban.numMargin2", "入力範囲：0 ～ 10", "（項）レベルに対して"},
        {"frmInpRenban.numInit", "入力範囲：0 ～ 99", "（章）に対する初期値"},
    };
    for (const auto& c : cases) {
        const FieldRange* f = FindFieldRange(c.field);
        ASSERT_NE(f, nullptr) << c.field;
        const Message m = RangeMessage(*f);
        EXPECT_EQ(m.text, c.text) << c.field;
        EXPECT_EQ(m.title, c.title) << c.field;
        EXPECT_EQ(m.icon, MsgIcon::Information);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
    }
}

TEST(FieldRanges, LimitsAreInclusive) {
    const struct {
        const char* field;
        double value;
        bool ok;
    } cases[] = {
        {"CInpJiban.Fai", 0, true},
        {"CInpJiban.Fai", 60, true},
        {"CInpJiban.Fai", 60.0001, false},
        {"CInpJiban.Fai", -0.0001, false},
        {"CInpJyoken.ELGL", 1000, false},
        {"CInpJyoken.ELGL", -999, true},
        {"CInpJyoken.K2Ho", 0, false},
        {"CInpJyoken.K2Ho", 0.01, true},
        {"frmInpYaita.numSect", 0, false},
        {"frmInpYaita.numSect", 100, false},
        {"frmInpRenban.numMargin0", 11, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InRange(*FindFieldRange(c.field), c.value), c.ok) << c.field << " " << c.value;
    }
}

TEST(TextLimits, BytesAreCountedInCodePage932) {
    const struct {
        const char* name;
        const char* field;
        std::string text;
        bool ok;
    } cases[] = {
        {"title_80_ascii", "CInpJyoken.Title", std::string(80, 'a'), true},
        {"title_81_ascii", "CInpJyoken.Title", std::string(81, 'a'), false},
        {"title_40_full_width", "CInpJyoken.Title",
         [] {
             std::string s;
             for (int i = 0; i < 40; ++i) s += "水";
             return s;
         }(),
         true},
        {"title_41_full_width", "CInpJyoken.Title",
         [] {
             std::string s;
             for (int i = 0; i < 41; ++i) s += "水";
             return s;
         }(),
         false},
        {"title_80_half_width_kana", "CInpJyoken.Title",
         [] {
             std::string s;
             for (int i = 0; i < 80; ++i) s += "ｱ";
             return s;
         }(),
         true},
        {"title_with_comma", "CInpJyoken.Title", "A,B", true},
        {"title_empty", "CInpJyoken.Title", "", true},
        {"title_with_quote", "CInpJyoken.Title", "12\" pile", false},
        {"title_with_line_break", "CInpJyoken.Title", "a\nb", false},
        {"title_without_cp932_form", "CInpJyoken.Title", "wall \xF0\x9F\x8C\x8A", false},
        {"grade_10", "CInpZairyo.KYZai", "SS400ABCDE", true},
        {"grade_11", "CInpZairyo.YZai", "SY295ABCDEF", false},
        {"grade_5_full_width", "CInpZairyo.YZai", "ＳＹ２９５", true},
        {"section_name_15", "InpSectS.Name", "SP-ⅥL(t=12.5)x", true},
        {"section_name_16", "InpSectC.Name", std::string(16, 'H'), false},
        {"unknown_field", "CInpJyoken.ELGL", "4", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextFieldAcceptable(c.field, c.text), c.ok) << c.name;
    }
}

TEST(GridColumns, HeadersNewRowValuesAndHints) {
    const auto c = GridColumns("InpSectC");
    const auto s = GridColumns("InpSectS");
    ASSERT_EQ(c.size(), 6u);
    ASSERT_EQ(s.size(), 5u);
    EXPECT_TRUE(GridColumns("InpSectLS").empty());
    const std::vector<std::string> ch = {"名称(形式など)", "形状",    "I(cm4/m)",
                                         "Ｍc(kN･m/m)",    "Lmin(m)", "Lmax(m)"};
    const std::vector<std::string> sh = {"名称(形式など)", "Ｉ'(cm4/m)", "Ｚ'(cm3/m)", "Ｉ(cm4/m)",
                                         "Ｚ(cm3/m)"};
    for (std::size_t i = 0; i < c.size(); ++i) {
        EXPECT_EQ(c[i].header, ch[i]);
        EXPECT_EQ(c[i].column, static_cast<int32_t>(i + 1));
    }
    for (std::size_t i = 0; i < s.size(); ++i) EXPECT_EQ(s[i].header, sh[i]);

    EXPECT_EQ(GridInputHint(c[0]), "入力範囲：15ﾊﾞｲﾄ以内の文字列");
    EXPECT_EQ(GridInputHint(c[1]), "入力範囲：(選択ﾘｽﾄ一覧より選択)");
    EXPECT_EQ(GridInputHint(c[2]), "入力範囲：100～999999999.9");
    EXPECT_EQ(GridInputHint(c[3]), "入力範囲：0～999.9");
    EXPECT_EQ(GridInputHint(s[2]), "入力範囲：10～9999999.9");

    // A new row is valid as it stands.
    for (const auto& cols : {c, s}) {
        for (const GridColumn& col : cols) {
            if (col.kind == CellKind::Text) {
                EXPECT_EQ(col.newText, "(未定義)");
            } else {
                EXPECT_TRUE(CellAcceptable(col, col.newValue)) << col.grid << col.column;
            }
        }
    }
    EXPECT_FALSE(CellAcceptable(c[1], 3));  // only the three shapes
    EXPECT_FALSE(CellAcceptable(s[1], 99.9));
}

}  // namespace
}  // namespace kuvelt
