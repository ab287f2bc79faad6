#include "model/ranges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace kuvelt {
namespace {

TEST(FieldRanges, NamesAreUniqueAndLookupsOfOtherNamesFail) {
    std::set<std::string_view> names;
    for (const FieldRange* f : AllFieldRanges()) {
        EXPECT_TRUE(names.insert(f->name).second) << f->name;
        EXPECT_EQ(FindFieldRange(f->name), f);
    }
    // Every design field with an input field, the site's, then the 4 choice and 5 numbering
    // fields.
    std::size_t inputs = SiteFields().size();
    for (const DesignField& f : DesignFields()) inputs += f.HasInput() ? 1 : 0;
    EXPECT_EQ(names.size(), inputs + 4 + 5);
    EXPECT_EQ(FindFieldRange("CInpJiban.Nothing"), nullptr);
    EXPECT_EQ(FindFieldRange("Fai"), nullptr);
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
        // Open lower limits show the first value the field takes as typed.
        {"CInpJyoken.Delta", "入力範囲：0.01 ～ 1.00", "許容変位量δ(m)"},
        {"CInpJiban.Gw", "入力範囲：0.1 ～ 99.0", "水の単位体積重量γw(kN/m3)"},
        {"CInpZairyo.YSat", "入力範囲：1 ～ 999", "曲げ引張応力度"},
        {"CInpJiban.KH", "入力範囲：1 ～ 999999", "水平方向地盤反力係数Ｋh(kN/m3)"},
        {"CInpZairyo.EcHira", "入力範囲：1,000,000 ～ 999,999,999", "平　形"},
        {"CInpZairyo.AlphaZs", "入力範囲：0.1 ～ 1.0", "応力度照査時"},
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
    const FieldRange& fai = *FindFieldRange("CInpJiban.Fai");
    EXPECT_TRUE(InRange(fai, 0));
    EXPECT_TRUE(InRange(fai, 60));
    EXPECT_FALSE(InRange(fai, 60.0001));
    EXPECT_FALSE(InRange(fai, -0.0001));
    EXPECT_FALSE(InRange(*FindFieldRange("CInpJyoken.ELGL"), 1000));
    EXPECT_FALSE(InRange(*FindFieldRange("CInpJyoken.K2Ho"), 0));
    EXPECT_FALSE(InRange(*FindFieldRange("frmInpYaita.numSect"), 0));
}

// Every value the user can type at a field's precision keeps the verdict of the exact decimal
// comparison, at both limits and three steps either side; a value carrying floating-point noise
// that the field still shows as a limit is accepted, one shown past it is refused.
TEST(FieldRanges, TypedValuesNearTheLimitsKeepTheirVerdict) {
    for (const FieldRange* f : AllFieldRanges()) {
        ASSERT_EQ(DecimalPlaces(f->editFormat), DecimalPlaces(f->displayFormat)) << f->name;
        const double scale = std::pow(10.0, DecimalPlaces(f->editFormat));
        const long long lo = std::llround(f->min * scale);
        const long long hi = std::llround(f->max * scale);
        for (const long long limit : {lo, hi}) {
            for (long long n = limit - 3; n <= limit + 3; ++n) {
                // The double of the typed decimal text: both operands exact, so the quotient is
                // the nearest double to the decimal, as the text reads.
                const double typed = static_cast<double>(n) / scale;
                const bool above = f->minOpen ? n > lo : n >= lo;
                EXPECT_EQ(InRange(*f, typed), above && n <= hi) << f->name << " " << typed;
            }
        }
        for (const double limit : {f->min, f->max}) {
            double noisy_up = limit;
            double noisy_down = limit;
            for (int i = 0; i < 4; ++i) {
                noisy_up = std::nextafter(noisy_up, HUGE_VAL);
                noisy_down = std::nextafter(noisy_down, -HUGE_VAL);
            }
            // An open limit refuses the limit itself and everything below it.
            const bool open = f->minOpen && limit == f->min;
            EXPECT_TRUE(InRange(*f, noisy_up)) << f->name << limit;
            EXPECT_EQ(InRange(*f, noisy_down), !open) << f->name << limit;
            EXPECT_EQ(InRange(*f, limit), !open) << f->name << limit;
        }
        EXPECT_FALSE(InRange(*f, f->max + 0.5 / scale)) << f->name;
        EXPECT_FALSE(InRange(*f, f->min - 0.5 / scale)) << f->name;
        EXPECT_FALSE(InRange(*f, std::nan(""))) << f->name;
    }
}

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
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
        {"title_40_full_width", "CInpJyoken.Title", Repeat("水", 40), true},
        {"title_41_full_width", "CInpJyoken.Title", Repeat("水", 41), false},
        {"title_80_half_width_kana", "CInpJyoken.Title", Repeat("ｱ", 80), true},
        {"title_with_comma", "CInpJyoken.Title", "A,B", true},
        {"title_empty", "CInpJyoken.Title", "", true},
        {"title_with_quote", "CInpJyoken.Title", "12\" pile", false},
        {"title_with_line_break", "CInpJyoken.Title", "a\nb", false},
        {"title_without_cp932_form", "CInpJyoken.Title", "wall \xF0\x9F\x8C\x8A", false},
        {"grade_10", "CInpZairyo.KYZai", "SS400ABCDE", true},
        {"grade_11", "CInpZairyo.YZai", "SY295ABCDEF", false},
        {"grade_5_full_width", "CInpZairyo.YZai", "ＳＹ２９５", true},
        {"section_name_15", "CInpSectS.Name", "SP-ⅥL(t=12.5)x", true},
        {"section_name_16", "CInpSectC.Name", std::string(16, 'H'), false},
        {"unknown_field", "CInpJyoken.ELGL", "4", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextFieldAcceptable(c.field, c.text), c.ok) << c.name;
    }
}

