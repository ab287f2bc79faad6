#include "cli/calc_json.h"

#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "cli/design_json.h"
#include "model/design.h"

namespace kuvelt::cli {

using nlohmann::ordered_json;

namespace {

template <class Col>
ordered_json Loads(const Col& c) {
    ordered_json a = ordered_json::array();
    for (const auto& q : c) {
        a.push_back({{"EU", q.EU}, {"EL", q.EL}, {"H", q.H}, {"PU", q.PU}, {"PL", q.PL}});
    }
    return a;
}

ordered_json QqwJson(const clsQqw& q) {
    return {{"Error", q.Error()}, {"H", q.H},       {"Keijyo", q.Keijyo}, {"D1X", q.D1X},
            {"D1Q", q.D1Q},       {"D2m", q.D2m},   {"D2Q", q.D2Q},       {"D3X1", q.D3X1},
            {"D3X2", q.D3X2},     {"D3Ho", q.D3Ho}, {"D3Gs", q.D3Gs},     {"D3Q", q.D3Q},
            {"Xq", q.Xq()},       {"Xw", q.Xw()},   {"XHq", q.XHq()},     {"XHw", q.XHw()},
            {"Iq", q.Iq()},       {"Iw", q.Iw()},   {"QQ", q.QQ()},       {"Qw", q.Qw()},
            {"Q", q.Q()}};
}

ordered_json KhJson(const clsKh& k) {
    ordered_json addEL = ordered_json::array();
    for (const clsKhAddEL& e : k.AddEL()) addEL.push_back(e.EL);
    ordered_json jiban = ordered_json::array();
    for (const clsKhJiban& g : k.Jiban()) {
        jiban.push_back({{"No", g.No},
                         {"EU", g.EU},
                         {"EL", g.EL},
                         {"H", g.H},
                         {"Gs1", g.Gs1},
                         {"Gs2", g.Gs2},
                         {"Gs3", g.Gs3},
                         {"HwU", g.HwU},
                         {"HwL", g.HwL}});
    }
    return {{"Error", k.Error()}, {"RWL", k.RWL}, {"AddEL", addEL}, {"Jiban", jiban}};
}

template <class Sp>
ordered_json SpJson(const Sp& s) {
    ordered_json jiban = ordered_json::array();
    for (const clsSpJiban& g : s.Jiban()) {
        jiban.push_back({{"No", g.No},     {"EU", g.EU},   {"EL", g.EL},       {"H", g.H},
                         {"Kind", g.Kind}, {"Gs", g.Gs},   {"Fai", g.Fai},     {"CU", g.CU},
                         {"CL", g.CL},     {"KhU", g.KhU}, {"KhL", g.KhL},     {"GH", g.GH},
                         {"GHU", g.GHU},   {"GHL", g.GHL}, {"ZetaU", g.ZetaU}, {"ZetaL", g.ZetaL},
                         {"TU", g.TU},     {"TL", g.TL},   {"KaU", g.KaU},     {"KaL", g.KaL},
                         {"PU", g.PU},     {"PL", g.PL},   {"P1U", g.P1U},     {"P1L", g.P1L},
                         {"P2U", g.P2U},   {"P2L", g.P2L}, {"PaU", g.PaU},     {"PaL", g.PaL}});
    }
    return {{"Error", s.Error()}, {"Q", s.Q},         {"Beta", s.Beta},
            {"Jei", s.Jei},       {"Delta", s.Delta}, {"ELGL", s.ELGL},
            {"ELDL", s.ELDL},     {"Q2", s.Q2()},     {"Jiban", jiban}};
}

ordered_json RWpJson(const clsRWp& r) {
    return {{"Error", r.Error()}, {"ELLWL", r.ELLWL}, {"ELRWL", r.ELRWL}, {"Gw", r.Gw},
            {"ELGL", r.ELGL},     {"ELDL", r.ELDL},   {"DH", r.DH()},     {"Pw", r.Pw()}};
}

ordered_json DLJson(const clsDL& d) {
    return {{"Error", d.Error()},   {"ELDL", d.ELDL},      {"ELDLXU", d.ELDLXU()},
            {"ELDLXL", d.ELDLXL()}, {"ELDLX", d.ELDLX()},  {"Pa", Loads(d.Pa())},
            {"Pw", Loads(d.Pw())},  {"Pp", Loads(d.Pp())}, {"Pg", Loads(d.Pg())}};
}

ordered_json PressureJson(const clsPressure& p) {
    ordered_json detail = ordered_json::array();
    for (const clsPressureDetail& r : p.Detail()) {
        detail.push_back({{"Section", r.Section},
                          {"P", r.P},
                          {"Y", r.Y},
                          {"H", r.H},
                          {"Pi", r.Pi},
                          {"Yi", r.Yi},
                          {"Mi", r.Mi}});
    }
    return {{"Error", p.Error()},
            {"WU", p.WU},
            {"WL", p.WL},
            {"P", p.P()},
            {"M", p.M()},
            {"Y", p.Y()},
            {"ELY", p.ELY()},
            {"Qdi", Loads(p.Qdi())},
            {"Qdo", Loads(p.Qdo())},
            {"Detail", detail}};
}

int32_t Registered(int32_t k) {
    const int32_t n = k == kKindConcrete     ? gInpSectC.Count()
                      : k == kKindLightSteel ? gInpSectLS.Count()
                                             : gInpSectS.Count();
    return n < kMaxSections ? n : kMaxSections;
}

// One array per kind (concrete, light steel, steel) of one row per registered section.
template <class Table>
ordered_json TableJson(const Table& t) {
    ordered_json kinds = ordered_json::array();
    for (int32_t k = 1; k <= 3; ++k) {
        ordered_json rows = ordered_json::array();
        for (int32_t s = 1; s <= Registered(k); ++s) {
            ordered_json row = ordered_json::array();
            for (int32_t i = 1; i <= Table::kItems; ++i) row.push_back(t(k, s, i));
            rows.push_back(std::move(row));
        }
        kinds.push_back(std::move(rows));
    }
    return kinds;
}

template <class List>
ordered_json ListJson(const List& l, int32_t kind) {
    ordered_json rows = ordered_json::array();
    for (int32_t s = 1; s <= Registered(kind); ++s) {
        ordered_json row = ordered_json::array();
        for (int32_t i = 1; i <= List::kItems; ++i) row.push_back(l(s, i));
        rows.push_back(std::move(row));
    }
    return rows;
}

ordered_json BoilingJson(const clsNekiriAnteiAs& a) {
    ordered_json table = ordered_json::array();
    for (const CDim1x2& p : a.Ichiran()) table.push_back({p.Value1, p.Value2});
    return {{"Gws", a.Gws}, {"Gw", a.Gw},           {"Hw", a.Hw},
            {"D", a.D},     {"Fa", a.Fa},           {"Error", a.Error()},
            {"F", a.F()},   {"Hantei", a.Hantei()}, {"Ichiran", table}};
}

ordered_json HeavingJson(const clsNekiriAnteiAc& a) {
    return {{"Gt", a.Gt},         {"Gws", a.Gws}, {"Gw", a.Gw},          {"Q", a.Q}, {"Ca", a.Ca},
            {"Cb", a.Cb},         {"H", a.H},     {"Hw", a.Hw},          {"D", a.D}, {"Fa", a.Fa},
            {"Error", a.Error()}, {"F", a.F()},   {"Hantei", a.Hantei()}};
}

void DumpLine(const ordered_json& j, std::string& out) {
    switch (j.type()) {
        case ordered_json::value_t::object: {
            out += '{';
            bool first = true;
            for (auto it = j.begin(); it != j.end(); ++it) {
                if (!first) out += ',';
                first = false;
                out += ordered_json(it.key()).dump(-1, ' ', false,
                                                   ordered_json::error_handler_t::replace);
                out += ':';
                DumpLine(it.value(), out);
            }
            out += '}';
            return;
        }
        case ordered_json::value_t::array: {
            out += '[';
            bool first = true;
            for (const auto& e : j) {
                if (!first) out += ',';
                first = false;
                DumpLine(e, out);
            }
            out += ']';
            return;
        }
        case ordered_json::value_t::number_float:
            out += JsonNumber(j.get<double>());
            return;
        default:
            out += j.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
            return;
    }
}

}  // namespace

ordered_json ResultsJson(bool calcMain, std::optional<bool> nekiri) {
    ordered_json j;
    j["design"] = DesignJson();
    j["CalcMain"] = calcMain;
    if (gQqw.Reached()) j["gQqw"] = QqwJson(*gQqw);
    if (gKhActive.Reached()) j["gKhActive"] = KhJson(*gKhActive);
    if (gSpa.Reached()) j["gSpa"] = SpJson(*gSpa);
    if (gKhPassive.Reached()) j["gKhPassive"] = KhJson(*gKhPassive);
    if (gSpp.Reached()) j["gSpp"] = SpJson(*gSpp);
    if (gRWp.Reached()) j["gRWp"] = RWpJson(*gRWp);
    if (gDL.Reached()) j["gDL"] = DLJson(*gDL);
    if (gPressure.Reached()) j["gPressure"] = PressureJson(*gPressure);
    if (gSectChang.Reached()) j["gSectChang"] = TableJson(gSectChang);
    if (gSectStress.Reached()) j["gSectStress"] = TableJson(gSectStress);
    if (gSectEmbed.Reached()) j["gSectEmbed"] = TableJson(gSectEmbed);
    if (gSectDisp.Reached()) j["gSectDisp"] = TableJson(gSectDisp);
    if (gListC.Reached()) j["gListC"] = ListJson(gListC, kKindConcrete);
    if (gListLS.Reached()) j["gListLS"] = ListJson(gListLS, kKindLightSteel);
    if (gListS.Reached()) j["gListS"] = ListJson(gListS, kKindSteel);
    j["CalcNekiriAntei"] = nekiri ? ordered_json(*nekiri) : ordered_json(nullptr);
    if (nekiri && gNekiriAnteiAs.Reached())
        j["gNekiriAnteiAs"] = BoilingJson(*gNekiriAnteiAs.Peek());
    if (nekiri && gNekiriAnteiAc.Reached())
        j["gNekiriAnteiAc"] = HeavingJson(*gNekiriAnteiAc.Peek());
    return j;
}

std::string DumpJsonLine(const ordered_json& j) {
    std::string out;
    DumpLine(j, out);
    out += '\n';
    return out;
}

}  // namespace kuvelt::cli
