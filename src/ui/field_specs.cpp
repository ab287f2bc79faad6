#include "ui/field_specs.h"

#include <map>

namespace kuvelt::ui {

namespace {

const char* const kEl = "+##0.00;-##0.00";
const char* const kModulus = "###,###,##0";

const std::map<std::string, NumSpec>& Table() {
    static const std::map<std::string, NumSpec> table = {
        {"CInpJyoken.ELGL", {-999, 999, kEl, "##0.00", "地表面(m)"}},
        {"CInpJyoken.ELYU", {-999, 999, kEl, "##0.00", "矢板天端(m)"}},
        {"CInpJyoken.ELDL", {-999, 999, kEl, "##0.00", "設計地盤面(m)"}},
        {"CInpJyoken.ELWL", {-999, 999, kEl, "##0.00", "地下水位面(m)"}},
        {"CInpJyoken.Z", {1, 99, "#0.0", "", "設計地盤面より検討する深さ(m)"}},
        {"CInpJyoken.K0X", {0, 99, "#0.00", "", "Ｘ(m)"}},
        {"CInpJyoken.K0Q", {0, 99, "#0.0", "", "Ｑ(kN/m2)"}},
        {"CInpJyoken.K1m", {1, 999, "##0", "", "勾配(１：ｍ)"}},
        {"CInpJyoken.K1Q", {0, 99, "#0.0", "", "ｑ(kN/m2)"}},
        {"CInpJyoken.K2X1", {0, 99, "#0.00", "", "Ｘ1(m)"}},
        {"CInpJyoken.K2X2", {0.01, 99, "#0.00", "", "Ｘ2(m)"}},
        {"CInpJyoken.K2Ho", {0.01, 99, "#0.00", "", "Ｈo(m)"}},
        {"CInpJyoken.K2Gs", {0, 99, "#0.0", "", "盛土部γ(kN/m3)"}},
        {"CInpJyoken.K2Q", {0, 99, "#0.0", "", "Ｑ(kN/m2)"}},
        {"CInpJyoken.Delta", {0, 1, "0.00", "", "許容変位量δ(m)"}},
        {"CInpJyoken.Fsb", {1, 9, "0.0", "", "ボイリングに対する許容安全率Fa"}},
        {"CInpJyoken.Fsh", {1, 9, "0.0", "", "ヒービングに対する許容安全率Fa"}},
        {"CInpJiban.Gt", {0, 99, "#0.0", "", "土の湿潤単位体積重量γt(kN/m3)"}},
        {"CInpJiban.Gws", {0, 99, "#0.0", "", "土の水中単位体積重量γws(kN/m3)"}},
        {"CInpJiban.Gw", {0, 99, "#0.0", "", "水の単位体積重量γw(kN/m3)"}},
        {"CInpJiban.Fai", {0, 60, "#0.0", "", "土の内部摩擦角φ(゜)"}},
        {"CInpJiban.Ca", {0, 99, "#0.0", "", "粘着力の深さ方向の増加割合ａ"}},
        {"CInpJiban.Cb", {0, 999, "##0.0", "", "地表面における粘着力ｂ(kN/m2)"}},
        {"CInpJiban.KH", {1, 999999, "#####0", "", "水平方向地盤反力係数Ｋh(kN/m3)"}},
        {"CInpZairyo.EcHira", {1000000, 999999999, kModulus, "########0", "平　形"}},
        {"CInpZairyo.EcMizo", {1000000, 999999999, kModulus, "########0", "溝　形"}},
        {"CInpZairyo.EcNami", {1000000, 999999999, kModulus, "########0", "波　形"}},
        {"CInpZairyo.Esky", {1000000, 999999999, kModulus, "########0", "軽量鋼矢板"}},
        {"CInpZairyo.Esy", {1000000, 999999999, kModulus, "########0", "鋼矢板"}},
        {"CInpZairyo.KYSat", {0, 999, "##0", "", "曲げ引張応力度"}},
        {"CInpZairyo.KYSac", {0, 999, "##0", "", "曲げ圧縮応力度"}},
        {"CInpZairyo.YSat", {0, 999, "##0", "", "曲げ引張応力度"}},
        {"CInpZairyo.YSac", {0, 999, "##0", "", "曲げ圧縮応力度"}},
        {"CInpZairyo.AlphaIz", {0, 1, "0.0", "", "根入長算定時"}},
        {"CInpZairyo.AlphaIs", {0, 1, "0.0", "", "応力度照査時"}},
        {"CInpZairyo.AlphaId", {0, 1, "0.0", "", "変位量照査時"}},
        {"CInpZairyo.AlphaZs", {0, 1, "0.0", "", "応力度照査時"}},
        {"CInpYaita.Sect", {1, 99, "#0", "", "矢板断面№"}},
        {"CInpYaita.L", {0, 99, "#0.00", "", "矢板全長Ｌ(m)"}},
        {"CInpYaita.H", {0, 99, "#0.00", "", "壁高Ｈ'(m)"}},
        {"CInpYaita.D", {-99, 99, "#0.00", "", "根入れ長Ｄ(m)"}},
    };
    return table;
}

}  // namespace

const NumSpec* FindFieldSpec(const std::string& name) {
    const auto& t = Table();
    const auto it = t.find(name);
    return it == t.end() ? nullptr : &it->second;
}

}  // namespace kuvelt::ui