TEST(GridColumns, HeadersNewRowValuesAndHints) {
    const auto c = GridColumns("InpSectC");
    const auto s = GridColumns("InpSectS");
    ASSERT_EQ(c.size(), 7u);
    ASSERT_EQ(s.size(), 6u);
    const auto ls = GridColumns("InpSectLS");
    ASSERT_EQ(ls.size(), 6u);
    EXPECT_TRUE(GridColumns("InpSectX").empty());
    EXPECT_EQ(GridInputHint(c[0]), "入力範囲：15ﾊﾞｲﾄ以内の文字列");
    EXPECT_EQ(GridInputHint(c[1]), "入力範囲：(選択ﾘｽﾄ一覧より選択)");
    EXPECT_EQ(GridInputHint(c[2]), "入力範囲：100～999999999.9");
    EXPECT_EQ(GridInputHint(c[3]), "入力範囲：0～999.9");
    EXPECT_EQ(GridInputHint(s[2]), "入力範囲：10～9999999.9");
    // Light steel's thin sections: I' and I from 10 cm4/m, Z' and Z as steel's.
    EXPECT_EQ(GridInputHint(s[1]), "入力範囲：100～999999999.9");
    EXPECT_EQ(GridInputHint(ls[1]), "入力範囲：10～999999999.9");
    EXPECT_EQ(GridInputHint(ls[3]), "入力範囲：10～999999999.9");
    EXPECT_EQ(GridInputHint(ls[2]), GridInputHint(s[2]));
    // The mass per square metre of wall, 0 where it is not given.
    for (const auto& cols : {c, s, ls})
        EXPECT_EQ(GridInputHint(cols.back()), "入力範囲：0～9999.9");

    // A new row is valid as it stands.
    for (const auto& cols : {c, s}) {
        for (const GridColumn& col : cols) {
            if (col.kind == CellKind::Text) {
                EXPECT_EQ(col.newText, "(未定義)");
            } else {
                EXPECT_TRUE(CellAcceptable(col, col.newValue)) << col.name;
            }
        }
    }
    EXPECT_FALSE(CellAcceptable(c[1], 3));  // only the three shapes
    EXPECT_FALSE(CellAcceptable(s[1], 99.9));
}

}  // namespace
}  // namespace kuvelt
