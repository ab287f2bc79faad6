#include "model/design_checks.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <span>
#include <string>
#include <type_traits>
#include <utility>

#include "model/design_fields.h"
#include "model/ranges.h"
#include "platform/numfmt.h"

namespace kuvelt {

namespace {

// The angle conversion of the earth-pressure calculation.
constexpr double kPi = 3.141592654;

// The windows' captions, for the messages that send the user to one of them.
constexpr std::string_view kJyokenWindow = "設計条件の入力";
constexpr std::string_view kJibanWindow = "地盤条件の入力";
constexpr std::string_view kZairyoWindow = "材料条件の入力";
constexpr std::string_view kChoiceWindow = "使用断面の決定";
constexpr std::string_view kGridWindows[] = {"コンクリート矢板断面の登録", "軽量鋼矢板断面の登録",
                                             "鋼矢板断面の登録"};

// A level as the window shows it: sign and two decimals ("+3.50").
std::string Level(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%+.2f", v);
    return buf;
}

std::string Depth(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

Message Information(std::string text, std::string_view title) {
    return Message{0, std::move(text), std::string(title), MsgIcon::Information, MsgButtons::Ok};
}

// A layer's name in a sentence: "第3層の" for the layers below the first (row 2 of the layer grid
// is the third layer of the ground), nothing for the first layer, whose fields are the ground's
// own.
std::string LayerName(std::size_t row) {
    return row == 0 ? std::string() : "第" + std::to_string(row + 1) + "層の";
}

// φ of a sandy layer below a constant slope: the active wedge has no solution. Every sandy layer
// counts, not only the first: the wedge behind the wall runs down through all of them, each
// layer's earth pressure taking the slope of the ground surface with its own φ. The first such
// layer, as its grid row (0 the first layer), with the message.
struct SlopeFault {
    std::size_t row;
    Message message;
};
std::optional<SlopeFault> SlopeConflict(const CInpJyoken& c, const CInpJiban& g,
                                        std::string_view title) {
    if (c.Keijyo != 1) return std::nullopt;
    const double beta = SlopeAngle(c.K1m);
    for (std::size_t row = 0; row <= g.Layers.size(); ++row) {
        const int32_t kind = row == 0 ? g.Kind : g.Layers[row - 1].Kind;
        const double fai = row == 0 ? g.Fai : g.Layers[row - 1].Fai;
        // The earth pressure keeps its square-root term up to a slope equal to φ.
        if (kind != 0 || !(beta > fai + 1e-9)) continue;
        return SlopeFault{
            row, Information("勾配(１：ｍ) " + numfmt::General(c.K1m) + " の地表面の傾斜角 " +
                                 numfmt::FormatNumber(beta, "0.00") + "° が" +
                                 (row == 0 ? "土の" : LayerName(row)) + "内部摩擦角φ(゜) " +
                                 numfmt::FormatNumber(fai, "#0.0") +
                                 " を超えています。砂質土では主働土圧のｸｰﾛﾝ式が成り立たないため"
                                 "計算できません。勾配を緩くするか，φ を見直して下さい。",
                             title)};
    }
    return std::nullopt;
}

// A field's name as a sentence gives it: the heading it stands under, then its caption.
std::string Label(const FieldRange& f) {
    std::string s;
    if (!f.group.empty()) s = std::string(f.group) + " ";
    return s + std::string(f.caption);
}

DesignRefusal OutOfRange(const DesignField& f, double v, std::string_view where, std::string label,
                         std::string range, std::string field) {
    return DesignRefusal{Information(label + " " + numfmt::General(v) + " は入力範囲外です（" +
                                         range + "）。" + std::string(where) + "で修正して下さい。",
                                     f.caption),
                         std::move(field)};
}

// A choice stored as a number that no option of the window has.
DesignRefusal BadCode(std::string_view label, int32_t v, std::span<const std::string_view> options,
                      std::string_view where, std::string_view title, std::string field) {
    std::string list;
    for (std::size_t i = 0; i < options.size(); ++i) {
        list += (i ? "，" : "") + std::to_string(i) + "：" + std::string(options[i]);
    }
    return DesignRefusal{
        Information(std::string(label) + " " + std::to_string(v) + " は選択肢にありません（" +
                        list + "）。" + std::string(where) + "で選択して下さい。",
                    title),
        std::move(field)};
}

bool IsCode(int32_t v, std::size_t options) {
    return v >= 0 && static_cast<std::size_t>(v) < options;
}

// The numeric fields of one record that its window checks, in window order (the channel water
// level and the wall friction angles after the record's own fields).
std::optional<DesignRefusal> FieldRefusal(Record r, std::string_view where) {
    const void* record = CurrentRecord(r);
    for (const std::span<const DesignField> table : {DesignFields(), SiteFields()}) {
        for (const DesignField& f : table) {
            if (f.record != r || !f.HasInput()) continue;
            if (!FieldInForce(f.name, gInpJyoken.Keijyo, gInpJiban.Kind)) continue;
            const double v = NumberOf(f, record);
            if (DesignValueAcceptable(f, v)) continue;
            return OutOfRange(f, v, where, Label(f), RangeMessage(f).text, std::string(f.name));
        }
    }
    return std::nullopt;
}

ConditionConflict Conflict(DesignRefusal r) {
    return ConditionConflict{std::move(r.message), std::move(r.field)};
}

// A layer below the first (grid row `row`, from 1): its kind, then each value it takes part with
// inside its column's range, then its top between the layer above and the examined depth.
std::optional<ConditionConflict> LayerConflict(const CInpJiban& g, const CInpJyoken& c,
                                               std::size_t row) {
    const CInpJibanLayer& layer = g.Layers[row - 1];
    const std::string name = LayerName(row);
    if (!IsCode(layer.Kind, std::size(kKindCaptions))) {
        return Conflict(BadCode(name + "土質", layer.Kind, kKindCaptions, kJibanWindow,
                                kJibanWindow, LayerFieldPath(row, "Kind")));
    }
    for (const DesignField& f : LayerFields()) {
        if (f.kind == CellKind::List || !FieldInForce(f.name, c.Keijyo, layer.Kind)) continue;
        const double v = NumberOf(f, &layer);
        if (DesignValueAcceptable(f, v)) continue;
        return Conflict(OutOfRange(f, v, kJibanWindow, name + std::string(f.caption),
                                   GridInputHint(f), LayerFieldPath(row, f.Member())));
    }
    // Each layer has thickness: its top lies below the top of the layer above (the ground
    // surface for the second layer) and above the bottom of the examined depth.
    const bool second = row == 1;
    const double above = second ? c.ELGL : g.Layers[row - 2].ELU;
    const std::string top = name + "上端標高(m) " + Level(layer.ELU);
    if (!(layer.ELU < above)) {
        return ConditionConflict{
            Information(top + " が" +
                            (second ? "地表面(m) " : LayerName(row - 1) + "上端標高(m) ") +
                            Level(above) + " 以上です。層の上端は" +
                            (second ? "地表面" : "上の層の上端") + "より低くして下さい。",
                        kJibanWindow),
            LayerFieldPath(row, "ELU")};
    }
    const double bottom = c.ELDL - c.Z;
    if (!(layer.ELU > bottom)) {
        return ConditionConflict{
            Information(top + " が検討する深さの下端(m) " + Level(bottom) + "（設計地盤面(m) " +
                            Level(c.ELDL) + " － " + Depth(c.Z) +
                            "）以下です。層の上端は下端より高くして下さい。",
                        kJibanWindow),
            LayerFieldPath(row, "ELU")};
    }
    return std::nullopt;
}

// A wall friction angle other than the default outside 0 … φ of a sandy layer: the wall cannot
// take more friction than the soil itself.
std::optional<ConditionConflict> FrictionConflict(const CInpJiban& g, const DesignField& f) {
    const double delta = NumberOf(f, &g);
    if (delta == kDefaultWallFriction) return std::nullopt;
    for (std::size_t row = 0; row <= g.Layers.size(); ++row) {
        const int32_t kind = row == 0 ? g.Kind : g.Layers[row - 1].Kind;
        const double fai = row == 0 ? g.Fai : g.Layers[row - 1].Fai;
        if (kind != 0 || !(delta > fai + 1e-9)) continue;
        return ConditionConflict{
            Information(std::string(f.caption) + " " + numfmt::FormatNumber(delta, "#0.0") + " が" +
                            (row == 0 ? "土の" : LayerName(row)) + "内部摩擦角φ(゜) " +
                            numfmt::FormatNumber(fai, "#0.0") +
                            " を超えています。壁面摩擦角は 0 ～ φ として下さい（既定値 " +
                            numfmt::FormatNumber(kDefaultWallFriction, "#0.0") + " を除く）。",
                        kJibanWindow),
            std::string(f.name)};
    }
    return std::nullopt;
}

template <class Col>
std::optional<DesignRefusal> RowRefusal(const Col& col, Catalogue cat) {
    const std::size_t k = static_cast<std::size_t>(cat);
    const std::string_view where = kGridWindows[k];
    const std::string_view kind =
        std::array<std::string_view, 3>{"ｺﾝｸﾘｰﾄ矢板", "軽量鋼矢板", "鋼矢板"}[k];
    const std::string global = cat == Catalogue::Concrete     ? "gInpSectC"
                               : cat == Catalogue::LightSteel ? "gInpSectLS"
                                                              : "gInpSectS";
    if (col.Count() > kMaxSections) {
        return DesignRefusal{
            Information(std::string(kind) + "の登録断面数 " + std::to_string(col.Count()) +
                            " が登録できる断面数（最大" + std::to_string(kMaxSections) +
                            "断面）を超えています。" + std::string(where) + "で減らして下さい。",
                        where),
            global};
    }
    int32_t n = 0;
    for (const auto& row : col) {
        ++n;
        const std::string at = global + "[" + std::to_string(n - 1) + "]";
        for (const DesignField& f : SectionFields(cat)) {
            if (f.kind == CellKind::Text) continue;
            const double v = NumberOf(f, &row);
            if (DesignValueAcceptable(f, v)) continue;
            const std::string field = at + "." + std::string(f.Member());
            if (f.kind == CellKind::List) {
                return BadCode(
                    std::string(kind) + " №" + std::to_string(n) + " の" + std::string(f.caption),
                    static_cast<int32_t>(v), kSectShapeCaptions, where, where, field);
            }
            return OutOfRange(
                f, v, where,
                std::string(kind) + " №" + std::to_string(n) + " の" + std::string(f.caption),
                GridInputHint(f), field);
        }
        if constexpr (std::is_same_v<Col, colInpSectC>) {
            if (LengthsCross(row.Lmin, row.Lmax)) {
                return DesignRefusal{LengthOrderMessage(n, row.Lmin, row.Lmax, std::string(where)),
                                     at + ".Lmin"};
            }
        }
    }
    return std::nullopt;
}

std::optional<DesignRefusal> ChoiceRefusal() {
    const CInpYaita& y = gInpYaita;
    if (!IsCode(y.Yaita, std::size(kYaitaCaptions))) {
        return BadCode("使用矢板の種類", y.Yaita, kYaitaCaptions, kChoiceWindow, "使用矢板の決定",
                       "CInpYaita.Yaita");
    }
    const int32_t n = CatalogueSize(y.Yaita);
    if (y.Sect < 1 || y.Sect > n) {
        return DesignRefusal{
            Information("使用矢板 " + std::string(kYaitaCaptions[y.Yaita]) + " №" +
                            std::to_string(y.Sect) + " は登録ﾃﾞｰﾀにありません（登録 " +
                            std::to_string(n) + " 断面）。" + std::string(kChoiceWindow) +
                            "で登録ﾃﾞｰﾀより選択し直して下さい。",
                        "断面№ｴﾗｰ"),
            "CInpYaita.Sect"};
    }
    // H' and D are not checked: they are derived from the design and the length at every run,
    // and nothing calculates with the stored ones.
    const DesignField& L = *FindDesignField("CInpYaita.L");
    if (!DesignValueAcceptable(L, y.L)) {
        return OutOfRange(L, y.L, kChoiceWindow, Label(L), RangeMessage(L).text, "CInpYaita.L");
    }
    if (std::optional<Message> m = PileLengthRefusal(y.L, gInpJyoken)) {
        return DesignRefusal{*m, "CInpYaita.L"};
    }
    return std::nullopt;
}

}  // namespace

bool FieldInForce(std::string_view field, int32_t keijyo, int32_t kind) {
    struct Dependent {
        std::string_view field;
        bool onShape;   // enabled by the surcharge shape, else by the ground kind
        int32_t value;  // the shape or kind that enables it
    };
    static constexpr Dependent kDependent[] = {
        {"CInpJyoken.K0X", true, 0},      {"CInpJyoken.K0Q", true, 0},
        {"CInpJyoken.K1m", true, 1},      {"CInpJyoken.K1Q", true, 1},
        {"CInpJyoken.K2X1", true, 2},     {"CInpJyoken.K2X2", true, 2},
        {"CInpJyoken.K2Ho", true, 2},     {"CInpJyoken.K2Gs", true, 2},
        {"CInpJyoken.K2Q", true, 2},      {"CInpJiban.Fai", false, 0},
        {"CInpJiban.Ca", false, 1},       {"CInpJiban.Cb", false, 1},
        {"CInpJibanLayer.Fai", false, 0}, {"CInpJibanLayer.Ca", false, 1},
        {"CInpJibanLayer.Cb", false, 1},
    };
    for (const Dependent& d : kDependent) {
        if (d.field == field) return (d.onShape ? keijyo : kind) == d.value;
    }
    return true;
}

double SlopeAngle(double m) { return std::atan(1.0 / m) * 180.0 / kPi; }

std::optional<ConditionConflict> DesignConditionsConflict(const CInpJyoken& c, const CInpJiban& g) {
    if (c.ELDL >= c.ELGL) {
        return ConditionConflict{
            Information("設計地盤面(m) " + Level(c.ELDL) + " が地表面(m) " + Level(c.ELGL) +
                            " 以上です。壁高がないため計算できません。設計地盤面を地表面より低くし"
                            "て下さい。",
                        kJyokenWindow),
            "CInpJyoken.ELDL"};
    }
    if (c.ELYU < c.ELGL) {
        return ConditionConflict{
            Information("矢板天端(m) " + Level(c.ELYU) + " が地表面(m) " + Level(c.ELGL) +
                            " より低くなっています。矢板天端は地表面以上として下さい。",
                        kJyokenWindow),
            "CInpJyoken.ELYU"};
    }
    if (!(c.Z > 0.0)) {
        return ConditionConflict{
            Information("設計地盤面より検討する深さ(m) " + Depth(c.Z) + " では設計地盤面(m) " +
                            Level(c.ELDL) + " より下が検討されません。正の深さを入力して下さい。",
                        kJyokenWindow),
            "CInpJyoken.Z"};
    }
    // The water in the channel stands in front of the wall, on or above its ground.
    if (c.ELWF != kChannelWaterAtDesignGround && c.ELWF < c.ELDL) {
        return ConditionConflict{
            Information("前面水位(m) " + Level(c.ELWF) + " が設計地盤面(m) " + Level(c.ELDL) +
                            " より低くなっています。前面水位は設計地盤面以上として下さい。",
                        kJyokenWindow),
            "CInpJyoken.ELWF"};
    }
    if (std::optional<SlopeFault> m = SlopeConflict(c, g, kJyokenWindow)) {
        return ConditionConflict{m->message, "CInpJyoken.K1m"};
    }
    return std::nullopt;
}

std::optional<ConditionConflict> GroundConditionsConflict(const CInpJiban& g, const CInpJyoken& c) {
    if (g.Layers.size() + 1 > static_cast<std::size_t>(kMaxGroundLayers)) {
        return ConditionConflict{
            Information("地盤の層数 " + std::to_string(g.Layers.size() + 1) +
                            " が入力できる層数（最大" + std::to_string(kMaxGroundLayers) +
                            "層）を超えています。" + std::string(kJibanWindow) +
                            "で減らして下さい。",
                        kJibanWindow),
            LayerFieldPath(static_cast<std::size_t>(kMaxGroundLayers), "ELU")};
    }
    for (std::size_t row = 1; row <= g.Layers.size(); ++row) {
        if (auto conflict = LayerConflict(g, c, row)) return conflict;
    }
    if (std::optional<SlopeFault> m = SlopeConflict(c, g, kJibanWindow)) {
        return ConditionConflict{m->message,
                                 m->row == 0 ? "CInpJiban.Fai" : LayerFieldPath(m->row, "Fai")};
    }
    for (const DesignField& f : SiteFields()) {
        if (f.record != Record::Jiban) continue;
        if (auto conflict = FrictionConflict(g, f)) return conflict;
    }
    return std::nullopt;
}

std::string LayerFieldPath(std::size_t row, std::string_view member) {
    return "gInpJiban.Layers[" + std::to_string(row) + "]." + std::string(member);
}

Message LengthOrderMessage(int row, double lmin, double lmax, const std::string& title,
                           bool paste) {
    std::string text = std::to_string(row) + " 行目の Lmin(m) " + numfmt::General(lmin) +
                       " が Lmax(m) " + numfmt::General(lmax) +
                       " を超えています。\nLmin(m) は Lmax(m) 以下として下さい。";
    if (paste) text += "\n貼り付けは行いませんでした。";
    return Information(text, title);
}

double LeastPileLength(const CInpJyoken& c) {
    // The height of the pile head above the design ground level, then the next length the
    // field's two decimals can hold above it (a millionth of a step absorbs the binary noise of
    // a difference of levels such as 3.3 - (-0.2)).
    const double above = c.ELYU - c.ELDL;
    return (std::floor(above * 100.0 + 1e-6) + 1.0) / 100.0;
}

std::optional<Message> PileLengthRefusal(double L, const CInpJyoken& c) {
    const double above = c.ELYU - c.ELDL;
    if (L - above > 1e-9) return std::nullopt;
    return Message{
        0,
        "矢板全長Ｌ " + numfmt::FormatNumber(L, "0.00") +
            " m では矢板が設計地盤面より下に根入れされません（矢板天端から設計地盤面まで " +
            numfmt::FormatNumber(above, "0.00") + " m）。矢板全長Ｌは " +
            numfmt::FormatNumber(LeastPileLength(c), "0.00") + " m 以上として下さい。",
        "矢板長ｴﾗｰ", MsgIcon::Information, MsgButtons::Ok};
}

int32_t CatalogueSize(int32_t yaita) {
    switch (yaita) {
        case 0:
            return gInpSectC.Count();
        case 1:
            return gInpSectLS.Count();
        case 2:
            return gInpSectS.Count();
        default:
            return 0;
    }
}

std::optional<DesignRefusal> RefuseDesign(StoredChoice stored) {
    const CInpJyoken& j = gInpJyoken;
    if (!IsCode(j.Keijyo, std::size(kKeijyoCaptions))) {
        return BadCode("矢板壁背面の地表面形状", j.Keijyo, kKeijyoCaptions, kJyokenWindow,
                       kJyokenWindow, "CInpJyoken.Keijyo");
    }
    if (j.Nekiri != 0 && j.Nekiri != 1) {
        constexpr std::string_view kNekiri[] = {"行わない", "行う"};
        return BadCode("根切り底面の安定検討", j.Nekiri, kNekiri, kJyokenWindow, kJyokenWindow,
                       "CInpJyoken.Nekiri");
    }
    if (auto r = FieldRefusal(Record::Jyoken, kJyokenWindow)) return r;
    if (auto c = DesignConditionsConflict(j, gInpJiban)) {
        return DesignRefusal{c->message, c->focusField};
    }
    if (!IsCode(gInpJiban.Kind, std::size(kKindCaptions))) {
        return BadCode("地盤の種類", gInpJiban.Kind, kKindCaptions, kJibanWindow, kJibanWindow,
                       "CInpJiban.Kind");
    }
    if (auto r = FieldRefusal(Record::Jiban, kJibanWindow)) return r;
    if (auto c = GroundConditionsConflict(gInpJiban, j)) {
        return DesignRefusal{c->message, c->focusField};
    }
    if (auto r = FieldRefusal(Record::Zairyo, kZairyoWindow)) return r;
    if (auto r = RowRefusal(gInpSectC, Catalogue::Concrete)) return r;
    if (auto r = RowRefusal(gInpSectLS, Catalogue::LightSteel)) return r;
    if (auto r = RowRefusal(gInpSectS, Catalogue::Steel)) return r;
    if (stored == StoredChoice::Checked && gInpYaita.InpFlg) return ChoiceRefusal();
    return std::nullopt;
}

}  // namespace kuvelt
