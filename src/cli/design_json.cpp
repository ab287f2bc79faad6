#include "cli/design_json.h"

#include <charconv>
#include <cmath>

#include "model/design.h"

namespace kuvelt::cli {

using nlohmann::ordered_json;

ordered_json DesignJson() {
    const CInpJyoken& j = gInpJyoken;
    ordered_json jyoken = {{"InpFlg", j.InpFlg}, {"Title", j.Title},   {"ELGL", j.ELGL},
                           {"ELYU", j.ELYU},     {"ELDL", j.ELDL},     {"ELWL", j.ELWL},
                           {"Z", j.Z},           {"Keijyo", j.Keijyo}, {"K0X", j.K0X},
                           {"K0Q", j.K0Q},       {"K1m", j.K1m},       {"K1Q", j.K1Q},
                           {"K2X1", j.K2X1},     {"K2X2", j.K2X2},     {"K2Ho", j.K2Ho},
                           {"K2Gs", j.K2Gs},     {"K2Q", j.K2Q},       {"Delta", j.Delta},
                           {"Fsb", j.Fsb},       {"Fsh", j.Fsh},       {"Nekiri", j.Nekiri}};

    const CInpJiban& g = gInpJiban;
    ordered_json jiban = {{"InpFlg", g.InpFlg}, {"Kind", g.Kind}, {"Gt", g.Gt},
                          {"Gws", g.Gws},       {"Gw", g.Gw},     {"Fai", g.Fai},
                          {"Ca", g.Ca},         {"Cb", g.Cb},     {"KH", g.KH}};

    const CInpZairyo& z = gInpZairyo;
    ordered_json zairyo = {{"InpFlg", z.InpFlg},   {"EcHira", z.EcHira},   {"EcMizo", z.EcMizo},
                           {"EcNami", z.EcNami},   {"Esky", z.Esky},       {"Esy", z.Esy},
                           {"KYZai", z.KYZai},     {"KYSat", z.KYSat},     {"KYSac", z.KYSac},
                           {"YZai", z.YZai},       {"YSat", z.YSat},       {"YSac", z.YSac},
                           {"AlphaIz", z.AlphaIz}, {"AlphaIs", z.AlphaIs}, {"AlphaId", z.AlphaId},
                           {"AlphaZs", z.AlphaZs}};

    ordered_json sectC = ordered_json::array();
    for (const CInpSectC& s : gInpSectC) {
        sectC.push_back({{"Name", s.Name},
                         {"Keijyo", s.Keijyo},
                         {"Ic", s.Ic},
                         {"Mc", s.Mc},
                         {"Lmin", s.Lmin},
                         {"Lmax", s.Lmax}});
    }
    auto steel = [](const colInpSectS& c) {
        ordered_json a = ordered_json::array();
        for (const CInpSectS& s : c) {
            a.push_back({{"Name", s.Name}, {"Id", s.Id}, {"Zd", s.Zd}, {"Io", s.Io}, {"Zo", s.Zo}});
        }
        return a;
    };

    const CInpYaita& y = gInpYaita;
    ordered_json yaita = {{"InpFlg", y.InpFlg}, {"Yaita", y.Yaita}, {"Sect", y.Sect},
                          {"H", y.H},           {"D", y.D},         {"L", y.L}};

    ordered_json d;
    d["gInpJyoken"] = std::move(jyoken);
    d["gInpJiban"] = std::move(jiban);
    d["gInpZairyo"] = std::move(zairyo);
    d["gInpSectC"] = std::move(sectC);
    d["gInpSectLS"] = steel(gInpSectLS);
    d["gInpSectS"] = steel(gInpSectS);
    d["gInpYaita"] = std::move(yaita);
    return d;
}

std::string JsonNumber(double v) {
    if (!std::isfinite(v)) return "null";
    // Shortest round-trip digits; plain decimal notation in the range people read without an
    // exponent (35000000, not 3.5e+07), as a script language would print it.
    char buf[400];
    const double a = std::fabs(v);
    const auto r = (a == 0.0 || (a >= 1e-6 && a < 1e21))
                       ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed)
                       : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

namespace {

void Dump(const ordered_json& j, int indent, std::string& out) {
    const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
    const std::string inner(static_cast<std::size_t>(indent + 1) * 2, ' ');
    switch (j.type()) {
        case ordered_json::value_t::object: {
            if (j.empty()) {
                out += "{}";
                return;
            }
            out += "{\n";
            bool first = true;
            for (auto it = j.begin(); it != j.end(); ++it) {
                if (!first) out += ",\n";
                first = false;
                out += inner;
                out += ordered_json(it.key()).dump(-1, ' ', false,
                                                   ordered_json::error_handler_t::replace);
                out += ": ";
                Dump(it.value(), indent + 1, out);
            }
            out += "\n" + pad + "}";
            return;
        }
        case ordered_json::value_t::array: {
            if (j.empty()) {
                out += "[]";
                return;
            }
            out += "[\n";
            bool first = true;
            for (const auto& e : j) {
                if (!first) out += ",\n";
                first = false;
                out += inner;
                Dump(e, indent + 1, out);
            }
            out += "\n" + pad + "]";
            return;
        }
        case ordered_json::value_t::number_float:
            out += JsonNumber(j.get<double>());
            return;
        default:
            // Texts (escaped, invalid UTF-8 replaced), integers, Booleans and null.
            out += j.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
            return;
    }
}

}  // namespace

std::string DumpJson(const ordered_json& j) {
    std::string out;
    Dump(j, 0, out);
    out += '\n';
    return out;
}

}  // namespace kuvelt::cli
