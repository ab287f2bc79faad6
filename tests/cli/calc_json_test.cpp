// The streaming JSON writer against the tree-based dump it replaced: the old code is kept here,
// as it was, as the reference; it reads the result store item by item, where the writer reads
// the run's results value through the field table of each row type. Every generated design of
// the load tests' series (calculated as kuvelt-calc does it), in the pretty single-design form
// and the JSON Lines batch form, and texts of arbitrary bytes must come out byte for byte the
// same.
#include "cli/calc_json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <string>

#include "calc/calc_main.h"
#include "calc/distribution.h"
#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/results.h"
#include "calc/sections.h"
#include "calc/yaita_choice.h"
#include "cli/csv.h"
#include "cli/design_json.h"
#include "design_generator.h"
#include "io/design_file.h"
#include "model/design.h"
#include "model/design_fields.h"
#include "platform/message.h"
#include "platform/numfmt.h"

namespace kuvelt::cli {
namespace reference {

using nlohmann::ordered_json;

// ---- The tree-based dump as it was ----------------------------------------------------------

namespace {

ordered_json FieldJson(const DesignField& f, const void* record) {
    return VisitField(f, record, [](const auto& v) { return ordered_json(v); });
}

}  // namespace

ordered_json DesignJson() {
    // The records and catalogues in design-file order, each record's fields in table order;
    // ordered_json keeps the order in which the keys first appear.
    ordered_json d = ordered_json::object();
    for (const DesignField& f : DesignFields()) {
        if (f.type == FieldType::Rows) {
            ordered_json rows = ordered_json::array();
            VisitCatalogue(f.catalogue, [&](const auto& c) {
                for (const auto& row : c) {
                    ordered_json o = ordered_json::object();
                    for (const DesignField& rf : SectionFields(f.catalogue)) {
                        // A section's mass is written only when given.
                        if (rf.zeroIsUnset && NumberOf(rf, &row) == 0.0) continue;
                        o[std::string(rf.Member())] = FieldJson(rf, &row);
                    }
                    rows.push_back(std::move(o));
                }
            });
            d[std::string(f.name)] = std::move(rows);
        } else {
            d[std::string(RecordGlobal(f.record))][std::string(f.Member())] =
                FieldJson(f, CurrentRecord(f.record));
        }
    }
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
    // The distribution along the chosen pile came later: four arrays and the note, if any.
    if (const auto d = calcMain ? ChosenDistribution() : std::nullopt) {
        // Every value to 0.0001 of its unit.
        auto tenThousandths = [](std::vector<double> v) {
            for (double& x : v) x = numfmt::ToTenThousandths(x);
            return v;
        };
        ordered_json o;
        o["z"] = tenThousandths(d->z);
        o["M"] = tenThousandths(d->M);
        o["S"] = tenThousandths(d->S);
        o["y"] = tenThousandths(d->y);
        if (!d->note.empty()) o["note"] = d->note;
        j["distribution"] = o;
    }
    return j;
}

std::string DumpJsonLine(const ordered_json& j) {
    std::string out;
    DumpLine(j, out);
    out += '\n';
    return out;
}

}  // namespace reference

namespace {

// One design of a batch as kuvelt-calc runs it: fresh stores, the calculation, the stability
// check when a pile is chosen; the run with its results value, for the writer.
usecase::CalcRun RunAsTheToolDoes() {
    ResetResultStore();
    ResetSectionResults();
    ResetNekiriAntei();
    usecase::CalcRun run;
    run.calculated = CalcMain(&run.messages);
    if (run.calculated && gInpYaita.InpFlg) run.stability = CalcNekiriAntei(&run.messages);
    run.results = std::make_shared<const Results>(SnapshotResults());
    return run;
}

std::string ReferenceLine(const std::string& file, bool ok, std::optional<bool> nekiri) {
    reference::ordered_json head;
    head["file"] = file;
    reference::ordered_json j = reference::ResultsJson(ok, nekiri);
    head.insert(j.begin(), j.end());
    return reference::DumpJsonLine(head);
}

// The load tests' series (every family the writer produces; malformed files never reach the
// dump), calculated and dumped both ways. KUVELT_JSON_DESIGNS sets the count.
TEST(StreamingJson, GeneratedDesignsGiveTheReferenceBytes) {
    const char* env = std::getenv("KUVELT_JSON_DESIGNS");
    const int designs = env ? std::atoi(env) : 2000;
    int compared = 0;
    for (uint64_t i = 0; compared < designs; ++i) {
        const load::GeneratedDesign g = load::GenerateDesign(20261209, i);
        int32_t err = 0;
        if (!DesignFromBytes(g.bytes, err)) continue;
        const usecase::CalcRun run = RunAsTheToolDoes();
        const bool ok = run.calculated;
        const std::optional<bool> nekiri = run.stability;
        const std::string file = "designs/" + std::to_string(i) + "-" + g.what + ".kvt";
        ASSERT_EQ(ResultsJsonText(run), reference::DumpJson(reference::ResultsJson(ok, nekiri)))
            << "design " << i << " (" << g.what << ")";
        ASSERT_EQ(ResultsJsonLine(file, run), ReferenceLine(file, ok, nekiri))
            << "design " << i << " (" << g.what << ")";
        ++compared;
    }
    // The tree forms other code looks values up in are the reference trees.
    const usecase::CalcRun run = RunAsTheToolDoes();
    EXPECT_EQ(DumpJsonLine(ResultsJson(run)),
              reference::DumpJsonLine(reference::ResultsJson(run.calculated, run.stability)));
    InitData();
}

// The CSV summary's columns, and the cells of the chosen pile's checks: the items of its row of
// the result store's list, each under its own column (a check as OK or OUT), in generated
// designs of every kind of pile.
TEST(SummaryCsv, PileColumnsHoldTheItemsOfThePilesListRow) {
    using namespace item;
    const std::vector<std::string> header = csv::SummaryHeader();
    ASSERT_EQ(header, (std::vector<std::string>{"status",
                                                "ELDLX computed (m)",
                                                "ELDLX adopted (m)",
                                                "P (kN/m)",
                                                "Y (m)",
                                                "pile kind",
                                                "pile no",
                                                "pile name",
                                                "L (m)",
                                                "proposed",
                                                "Mmax (kN*m/m)",
                                                "Mc (kN*m/m)",
                                                "sigma (N/mm2)",
                                                "sigma_a (N/mm2)",
                                                "strength",
                                                "Lreq (m)",
                                                "Lmin (m)",
                                                "Lmax (m)",
                                                "length",
                                                "delta (m)",
                                                "delta_a (m)",
                                                "displacement",
                                                "stability",
                                                "Fs",
                                                "Fa",
                                                "stability verdict",
                                                "passing concrete",
                                                "passing light steel",
                                                "passing steel",
                                                "verdict",
                                                "message"}));
    struct Item {
        const char* column;
        int32_t item;
        bool check;
    };
    const std::vector<Item> concrete = {
        {"Mmax (kN*m/m)", kCMoment, false}, {"Mc (kN*m/m)", kCMc, false},
        {"strength", kCMomentFlag, true},   {"Lreq (m)", kCLreq, false},
        {"Lmin (m)", kCLmin, false},        {"Lmax (m)", kCLmax, false},
        {"length", kCLengthFlag, true},     {"delta (m)", kCDelta, false},
        {"delta_a (m)", kCDeltaA, false},   {"displacement", kCDeltaFlag, true}};
    const std::vector<Item> steel = {
        {"sigma (N/mm2)", kSSigma, false},  {"sigma_a (N/mm2)", kSSigmaA, false},
        {"strength", kSSigmaFlag, true},    {"Lreq (m)", kSLreq, false},
        {"delta (m)", kSDelta, false},      {"delta_a (m)", kSDeltaA, false},
        {"displacement", kSDeltaFlag, true}};
    int seen[3] = {0, 0, 0};
    for (uint64_t i = 0; i < 3000 && (seen[0] < 20 || seen[1] < 20 || seen[2] < 20); ++i) {
        const load::GeneratedDesign g = load::GenerateDesign(20261210, i);
        int32_t err = 0;
        if (!DesignFromBytes(g.bytes, err)) continue;
        usecase::DesignRun run;
        run.calc = RunAsTheToolDoes();
        const std::optional<PileKind> kind = KindOfChoice(gInpYaita.Yaita);
        if (!run.calc.calculated || !gInpYaita.InpFlg || !kind) continue;
        const int32_t s = gInpYaita.Sect;
        if (s < 1 || s > std::min(CatalogueCount(*kind), kMaxSections)) continue;
        const std::vector<std::string> cells = csv::SummaryCells(run);
        ASSERT_EQ(cells.size(), header.size());
        auto list = [&](int32_t item) {
            return *kind == PileKind::Concrete     ? gListC(s, item)
                   : *kind == PileKind::LightSteel ? gListLS(s, item)
                                                   : gListS(s, item);
        };
        for (const Item& it : *kind == PileKind::Concrete ? concrete : steel) {
            const auto at = std::find(header.begin(), header.end(), it.column) - header.begin();
            const std::string want =
                it.check ? (list(it.item) != 0.0 ? "OUT" : "OK") : csv::Number(list(it.item));
            ASSERT_EQ(cells[std::size_t(at)], want) << it.column << ", design " << i;
        }
        ++seen[TableIndex(*kind) - 1];
    }
    EXPECT_GT(seen[0], 0) << "no concrete pile";
    EXPECT_GT(seen[1], 0) << "no light-steel pile";
    EXPECT_GT(seen[2], 0) << "no steel pile";
    InitData();
}

// Numbers: short decimals as the calculation makes them (a few decimals, by division), their
// neighbours an ulp or two away, the ends of the plain notation, and arbitrary doubles.
TEST(StreamingJson, NumbersAreTheReferenceTexts) {
    std::mt19937_64 rng(9);
    auto check = [](double v) {
        // Twice: made, then copied from the texts kept of recent numbers.
        ASSERT_EQ(JsonNumber(v), reference::JsonNumber(v)) << reference::JsonNumber(v);
        ASSERT_EQ(JsonNumber(v), reference::JsonNumber(v)) << reference::JsonNumber(v);
    };
    for (int k = 0; k < 300000; ++k) {
        const double scale = std::pow(10.0, static_cast<double>(rng() % 10));
        const auto n = static_cast<double>(rng() % 2'000'000'000'000ULL >> (rng() % 40));
        double v = (k % 2 ? -n : n) / scale;
        for (int u = 0; u < 3; ++u, v = std::nextafter(v, 1e300)) check(v);
        uint64_t bits = rng();
        std::memcpy(&v, &bits, sizeof v);
        check(v);
    }
    for (double v : {0.0, -0.0, 1e-6, 9.999999e-7, 1e9, 999999999.999999, 1e21, 1e-7, 0.1, 0.3}) {
        check(v);
        check(std::nextafter(v, 0.0));
        check(std::nextafter(v, 1e300));
    }
}

// Texts and keys of arbitrary bytes: quotes, backslashes, every control character, valid UTF-8
// of every length, overlong forms, surrogates, stray and truncated sequences, bytes above F4.
TEST(StreamingJson, TextsOfAnyBytesAreEscapedAsBefore) {
    static const std::string pieces[] = {"a",
                                         "\"",
                                         "\\",
                                         "/",
                                         "\x7F",
                                         "\xC3\xA9",
                                         "\xE2\x85\xA5",
                                         "\xF0\x9F\x98\x80",
                                         "\xF4\x8F\xBF\xBF",
                                         "\xC0\xAF",
                                         "\xC1",
                                         "\xE0\x80\x80",
                                         "\xE0\xA0",
                                         "\xED\xA0\x80",
                                         "\xED\x9F\xBF",
                                         "\xF0\x80",
                                         "\xF4\x90\x80\x80",
                                         "\xF5",
                                         "\xFF",
                                         "\x80",
                                         "\xBF",
                                         "\xE2\x85",
                                         "\xF0\x9F\x98",
                                         "\xC3"};
    std::mt19937 rng(16);
    InitData();
    for (int k = 0; k < 5000; ++k) {
        std::string s;
        const int n = static_cast<int>(rng() % 12);
        for (int i = 0; i < n; ++i) {
            const unsigned r = rng() % 40;
            if (r < 24) {
                s += pieces[r];
            } else {
                s += static_cast<char>(rng() % 0x20);  // a control character
            }
        }
        if (k % 3 == 0) s.push_back(static_cast<char>(rng() % 256));
        gInpJyoken.Title = s;
        gInpSectS.Item(1)->Name = s;
        ASSERT_EQ(DesignJsonText(), reference::DumpJson(reference::DesignJson())) << k;
        reference::ordered_json keyed;
        keyed[s] = s;
        ASSERT_EQ(DumpJsonLine(keyed), reference::DumpJsonLine(keyed)) << k;
        ASSERT_EQ(DumpJson(keyed), reference::DumpJson(keyed)) << k;
    }
    InitData();
}

}  // namespace
}  // namespace kuvelt::cli
