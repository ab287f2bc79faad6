#include "cli/calc_json.h"

#include "calc/results.h"
#include "cli/distribution_json.h"
#include "cli/result_fields.h"
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

// The ground layer of each piece of the layer tables is written for a design of more than one
// layer only, so that the dumps of one-layer designs stay as they were.
bool Layered() { return !gInpJiban.Layers.empty(); }

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
        if (Layered()) M(w, "Layer", g.Layer);
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
        if (Layered()) M(w, "Layer", g.Layer);
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

// One array of the fields of a row (result_fields.h).
template <class W, class Row>
void RowJson(W& w, const Row& row) {
    w.BeginArray();
    for (const ResultField<Row>& f : FieldsOf<Row>()) w.Value(f.Value(row));
    w.EndArray();
}

// One array per kind (concrete, light steel, steel) of one row per registered section.
template <class W, class Row>
void TableJson(W& w, const JsonKey& key, const std::optional<ByKind<Row>>& t) {
    if (!t) return;
    w.Key(key);
    w.BeginArray();
    for (const std::vector<Row>& rows : *t) {
        w.BeginArray();
        for (const Row& row : rows) RowJson(w, row);
        w.EndArray();
    }
    w.EndArray();
}

template <class W, class Row>
void ListJson(W& w, const JsonKey& key, const std::optional<std::vector<Row>>& l) {
    if (!l) return;
    w.Key(key);
    w.BeginArray();
    for (const Row& row : *l) RowJson(w, row);
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
    if (!a.GwsLayers.empty()) {
        w.Key("GwsLayers");
        w.BeginArray();
        for (const DepthValue& l : a.GwsLayers) {
            w.BeginObject();
            M(w, "depth", l.depth);
            M(w, "Gws", l.value);
            w.EndObject();
        }
        w.EndArray();
        M(w, "MeanGws", a.MeanGws(a.D));
    }
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
    if (a.Layered) {
        M(w, "C0", a.C0);
        M(w, "CI", a.CI);
    }
    M(w, "Error", a.Error());
    M(w, "F", a.F());
    M(w, "Hantei", a.Hantei());
    w.EndObject();
}

template <class W>
void Members(W& w, const usecase::CalcRun& run) {
    const Results& r = *run.results;
    w.Key("design");
    WriteDesignJson(w);
    M(w, "CalcMain", run.calculated);
    if (r.qqw) Qqw(w, "gQqw", *r.qqw);
    if (r.khActive) Kh(w, "gKhActive", *r.khActive);
    if (r.spa) SpJson(w, "gSpa", *r.spa);
    if (r.khPassive) Kh(w, "gKhPassive", *r.khPassive);
    if (r.spp) SpJson(w, "gSpp", *r.spp);
    if (r.rwp) RWp(w, "gRWp", *r.rwp);
    if (r.dl) DL(w, "gDL", *r.dl);
    if (r.pressure) Pressure(w, "gPressure", *r.pressure);
    const SectionResults& s = r.sections;
    TableJson(w, "gSectChang", s.chang);
    TableJson(w, "gSectStress", s.stress);
    TableJson(w, "gSectEmbed", s.embed);
    TableJson(w, "gSectDisp", s.disp);
    ListJson(w, "gListC", s.listC);
    ListJson(w, "gListLS", s.listLS);
    ListJson(w, "gListS", s.listS);
    w.Key("CalcNekiriAntei");
    if (run.stability) {
        w.Value(*run.stability);
    } else {
        w.Null();
    }
    if (run.stability && r.boiling) Boiling(w, "gNekiriAnteiAs", *r.boiling);
    if (run.stability && r.heaving) Heaving(w, "gNekiriAnteiAc", *r.heaving);
    WriteDistributionMember(w, run);
}

}  // namespace

void WriteResultsMembers(JsonWriter& w, const usecase::CalcRun& run) { Members(w, run); }

void WriteResultsText(JsonBuffer& out, const usecase::CalcRun& run) {
    JsonWriter w(out, JsonWriter::Style::Pretty);
    w.BeginObject();
    Members(w, run);
    w.EndObject();
    out.Append('\n');
}

void WriteResultsLine(JsonBuffer& out, std::optional<std::string_view> file,
                      const usecase::CalcRun& run) {
    JsonWriter w(out, JsonWriter::Style::Line);
    w.BeginObject();
    if (file) M(w, "file", *file);
    Members(w, run);
    w.EndObject();
    out.Append('\n');
}

std::string ResultsJsonText(const usecase::CalcRun& run) {
    JsonBuffer out;
    WriteResultsText(out, run);
    return out.Take();
}

std::string ResultsJsonLine(std::optional<std::string_view> file, const usecase::CalcRun& run) {
    JsonBuffer out;
    WriteResultsLine(out, file, run);
    return out.Take();
}

ordered_json ResultsJson(const usecase::CalcRun& run) {
    JsonTreeBuilder b;
    b.BeginObject();
    Members(b, run);
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
