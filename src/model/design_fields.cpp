#include "model/design_fields.h"

#include <array>
#include <cmath>
#include <limits>

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
constexpr std::string_view kNewSection = "(未定義)";

using J = CInpJyoken;
using G = CInpJiban;
using Z = CInpZairyo;
using Y = CInpYaita;
using SC = CInpSectC;
using SS = CInpSectS;
using H = CInpHyoshi;
using GL = CInpJibanLayer;

// Design-file order. A field added later that older readers must not see goes at the end, with
// .Optional().
constexpr std::array kFields = {
    // Design conditions.
    Field<&J::InpFlg>("CInpJyoken.InpFlg"),
    Field<&J::Title>("CInpJyoken.Title").Bytes("件名", 80),
    Field<&J::ELGL>("CInpJyoken.ELGL").Input("地表面(m)", -999, 999, kElev, kElevEdit),
    Field<&J::ELYU>("CInpJyoken.ELYU").Input("矢板天端(m)", -999, 999, kElev, kElevEdit),
    Field<&J::ELDL>("CInpJyoken.ELDL").Input("設計地盤面(m)", -999, 999, kElev, kElevEdit),
    Field<&J::ELWL>("CInpJyoken.ELWL").Input("地下水位面(m)", -999, 999, kElev, kElevEdit),
    Field<&J::Z>("CInpJyoken.Z").Input("設計地盤面より検討する深さ(m)", 1, 99, "#0.0"),
    Field<&J::Keijyo>("CInpJyoken.Keijyo"),
    Field<&J::K0X>("CInpJyoken.K0X").Input("Ｘ(m)", 0, 99, "#0.00", {}, kHGroup),
    Field<&J::K0Q>("CInpJyoken.K0Q").Input("Ｑ(kN/m2)", 0, 99, "#0.0", {}, kHGroup),
    Field<&J::K1m>("CInpJyoken.K1m").Input("勾配(１：ｍ)", 1, 999, "##0", {}, kSlopeGroup),
    Field<&J::K1Q>("CInpJyoken.K1Q").Input("ｑ(kN/m2)", 0, 99, "#0.0", {}, kSlopeGroup),
    Field<&J::K2X1>("CInpJyoken.K2X1").Input("Ｘ1(m)", 0, 99, "#0.00", {}, kTrapGroup),
    Field<&J::K2X2>("CInpJyoken.K2X2").Input("Ｘ2(m)", 0.01, 99, "#0.00", {}, kTrapGroup),
    Field<&J::K2Ho>("CInpJyoken.K2Ho").Input("Ｈo(m)", 0.01, 99, "#0.00", {}, kTrapGroup),
    Field<&J::K2Gs>("CInpJyoken.K2Gs").Input("盛土部γ(kN/m3)", 0, 99, "#0.0", {}, kTrapGroup),
    Field<&J::K2Q>("CInpJyoken.K2Q").Input("Ｑ(kN/m2)", 0, 99, "#0.0", {}, kTrapGroup),
    Field<&J::Delta>("CInpJyoken.Delta").Input("許容変位量δ(m)", 0, 1, "0.00").AboveMin(),
    Field<&J::Fsb>("CInpJyoken.Fsb").Input("ボイリングに対する許容安全率Fa", 1, 9, "0.0"),
    Field<&J::Fsh>("CInpJyoken.Fsh").Input("ヒービングに対する許容安全率Fa", 1, 9, "0.0"),
    Field<&J::Nekiri>("CInpJyoken.Nekiri"),
    // Ground conditions.
    Field<&G::InpFlg>("CInpJiban.InpFlg"),
    Field<&G::Kind>("CInpJiban.Kind"),
    Field<&G::Gt>("CInpJiban.Gt").Input("土の湿潤単位体積重量γt(kN/m3)", 0, 99, "#0.0").AboveMin(),
    Field<&G::Gws>("CInpJiban.Gws")
        .Input("土の水中単位体積重量γws(kN/m3)", 0, 99, "#0.0")
        .AboveMin(),
    Field<&G::Gw>("CInpJiban.Gw").Input("水の単位体積重量γw(kN/m3)", 0, 99, "#0.0").AboveMin(),
    Field<&G::Fai>("CInpJiban.Fai").Input("土の内部摩擦角φ(゜)", 0, 60, "#0.0"),
    Field<&G::Ca>("CInpJiban.Ca").Input("粘着力の深さ方向の増加割合ａ", 0, 99, "#0.0"),
    Field<&G::Cb>("CInpJiban.Cb").Input("地表面における粘着力ｂ(kN/m2)", 0, 999, "##0.0"),
    Field<&G::KH>("CInpJiban.KH").Input("水平方向地盤反力係数Ｋh(kN/m3)", 1, 999999, "#####0"),
    // Materials.
    Field<&Z::InpFlg>("CInpZairyo.InpFlg"),
    Field<&Z::EcHira>("CInpZairyo.EcHira")
        .Input("平　形", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    Field<&Z::EcMizo>("CInpZairyo.EcMizo")
        .Input("溝　形", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    Field<&Z::EcNami>("CInpZairyo.EcNami")
        .Input("波　形", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    Field<&Z::Esky>("CInpZairyo.Esky")
        .Input("軽量鋼矢板", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    Field<&Z::Esy>("CInpZairyo.Esy")
        .Input("鋼矢板", 1000000, 999999999, kModulus, kModulusEdit, kEGroup),
    Field<&Z::KYZai>("CInpZairyo.KYZai").Bytes("材　　　質", 10),
    Field<&Z::KYSat>("CInpZairyo.KYSat")
        .Input("曲げ引張応力度", 0, 999, "##0", {}, kLsGroup)
        .AboveMin(),
    Field<&Z::KYSac>("CInpZairyo.KYSac")
        .Input("曲げ圧縮応力度", 0, 999, "##0", {}, kLsGroup)
        .AboveMin(),
    Field<&Z::YZai>("CInpZairyo.YZai").Bytes("材　　　質", 10),
    Field<&Z::YSat>("CInpZairyo.YSat")
        .Input("曲げ引張応力度", 0, 999, "##0", {}, kSGroup)
        .AboveMin(),
    Field<&Z::YSac>("CInpZairyo.YSac")
        .Input("曲げ圧縮応力度", 0, 999, "##0", {}, kSGroup)
        .AboveMin(),
    Field<&Z::AlphaIz>("CInpZairyo.AlphaIz")
        .Input("根入長算定時", 0, 1, "0.0", {}, kAlphaIGroup)
        .AboveMin(),
    Field<&Z::AlphaIs>("CInpZairyo.AlphaIs")
        .Input("応力度照査時", 0, 1, "0.0", {}, kAlphaIGroup)
        .AboveMin(),
    Field<&Z::AlphaId>("CInpZairyo.AlphaId")
        .Input("変位量照査時", 0, 1, "0.0", {}, kAlphaIGroup)
        .AboveMin(),
    Field<&Z::AlphaZs>("CInpZairyo.AlphaZs")
        .Input("応力度照査時", 0, 1, "0.0", {}, kAlphaZGroup)
        .AboveMin(),
    // The three catalogues.
    Rows("gInpSectC", Catalogue::Concrete),
    Rows("gInpSectLS", Catalogue::LightSteel),
    Rows("gInpSectS", Catalogue::Steel),
    // The chosen sheet pile.
    Field<&Y::InpFlg>("CInpYaita.InpFlg"),
    Field<&Y::Yaita>("CInpYaita.Yaita"),
    Field<&Y::Sect>("CInpYaita.Sect").Input("矢板断面№", 1, 99, "#0"),
    Field<&Y::H>("CInpYaita.H").Input("壁高Ｈ'(m)", 0, 99, "#0.00"),
    Field<&Y::D>("CInpYaita.D").Input("根入れ長Ｄ(m)", -99, 99, "#0.00"),
    Field<&Y::L>("CInpYaita.L").Input("矢板全長Ｌ(m)", 0, 99, "#0.00"),
    // The cover's block: 工事名, 発注者, 設計者 and 照査者 take 60 bytes (30 full-width
    // characters, one line of the cover's block), 日付 and 版 20.
    Field<&H::KojiMei>("CInpHyoshi.KojiMei").Bytes("工事名", 60).Optional(),
    Field<&H::Hachusha>("CInpHyoshi.Hachusha").Bytes("発注者", 60).Optional(),
    Field<&H::Sekkeisha>("CInpHyoshi.Sekkeisha").Bytes("設計者", 60).Optional(),
    Field<&H::Shosasha>("CInpHyoshi.Shosasha").Bytes("照査者", 60).Optional(),
    Field<&H::Hizuke>("CInpHyoshi.Hizuke").Bytes("日付", 20).Optional(),
    Field<&H::Han>("CInpHyoshi.Han").Bytes("版", 20).Optional(),
};

// The channel water and the wall friction: inputs of the conditions and the ground windows.
constexpr std::array kSiteFields = {
    Field<&J::ELWF>("CInpJyoken.ELWF").Input("前面水位(m)", -999, 999, kElev, kElevEdit),
    Field<&G::DeltaA>("CInpJiban.DeltaA").Input("主働側の壁面摩擦角δa(゜)", 0, 60, "#0.0"),
    Field<&G::DeltaP>("CInpJiban.DeltaP").Input("受働側の壁面摩擦角δp(゜)", 0, 60, "#0.0"),
};

// A ground layer below the first: the first layer's values under the layer grid's short
// headers, with the same ranges.
constexpr std::array kLayerFields = {
    Field<&GL::ELU>("CInpJibanLayer.ELU").Cell("上端標高(m)", CellKind::Decimal, -999, 999, 0),
    Field<&GL::Kind>("CInpJibanLayer.Kind").Cell("土質", CellKind::List, 0, 1, 0),
    Field<&GL::Gt>("CInpJibanLayer.Gt").Cell("γt(kN/m3)", CellKind::Decimal, 0, 99, 18).AboveMin(),
    Field<&GL::Gws>("CInpJibanLayer.Gws")
        .Cell("γws(kN/m3)", CellKind::Decimal, 0, 99, 10)
        .AboveMin(),
    Field<&GL::Fai>("CInpJibanLayer.Fai").Cell("φ(゜)", CellKind::Decimal, 0, 60, 30),
    Field<&GL::Ca>("CInpJibanLayer.Ca").Cell("ａ", CellKind::Decimal, 0, 99, 0),
    Field<&GL::Cb>("CInpJibanLayer.Cb").Cell("ｂ(kN/m2)", CellKind::Decimal, 0, 999, 50),
    Field<&GL::KH>("CInpJibanLayer.KH").Cell("Ｋh(kN/m3)", CellKind::Number, 1, 999999, 1000),
};

// A concrete section: its name on one line, then shape and numbers on the next.
constexpr std::array kConcreteRows = {
    Field<&SC::Name>("CInpSectC.Name").TextCell("名称(形式など)", 15, kNewSection),
    Field<&SC::Keijyo>("CInpSectC.Keijyo").Cell("形状", CellKind::List, 0, 2, 0).Joined(),
    Field<&SC::Ic>("CInpSectC.Ic")
        .Cell("I(cm4/m)", CellKind::Number, 100, 999999999.9, 100)
        .Joined(),
    Field<&SC::Mc>("CInpSectC.Mc").Cell("Ｍc(kN･m/m)", CellKind::Decimal, 0, 999.9, 0).Joined(),
    Field<&SC::Lmin>("CInpSectC.Lmin").Cell("Lmin(m)", CellKind::Decimal, 0, 99.9, 0).Joined(),
    Field<&SC::Lmax>("CInpSectC.Lmax").Cell("Lmax(m)", CellKind::Decimal, 0, 99.9, 0),
};

// A light-steel or steel section: its name on one line, its four numbers on the next.
constexpr std::array kSteelRows = {
    Field<&SS::Name>("CInpSectS.Name").TextCell("名称(形式など)", 15, kNewSection),
    Field<&SS::Id>("CInpSectS.Id")
        .Cell("Ｉ'(cm4/m)", CellKind::Number, 100, 999999999.9, 100)
        .Joined(),
    Field<&SS::Zd>("CInpSectS.Zd").Cell("Ｚ'(cm3/m)", CellKind::Number, 10, 9999999.9, 10).Joined(),
    Field<&SS::Io>("CInpSectS.Io")
        .Cell("Ｉ(cm4/m)", CellKind::Number, 100, 999999999.9, 100)
        .Joined(),
    Field<&SS::Zo>("CInpSectS.Zo").Cell("Ｚ(cm3/m)", CellKind::Number, 10, 9999999.9, 10),
};

// A light-steel section: the steel row, but thin-walled sections have moments of inertia below
// the steel grid's 100 cm4/m (the usual LSP-2 has Ｉ' 85.1 and Ｉ 41.1 cm4/m), so I' and I go
// down to 10 cm4/m; a new row still starts at 100.
constexpr std::array kLightSteelRows = {
    kSteelRows[0],
    Field<&SS::Id>("CInpSectS.Id")
        .Cell("Ｉ'(cm4/m)", CellKind::Number, 10, 999999999.9, 100)
        .Joined(),
    kSteelRows[2],
    Field<&SS::Io>("CInpSectS.Io")
        .Cell("Ｉ(cm4/m)", CellKind::Number, 10, 999999999.9, 100)
        .Joined(),
    kSteelRows[4],
};

// Every field of a section row: the design file's row and then the mass per square metre of
// wall, which the classic design file has no place for. 0 is a mass not given; the windows, the
// JSON catalogues and the checks carry it, and the proposal weighs the sections that have one.
template <std::size_t N>
constexpr std::array<DesignField, N + 1> WithMass(const std::array<DesignField, N>& row,
                                                  DesignField mass) {
    std::array<DesignField, N + 1> all{};
    for (std::size_t i = 0; i < N; ++i) all[i] = row[i];
    all[N] = mass;
    return all;
}
constexpr DesignField kMassCell = Field<&SS::Mass>("CInpSectS.Mass")
                                      .Cell("質量(kg/m2)", CellKind::Decimal, 0, 9999.9, 0)
                                      .ZeroIsUnset();
constexpr std::array kConcreteSection =
    WithMass(kConcreteRows, Field<&SC::Mass>("CInpSectC.Mass")
                                .Cell("質量(kg/m2)", CellKind::Decimal, 0, 9999.9, 0)
                                .ZeroIsUnset());
constexpr std::array kLightSteelSection = WithMass(kLightSteelRows, kMassCell);
constexpr std::array kSteelSection = WithMass(kSteelRows, kMassCell);

// Optional fields follow everything else: an older reader stops before them, a newer one finds
// them missing only at the end of an older file.
template <std::size_t N>
constexpr bool OptionalOnlyAtTheEnd(const std::array<DesignField, N>& a) {
    bool seen = false;
    for (const DesignField& f : a) {
        if (seen && !f.optional) return false;
        seen = seen || f.optional;
    }
    return true;
}
static_assert(OptionalOnlyAtTheEnd(kFields));

template <std::size_t N>
constexpr std::size_t ClassicCount(const std::array<DesignField, N>& a) {
    std::size_t n = 0;
    while (n < N && !a[n].optional) ++n;
    return n;
}

// The last field of a section row ends its line, so the next name starts on a line of its own.
template <std::size_t N>
constexpr bool RowEndsItsLine(const std::array<DesignField, N>& a) {
    return a.back().file == FileForm::Line && !a.back().optional;
}
static_assert(RowEndsItsLine(kConcreteRows) && RowEndsItsLine(kSteelRows));

}  // namespace

std::string_view RecordGlobal(Record r) {
    constexpr std::string_view names[] = {"gInpJyoken", "gInpJiban",       "gInpZairyo",
                                          "gInpYaita",  "gInpSectC",       "gInpSectS",
                                          "gInpHyoshi", "gInpJiban.Layers"};
    return names[static_cast<int>(r)];
}

std::span<const DesignField> DesignFields() { return kFields; }

std::span<const DesignField> ClassicDesignFields() {
    return std::span<const DesignField>(kFields).first(ClassicCount(kFields));
}

std::span<const DesignField> SiteFields() { return kSiteFields; }

std::span<const DesignField> LayerFields() { return kLayerFields; }

const DesignField& ReferenceField() {
    // 80 bytes: 40 full-width characters, a line of the page below a heading's indent.
    static constexpr DesignField f = [] {
        DesignField r{};
        r.name = "CInpHyoshi.SankoBunken";
        r.type = FieldType::Text;
        r.record = Record::Hyoshi;
        return r.Bytes("参考文献", 80);
    }();
    return f;
}

std::span<const DesignField> RowFields(Catalogue c) {
    // The same entries as the section's, so a field is one object whichever list it comes from.
    const std::span<const DesignField> all = SectionFields(c);
    return all.first(all.size() - 1);
}

std::span<const DesignField> SectionFields(Catalogue c) {
    if (c == Catalogue::Concrete) return kConcreteSection;
    if (c == Catalogue::LightSteel) return kLightSteelSection;
    return kSteelSection;
}

const DesignField* FindDesignField(std::string_view name) {
    for (const auto& table :
         {std::span<const DesignField>(kFields), std::span<const DesignField>(kConcreteSection),
          std::span<const DesignField>(kSteelSection), std::span<const DesignField>(kSiteFields),
          std::span<const DesignField>(kLayerFields)}) {
        for (const DesignField& f : table) {
            if (f.type != FieldType::Rows && f.name == name) return &f;
        }
    }
    return nullptr;
}

void* CurrentRecord(Record r) {
    switch (r) {
        case Record::Jyoken:
            return &gInpJyoken;
        case Record::Jiban:
            return &gInpJiban;
        case Record::Zairyo:
            return &gInpZairyo;
        case Record::Yaita:
            return &gInpYaita;
        case Record::Hyoshi:
            return &gInpHyoshi;
        case Record::SectC:
        case Record::SectS:
        case Record::Layer:
            break;
    }
    return nullptr;
}

const void* DefaultRecord(Record r) {
    static const CInpJyoken jyoken{};
    static const CInpJiban jiban{};
    static const CInpZairyo zairyo{};
    static const CInpYaita yaita{};
    static const CInpHyoshi hyoshi{};
    switch (r) {
        case Record::Jyoken:
            return &jyoken;
        case Record::Jiban:
            return &jiban;
        case Record::Zairyo:
            return &zairyo;
        case Record::Yaita:
            return &yaita;
        case Record::Hyoshi:
            return &hyoshi;
        case Record::SectC:
        case Record::SectS:
        case Record::Layer:
            break;
    }
    return nullptr;
}

bool AtDefault(const DesignField& f, const void* record) {
    const void* fresh = DefaultRecord(f.record);
    if (fresh == nullptr || f.type == FieldType::Rows) return false;
    return VisitField(f, record, [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        return v == *static_cast<const T*>(f.member(const_cast<void*>(fresh)));
    });
}

double NumberOf(const DesignField& f, const void* record) {
    return VisitField(f, record, [](const auto& v) -> double {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
            return 0.0;
        } else {
            return static_cast<double>(v);
        }
    });
}

void SetNumber(const DesignField& f, void* record, double value) {
    VisitField(f, record, [value](auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
            v = value != 0.0;
        } else if constexpr (std::is_same_v<T, int32_t>) {
            const double r = std::nearbyint(value);
            constexpr double lo = std::numeric_limits<int32_t>::min();
            constexpr double hi = std::numeric_limits<int32_t>::max();
            v = r >= lo && r <= hi ? static_cast<int32_t>(r) : 0;
        } else if constexpr (std::is_same_v<T, double>) {
            v = value;
        }
    });
}

}  // namespace kuvelt
