#include "model/ranges.h"

#include <array>

#include "platform/cp932.h"
#include "platform/numfmt.h"

namespace kuvelt {
namespace {

constexpr std::string_view kElev = "+##0.00;-##0.00";
constexpr std::string_view kElevEdit = "##0.00";
constexpr std::string_view kModulus = "###,###,##0";
constexpr std::string_view kModulusEdit = "########0";
constexpr std::string_view kEGroup = "矢板の弾性係数Ｅ(kN/m2)";
constexpr std::string_view kLsGroup = "許容応力度(N/mm2) 軽量鋼矢板";
constexpr std::string_view kSGroup = "許容応力度(N/mm2) 鋼矢板";
constexpr std::string_view kAlphaIGroup = "継手効率α 断面2次ﾓｰﾒﾝﾄ";
constexpr std::string_view kAlphaZGroup = "継手効率α 断面係数";
constexpr std::string_view kHGroup = "(水平)";
constexpr std::string_view kSlopeGroup = "(一定勾配)";
constexpr std::string_view kTrapGroup = "(台形)";

// One field with a single format for display and editing.
constexpr FieldRange F(std::string_view name, std::string_view caption, double min, double max,
                       std::string_view format, std::string_view group = {}) {
    return FieldRange{name, caption, group, min, max, format, format};
}
constexpr FieldRange F2(std::string_view name, std::string_view caption, double min, double max,
                        std::string_view display, std::string_view edit,
                        std::string_view group = {}) {
    return FieldRange{name, caption, group, min, max, display, edit};
}

constexpr std::array kRanges = {
    // Design conditions.
    F2("CInpJyoken.ELGL", "地表面(m)", -999, 999, kElev, kElevEdit),
    F2("CInpJyoken.ELYU", "矢板天端(m)", -999, 999, kElev, kElevEdit),
    F2("CInpJyoken.ELDL", "設計地盤面(m)", -999, 999, kElev, kElevEdit),
    F2("CInpJyoken.ELWL", "地下水位面(m)", -999, 999, kElev, kElevEdit),
    F("CInpJyoken.Z", "設計地盤面より検討する深さ(m)", 1, 99, "#0.0"),
    F("CInpJyoken.K0X", "Ｘ(m)", 0, 99, "#0.00", kHGroup),
    F("CInpJyoken.K0Q", "Ｑ(kN/m2)", 0, 99, "#0.0", kHGroup),
    F("CInpJyoken.K1m", "勾配(１：ｍ)", 1, 999, "##0", kSlopeGroup),
    F("CInpJyoken.K1Q", "ｑ(kN/m2)", 0, 99, "#0.0", kSlopeGroup),
    F("CInpJyoken.K2X1", "Ｘ1(m)", 0, 99, "#0.00", kTrapGroup),
    F("CInpJyoken.K2X2", "Ｘ2(m)", 0.01, 99, "#0.00", kTrapGroup),
    F("CInpJyoken.K2Ho", "Ｈo(m)", 0.01, 99, "#0.00", kTrapGroup),
    F("CInpJyoken.K2Gs", "盛土部γ(kN/m3)", 0, 99, "#0.0", kTrapGroup),
    F("CInpJyoken.K2Q", "Ｑ(kN/m2)", 0, 99, "#0.0", kTrapGroup),
    F("CInpJyoken.Delta", "許容変位量δ(m)", 0, 1, "0.00"),
    F("CInpJyoken.Fsb", "ボイリングに対する許容安全率Fa", 1, 9, "0.0"),
    F("CInpJyoken.Fsh", "ヒービングに対する許容安全率Fa", 1, 9, "0.0"),
    // Ground conditions.
    F("CInpJiban.Gt", "土の湿潤単位体積重量γt(kN/m3)", 0, 99, "#0.0"),
    F("CInpJiban.Gws", "土の水中単位体積重量γws(kN/m3)", 0, 99, "#0.0"),
    F("CInpJiban.Gw", "水の単位体積重量γw(kN/m3)", 0, 99, "#0.0"),
    F("CInpJiban.Fai", "土の内部摩擦角φ(゜)", 0, 60, "#0.0"),
    F("CInpJiban.Ca", "粘着力の深さ方向の増加割合ａ", 0, 99, "#0.0"),
    F("CInpJiban.Cb", "地表面における粘着力ｂ(kN/m2)", 0, 999, "##0.0"),
    F("CInpJiban.KH", "水平方向地盤反力係数Ｋh(kN/m3)", 1, 999999, "#####0"),
    // Materials.
    F2("CInpZairyo.EcHira", "平　形", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    F2("CInpZairyo.EcMizo", "溝　形", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    F2("CInpZairyo.EcNami", "波　形", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    F2("CInpZairyo.Esky", "軽量鋼矢板", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    F2("CInpZairyo.Esy", "鋼矢板", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    F("CInpZairyo.KYSat", "曲げ引張応力度", 0, 999, "##0", kLsGroup),
    F("CInpZairyo.KYSac", "曲げ圧縮応力度", 0, 999, "##0", kLsGroup),
    F("CInpZairyo.YSat", "曲げ引張応力度", 0, 999, "##0", kSGroup),
    F("CInpZairyo.YSac", "曲げ圧縮応力度", 0, 999, "##0", kSGroup),
    F("CInpZairyo.AlphaIz", "根入長算定時", 0, 1, "0.0", kAlphaIGroup),
    F("CInpZairyo.AlphaIs", "応力度照査時", 0, 1, "0.0", kAlphaIGroup),
    F("CInpZairyo.AlphaId", "変位量照査時", 0, 1, "0.0", kAlphaIGroup),
    F("CInpZairyo.AlphaZs", "応力度照査時", 0, 1, "0.0", kAlphaZGroup),
    // The chosen sheet pile.
    F("CInpYaita.Sect", "矢板断面№", 1, 99, "#0"),
    F("CInpYaita.H", "壁高Ｈ'(m)", 0, 99, "#0.00"),
    F("CInpYaita.D", "根入れ長Ｄ(m)", -99, 99, "#0.00"),
    F("CInpYaita.L", "矢板全長Ｌ(m)", 0, 99, "#0.00"),
    // Sheet-pile choice window.
    F("frmInpYaita.numL", "矢板全長Ｌ(m)", 0, 99, "#0.00"),
    F("frmInpYaita.numSect", "矢板断面№", 1, 99, "#0"),
    F("frmInpYaita.numD", "根入れ長Ｄ(m)", -99, 99, "#0.00"),
    F("frmInpYaita.numH", "壁高Ｈ'(m)", 0, 99, "#0.00"),
    // Numbering window.
    F("frmInpRenban.numInit", "（章）に対する初期値", 0, 99, "#0"),
    F("frmInpRenban.numMargin0", "（章）レベルに対して", 0, 10, "#0"),
    F("frmInpRenban.numMargin1", "（節）レベルに対して", 0, 10, "#0"),
    F("frmInpRenban.numMargin2", "（項）レベルに対して", 0, 10, "#0"),
    F("frmInpRenban.numMargin3", "（№）レベルに対して", 0, 10, "#0"),
};

constexpr std::array kTexts = {
    TextLimit{"CInpJyoken.Title", "件名", 80},
    TextLimit{"CInpZairyo.KYZai", "材　　　質", 10},
    TextLimit{"CInpZairyo.YZai", "材　　　質", 10},
    TextLimit{"InpSectC.Name", "名称(形式など)", 15},
    TextLimit{"InpSectS.Name", "名称(形式など)", 15},
};

constexpr std::array kConcreteColumns = {
    GridColumn{"InpSectC", 1, "名称(形式など)", "Name", CellKind::Text, 0, 0, 15, 0, "(未定義)"},
    GridColumn{"InpSectC", 2, "形状", "Keijyo", CellKind::List, 0, 2, 0, 0, {}},
    GridColumn{"InpSectC", 3, "I(cm4/m)", "Ic", CellKind::Number, 100, 999999999.9, 0, 100, {}},
    GridColumn{"InpSectC", 4, "Ｍc(kN･m/m)", "Mc", CellKind::Decimal, 0, 999.9, 0, 0, {}},
    GridColumn{"InpSectC", 5, "Lmin(m)", "Lmin", CellKind::Decimal, 0, 99.9, 0, 0, {}},
    GridColumn{"InpSectC", 6, "Lmax(m)", "Lmax", CellKind::Decimal, 0, 99.9, 0, 0, {}},
};

constexpr std::array kSteelColumns = {
    GridColumn{"InpSectS", 1, "名称(形式など)", "Name", CellKind::Text, 0, 0, 15, 0, "(未定義)"},
    GridColumn{"InpSectS", 2, "Ｉ'(cm4/m)", "Id", CellKind::Number, 100, 999999999.9, 0, 100, {}},
    GridColumn{"InpSectS", 3, "Ｚ'(cm3/m)", "Zd", CellKind::Number, 10, 9999999.9, 0, 10, {}},
    GridColumn{"InpSectS", 4, "Ｉ(cm4/m)", "Io", CellKind::Number, 100, 999999999.9, 0, 100, {}},
    GridColumn{"InpSectS", 5, "Ｚ(cm3/m)", "Zo", CellKind::Number, 10, 9999999.9, 0, 10, {}},
};

}  // namespace

std::span<const FieldRange> AllFieldRanges() { return kRanges; }

const FieldRange* FindFieldRange(std::string_view name) {
    for (const FieldRange& f : kRanges) {
        if (f.name == name) return &f;
    }
    return nullptr;
}

bool InRange(const FieldRange& f, double value) { return value >= f.min && value <= f.max; }

Message RangeMessage(const FieldRange& f) {
    std::string text = "入力範囲：";
    text += numfmt::FormatNumber(f.min, f.displayFormat);
    text += " ～ ";
    text += numfmt::FormatNumber(f.max, f.displayFormat);
    return Message{0, text, std::string(f.caption), MsgIcon::Information, MsgButtons::Ok};
}

std::span<const TextLimit> AllTextLimits() { return kTexts; }

const TextLimit* FindTextLimit(std::string_view name) {
    for (const TextLimit& t : kTexts) {
        if (t.name == name) return &t;
    }
    return nullptr;
}

bool TextFieldAcceptable(std::string_view field, std::string_view text) {
    const TextLimit* t = FindTextLimit(field);
    if (t == nullptr) return false;
    for (char c : text) {
        // A double quote would end the text early in the design file; a line break would split
        // a one-line field.
        if (c == '"' || c == '\r' || c == '\n') return false;
    }
    bool exact = false;
    const std::string bytes = cp932::FromUtf8(text, &exact);
    // A character without a code page 932 form would be saved as "?": refuse it here, where the
    // user can still see what was typed.
    if (!exact) return false;
    return bytes.size() <= static_cast<std::size_t>(t->maxBytes);
}

std::span<const GridColumn> GridColumns(std::string_view grid) {
    if (grid == "InpSectC") return kConcreteColumns;
    if (grid == "InpSectS") return kSteelColumns;
    return {};
}

std::string GridInputHint(const GridColumn& c) {
    std::string hint = "入力範囲：";
    switch (c.kind) {
        case CellKind::Text:
            return hint + std::to_string(c.maxBytes) + "ﾊﾞｲﾄ以内の文字列";
        case CellKind::List:
            return hint + "(選択ﾘｽﾄ一覧より選択)";
        case CellKind::Number:
        case CellKind::Decimal:
            return hint + numfmt::General(c.min) + "～" + numfmt::General(c.max);
    }
    return {};
}

bool CellAcceptable(const GridColumn& c, double value) { return value >= c.min && value <= c.max; }

}  // namespace kuvelt
