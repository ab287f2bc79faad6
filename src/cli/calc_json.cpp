#include "cli/calc_json.h"

#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "cli/distribution_json.h"
#include "model/design.h"

namespace kuvelt::cli {

using nlohmann::ordered_json;

namespace {

// Every structure is written by one template for both the text (JsonWriter) and the tree
// (JsonTreeBuilder), so the two never differ in keys or order.
template <class W, class T>
void M(W& w, const JsonKey& key, const T& v) {
    w.Member(key, v);
}

template <class W, class Col>
void Loads(W& w, const JsonKey& key, const Col& c) {
    w.Key(key);
    w.BeginArray();
    for (const auto& q : c) {
        w.BeginObject();
        M(w, "EU", q.EU);
        M(w, "EL", q.EL);
        M(w, "H", q.H);
        M(w, "PU", q.PU);
        M(w, "PL", q.PL);
        w.EndObject();
    }
    w.EndArray();
}

template <class W>
void Qqw(W& w, const JsonKey& key, const clsQqw& q) {
    w.Key(key);
    w.BeginObject();
    M(w, "Error", q.Error());
    M(w, "H", q.H);
    M(w, "Keijyo", q.Keijyo);
    M(w, "D1X", q.D1X);
    M(w, "D1Q", q.D1Q);
    M(w, "D2m", q.D2m);
    M(w, "D2Q", q.D2Q);
    M(w, "D3X1", q.D3X1);
    M(w, "D3X2", q.D3X2);
    M(w, "D3Ho", q.D3Ho);
    M(w, "D3Gs", q.D3Gs);
    M(w, "D3Q", q.D3Q);
    M(w, "Xq", q.Xq());
    M(w, "Xw", q.Xw());
    M(w, "XHq", q.XHq());
    M(w, "XHw", q.XHw());
    M(w, "Iq", q.Iq());
    M(w, "Iw", q.Iw());
    M(w, "QQ", q.QQ());
    M(w, "Qw", q.Qw());
    M(w, "Q", q.Q());
    w.EndObject();
}

template <class W>
void Kh(W& w, const JsonKey& key, const clsKh& k) {
    w.Key(key);
    w.BeginObject();
    M(w, "Error", k.Error());
    M(w, "RWL", k.RWL);
    w.Key("AddEL");
    w.BeginArray();
    for (const clsKhAddEL& e : k.AddEL()) w.Value(e.EL);
    w.EndArray();
    w.Key("Jiban");
    w.BeginArray();
    for (const clsKhJiban& g : k.Jiban()) {
        w.BeginObject();
        M(w, "No", g.No);
        M(w, "EU", g.EU);
        M(w, "EL", g.EL);
        M(w, "H", g.H);
        M(w, "Gs1", g.Gs1);
        M(w, "Gs2", g.Gs2);
        M(w, "Gs3", g.Gs3);
        M(w, "HwU", g.HwU);
        M(w, "HwL", g.HwL);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

template <class W, class Sp>
void SpJson(W& w, const JsonKey& key, const Sp& s) {
    w.Key(key);
    w.BeginObject();
    M(w, "Error", s.Error());
    M(w, "Q", s.Q);
    M(w, "Beta", s.Beta);
    M(w, "Jei", s.Jei);
    M(w, "Delta", s.Delta);
    M(w, "ELGL", s.ELGL);
    M(w, "ELDL", s.ELDL);
    M(w, "Q2", s.Q2());
    w.Key("Jiban");
    w.BeginArray();
    for (const clsSpJiban& g : s.Jiban()) {
        w.BeginObject();
        M(w, "No", g.No);
        M(w, "EU", g.EU);
        M(w, "EL", g.EL);
        M(w, "H", g.H);
        M(w, "Kind", g.Kind);
        M(w, "Gs", g.Gs);
        M(w, "Fai", g.Fai);
        M(w, "CU", g.CU);
        M(w, "CL", g.CL);
        M(w, "KhU", g.KhU);
        M(w, "KhL", g.KhL);
        M(w, "GH", g.GH);
        M(w, "GHU", g.GHU);
        M(w, "GHL", g.GHL);
        M(w, "ZetaU", g.ZetaU);
        M(w, "ZetaL", g.ZetaL);
        M(w, "TU", g.TU);
        M(w, "TL", g.TL);
        M(w, "KaU", g.KaU);
        M(w, "KaL", g.KaL);
        M(w, "PU", g.PU);
        M(w, "PL", g.PL);
        M(w, "P1U", g.P1U);
        M(w, "P1L", g.P1L);
        M(w, "P2U", g.P2U);
        M(w, "P2L", g.P2L);
        M(w, "PaU", g.PaU);
        M(w, "PaL", g.PaL);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

template <class W>
void RWp(W& w, const JsonKey& key, const clsRWp& r) {
    w.Key(key);
    w.BeginObject();
    M(w, "Error", r.Error());
    M(w, "ELLWL", r.ELLWL);
    M(w, "ELRWL", r.ELRWL);
    M(w, "Gw", r.Gw);
    M(w, "ELGL", r.ELGL);
    M(w, "ELDL", r.ELDL);
    M(w, "DH", r.DH());
    M(w, "Pw", r.Pw());
    w.EndObject();
}

template <class W>
void DL(W& w, const JsonKey& key, const clsDL& d) {
    w.Key(key);
    w.BeginObject();
    M(w, "Error", d.Error());
    M(w, "ELDL", d.ELDL);
    M(w, "ELDLXU", d.ELDLXU());
    M(w, "ELDLXL", d.ELDLXL());
    M(w, "ELDLX", d.ELDLX());
    Loads(w, "Pa", d.Pa());
    Loads(w, "Pw", d.Pw());
    Loads(w, "Pp", d.Pp());
    Loads(w, "Pg", d.Pg());
    w.EndObject();
}

template <class W>
void Pressure(W& w, const JsonKey& key, const clsPressure& p) {
    w.Key(key);
    w.BeginObject();
    M(w, "Error", p.Error());
    M(w, "WU", p.WU);
    M(w, "WL", p.WL);
    M(w, "P", p.P());
    M(w, "M", p.M());
    M(w, "Y", p.Y());
    M(w, "ELY", p.ELY());
    Loads(w, "Qdi", p.Qdi());
    Loads(w, "Qdo", p.Qdo());
    w.Key("Detail");
    w.BeginArray();
    for (const clsPressureDetail& r : p.Detail()) {
        w.BeginObject();
        M(w, "Section", r.Section);
        M(w, "P", r.P);
        M(w, "Y", r.Y);
        M(w, "H", r.H);
        M(w, "Pi", r.Pi);
        M(w, "Yi", r.Yi);
        M(w, "Mi", r.Mi);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

int32_t Registered(int32_t k) {
    const int32_t n = k == kKindConcrete     ? gInpSectC.Count()
                      : k == kKindLightSteel ? gInpSectLS.Count()
                                             : gInpSectS.Count();
    return n < kMaxSections ? n : kMaxSections;
}

// One array per kind (concrete, light steel, steel) of one row per registered section.
template <class W, class Table>
void TableJson(W& w, const JsonKey& key, const Table& t) {
    w.Key(key);
    w.BeginArray();
    for (int32_t k = 1; k <= 3; ++k) {
        w.BeginArray();
        for (int32_t s = 1; s <= Registered(k); ++s) {
            w.BeginArray();
            for (int32_t i = 1; i <= Table::kItems; ++i) w.Value(t(k, s, i));
            w.EndArray();
        }
        w.EndArray();
    }
    w.EndArray();
}

template <class W, class List>
void ListJson(W& w, const JsonKey& key, const List& l, int32_t kind) {
    w.Key(key);
    w.BeginArray();
    for (int32_t s = 1; s <= Registered(kind); ++s) {
        w.BeginArray();
        for (int32_t i = 1; i <= List::kItems; ++i) w.Value(l(s, i));
        w.EndArray();
    }
    w.EndArray();
}

template <class W>
void Boiling(W& w, const JsonKey& key, const clsNekiriAnteiAs& a) {
    w.Key(key);
    w.BeginObject();
    M(w, "Gws", a.Gws);
    M(w, "Gw", a.Gw);
    M(w, "Hw", a.Hw);
    M(w, "D", a.D);
    M(w, "Fa", a.Fa);
    M(w, "Error", a.Error());
    M(w, "F", a.F());
    M(w, "Hantei", a.Hantei());
    w.Key("Ichiran");
    w.BeginArray();
    for (const CDim1x2& p : a.Ichiran()) {
        w.BeginArray();
        w.Value(p.Value1);
        w.Value(p.Value2);
        w.EndArray();
    }
    w.EndArray();
    w.EndObject();
}

template <class W>
void Heaving(W& w, const JsonKey& key, const clsNekiriAnteiAc& a) {
    w.Key(key);
    w.BeginObject();
    M(w, "Gt", a.Gt);
    M(w, "Gws", a.Gws);
    M(w, "Gw", a.Gw);
    M(w, "Q", a.Q);
    M(w, "Ca", a.Ca);
    M(w, "Cb", a.Cb);
    M(w, "H", a.H);
    M(w, "Hw", a.Hw);
    M(w, "D", a.D);
    M(w, "Fa", a.Fa);
    M(w, "Error", a.Error());
    M(w, "F", a.F());
    M(w, "Hantei", a.Hantei());
    w.EndObject();
}

template <class W>
void Results(W& w, bool calcMain, std::optional<bool> nekiri) {
    w.Key("design");
    WriteDesignJson(w);
    M(w, "CalcMain", calcMain);
    if (gQqw.Reached()) Qqw(w, "gQqw", *gQqw);
    if (gKhActive.Reached()) Kh(w, "gKhActive", *gKhActive);
    if (gSpa.Reached()) SpJson(w, "gSpa", *gSpa);
    if (gKhPassive.Reached()) Kh(w, "gKhPassive", *gKhPassive);
    if (gSpp.Reached()) SpJson(w, "gSpp", *gSpp);
    if (gRWp.Reached()) RWp(w, "gRWp", *gRWp);
    if (gDL.Reached()) DL(w, "gDL", *gDL);
    if (gPressure.Reached()) Pressure(w, "gPressure", *gPressure);
    if (gSectChang.Reached()) TableJson(w, "gSectChang", gSectChang);
    if (gSectStress.Reached()) TableJson(w, "gSectStress", gSectStress);
    if (gSectEmbed.Reached()) TableJson(w, "gSectEmbed", gSectEmbed);
    if (gSectDisp.Reached()) TableJson(w, "gSectDisp", gSectDisp);
    if (gListC.Reached()) ListJson(w, "gListC", gListC, kKindConcrete);
    if (gListLS.Reached()) ListJson(w, "gListLS", gListLS, kKindLightSteel);
    if (gListS.Reached()) ListJson(w, "gListS", gListS, kKindSteel);
    w.Key("CalcNekiriAntei");
    if (nekiri) {
        w.Value(*nekiri);
    } else {
        w.Null();
    }
    if (nekiri && gNekiriAnteiAs.Reached()) Boiling(w, "gNekiriAnteiAs", *gNekiriAnteiAs.Peek());
    if (nekiri && gNekiriAnteiAc.Reached()) Heaving(w, "gNekiriAnteiAc", *gNekiriAnteiAc.Peek());
    WriteDistributionMember(w, calcMain);
}

}  // namespace

void WriteResultsMembers(JsonWriter& w, bool calcMain, std::optional<bool> nekiri) {
    Results(w, calcMain, nekiri);
}

void WriteResultsText(JsonBuffer& out, bool calcMain, std::optional<bool> nekiri) {
    JsonWriter w(out, JsonWriter::Style::Pretty);
    w.BeginObject();
    Results(w, calcMain, nekiri);
    w.EndObject();
    out.Append('\n');
}

void WriteResultsLine(JsonBuffer& out, std::optional<std::string_view> file, bool calcMain,
                      std::optional<bool> nekiri) {
    JsonWriter w(out, JsonWriter::Style::Line);
    w.BeginObject();
    if (file) M(w, "file", *file);
    Results(w, calcMain, nekiri);
    w.EndObject();
    out.Append('\n');
}

std::string ResultsJsonText(bool calcMain, std::optional<bool> nekiri) {
    JsonBuffer out;
    WriteResultsText(out, calcMain, nekiri);
    return out.Take();
}

std::string ResultsJsonLine(std::optional<std::string_view> file, bool calcMain,
                            std::optional<bool> nekiri) {
    JsonBuffer out;
    WriteResultsLine(out, file, calcMain, nekiri);
    return out.Take();
}

ordered_json ResultsJson(bool calcMain, std::optional<bool> nekiri) {
    JsonTreeBuilder b;
    b.BeginObject();
    Results(b, calcMain, nekiri);
    b.EndObject();
    return b.Take();
}

void WriteJsonLine(JsonBuffer& out, const ordered_json& j) {
    JsonWriter w(out, JsonWriter::Style::Line);
    WriteTree(w, j);
    out.Append('\n');
}

std::string DumpJsonLine(const ordered_json& j) {
    JsonBuffer out;
    WriteJsonLine(out, j);
    return out.Take();
}

}  // namespace kuvelt::cli
