#include "cli/csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "calc/results.h"
#include "calc/yaita_choice.h"
#include "cli/design_json.h"
#include "cli/result_fields.h"
#include "model/design.h"

namespace kuvelt::cli::csv {

std::string Text(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

std::string Number(double v) { return std::isfinite(v) ? JsonNumber(v) : std::string(); }

std::string Row(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) line += ',';
        line += cells[i];
    }
    return line + '\n';
}

namespace {

// The columns before the pile's checks, in header order.
enum Head : std::size_t {
    kStatus,
    kEldlxComputed,
    kEldlx,
    kP,
    kY,
    kPileKind,
    kPileNo,
    kPileName,
    kPileL,
    kProposed,
    kHeadColumns
};
constexpr std::string_view kHead[kHeadColumns] = {"status",
                                                  "ELDLX computed (m)",
                                                  "ELDLX adopted (m)",
                                                  "P (kN/m)",
                                                  "Y (m)",
                                                  "pile kind",
                                                  "pile no",
                                                  "pile name",
                                                  "L (m)",
                                                  "proposed"};

// The columns after them.
enum Tail : std::size_t {
    kStability,
    kFs,
    kFa,
    kStabilityVerdict,
    kPassingC,
    kPassingLS,
    kPassingS,
    kVerdict,
    kMessage,
    kTailColumns
};
constexpr std::string_view kTail[kTailColumns] = {"stability",
                                                  "Fs",
                                                  "Fa",
                                                  "stability verdict",
                                                  "passing concrete",
                                                  "passing light steel",
                                                  "passing steel",
                                                  "verdict",
                                                  "message"};

// The pile's checks: the columns of the concrete result row, with those of the steel row that
// concrete has not set in just before the next column the two share ("sigma" and "sigma_a"
// before "strength"), each row's own order kept.
std::vector<std::string_view> MakePileColumns() {
    std::vector<std::string_view> c;
    for (const ResultField<ConcreteRow>& f : FieldsOf<ConcreteRow>()) {
        if (!f.column.empty()) c.push_back(f.column);
    }
    std::vector<std::string_view> pending;
    for (const ResultField<SteelRow>& f : FieldsOf<SteelRow>()) {
        if (f.column.empty()) continue;
        const auto shared = std::find(c.begin(), c.end(), f.column);
        if (shared == c.end()) {
            pending.push_back(f.column);
            continue;
        }
        c.insert(shared, pending.begin(), pending.end());
        pending.clear();
    }
    c.insert(c.end(), pending.begin(), pending.end());
    return c;
}

const std::vector<std::string_view>& PileColumns() {
    static const std::vector<std::string_view> columns = MakePileColumns();
    return columns;
}

std::size_t ColumnCount() { return kHeadColumns + PileColumns().size() + kTailColumns; }
std::size_t Column(Tail t) { return kHeadColumns + PileColumns().size() + t; }
std::size_t Column(std::string_view pileColumn) {
    const auto& p = PileColumns();
    return kHeadColumns +
           static_cast<std::size_t>(std::find(p.begin(), p.end(), pileColumn) - p.begin());
}

// The kind words of --pick.
constexpr std::string_view kKindWords[] = {"concrete", "light", "steel"};

const char* Verdict(bool fails) { return fails ? "OUT" : "OK"; }

int32_t Passing(const SectionResults& r, PileKind k) {
    const int32_t n = std::min(CatalogueCount(k), kMaxSections);
    int32_t passing = 0;
    for (int32_t s = 1; s <= n; ++s) passing += r.Passes(k, s) ? 1 : 0;
    return passing;
}

// The cells of the pile's checks from its result row.
template <class Row>
void RowCells(const Row& row, std::vector<std::string>& c) {
    for (const ResultField<Row>& f : FieldsOf<Row>()) {
        if (f.column.empty()) continue;
        c[Column(f.column)] = f.IsCheck() ? Verdict(f.Fails(row)) : Number(f.Value(row));
    }
}

// The pile's checks; false when one fails.
bool PileCells(const SectionResults& r, std::vector<std::string>& c) {
    const CInpYaita& y = gInpYaita;
    const std::optional<PileKind> kind = KindOfChoice(y.Yaita);
    c[kPileKind] = kind ? std::string(kKindWords[y.Yaita]) : std::to_string(y.Yaita);
    c[kPileNo] = std::to_string(y.Sect);
    c[kPileL] = Number(y.L);
    c[kProposed] = y.Proposed ? "true" : "false";
    if (!kind || y.Sect < 1 || y.Sect > kMaxSections) return false;
    const int32_t s = y.Sect;
    if (*kind == PileKind::Concrete) {
        const CInpSectC* row = gInpSectC.Item(s);
        if (row == nullptr) return false;
        c[kPileName] = Text(row->Name);
        const ConcreteRow* checks = r.Concrete(s);
        RowCells(checks ? *checks : ConcreteRow{}, c);
        return r.Passes(*kind, s);
    }
    const colInpSectS& cat = *kind == PileKind::LightSteel ? gInpSectLS : gInpSectS;
    const CInpSectS* row = cat.Item(s);
    if (row == nullptr) return false;
    c[kPileName] = Text(row->Name);
    const SteelRow* checks = r.Steel(*kind, s);
    RowCells(checks ? *checks : SteelRow{}, c);
    return r.Passes(*kind, s);
}

// The stability check of the pile; false when it fails or has no result.
bool StabilityCells(const usecase::DesignRun& run, std::vector<std::string>& c) {
    if (gInpJyoken.Nekiri == 0) {
        c[Column(kStability)] = "not checked";
        return true;
    }
    if (!run.calc.stability) return true;
    auto fill = [&](const char* name, const auto& a) {
        c[Column(kStability)] = name;
        if (a.Error() != 0) {
            c[Column(kStabilityVerdict)] = "no result";
            return false;
        }
        c[Column(kFs)] = Number(a.F());
        c[Column(kFa)] = Number(a.Fa);
        c[Column(kStabilityVerdict)] = a.Hantei() ? "OK" : "OUT";
        return a.Hantei();
    };
    const Results& r = *run.calc.results;
    if (LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind == 0 && r.boiling) {
        const clsNekiriAnteiAs& a = *r.boiling;
        if (a.Error() == 0 && a.NoHead()) {
            // No water head: no factor (the calculation's 999 is not one), nothing to satisfy.
            c[Column(kStability)] = "boiling";
            c[Column(kFa)] = Number(a.Fa);
            c[Column(kStabilityVerdict)] = "not needed";
            return true;
        }
        return fill("boiling", a);
    }
    if (LayerBelowDesignGround(gInpJiban, gInpJyoken).Kind != 0 && r.heaving)
        return fill("heaving", *r.heaving);
    return true;
}

}  // namespace

std::vector<std::string> SummaryHeader() {
    std::vector<std::string> h;
    for (std::string_view n : kHead) h.push_back(Text(n));
    for (std::string_view n : PileColumns()) h.push_back(Text(n));
    for (std::string_view n : kTail) h.push_back(Text(n));
    return h;
}

std::vector<std::string> RefusedCells(std::string_view message) {
    std::vector<std::string> c(ColumnCount());
    c[kStatus] = "refused";
    c[Column(kVerdict)] = "refused";
    c[Column(kMessage)] = Text(message);
    return c;
}

namespace {

// What a run that did not end well said, its messages' texts in order.
std::string Said(const usecase::DesignRun& run) {
    std::string s;
    for (const Message& m : run.messages) s += (s.empty() ? "" : " / ") + m.text;
    return s;
}

}  // namespace

std::vector<std::string> SummaryCells(const usecase::DesignRun& run) {
    if (run.calc.refusal) return RefusedCells(run.calc.refusal->message.text);
    std::vector<std::string> c(ColumnCount());
    c[kStatus] = run.calc.calculated && !run.calc.stabilityFailed ? "ok" : "failed";
    if (run.outcome != usecase::Outcome::Ok) c[Column(kMessage)] = Text(Said(run));
    const Results& r = *run.calc.results;
    if (r.dl) {
        c[kEldlxComputed] = Number(r.dl->Interpolated() ? r.dl->ELDLXRaw() : r.dl->ELDLX());
        c[kEldlx] = Number(r.dl->ELDLX());
    }
    if (r.pressure) {
        c[kP] = Number(r.pressure->P());
        c[kY] = Number(r.pressure->Y());
    }
    if (!run.calc.calculated) {
        c[Column(kVerdict)] = "failed";
        return c;
    }
    c[Column(kPassingC)] = std::to_string(Passing(r.sections, PileKind::Concrete));
    c[Column(kPassingLS)] = std::to_string(Passing(r.sections, PileKind::LightSteel));
    c[Column(kPassingS)] = std::to_string(Passing(r.sections, PileKind::Steel));
    if (!gInpYaita.InpFlg) {
        c[Column(kVerdict)] = "no pile";
        return c;
    }
    const bool pile = PileCells(r.sections, c);
    const bool stable = StabilityCells(run, c);
    c[Column(kVerdict)] = run.calc.stabilityFailed ? "failed" : pile && stable ? "OK" : "OUT";
    return c;
}

namespace {

// Splits a path into keys and indices; false when malformed.
struct Step {
    std::string key;
    long index = -1;  // >= 0 for "[N]"
};

bool Steps(std::string_view path, std::vector<Step>& steps) {
    std::size_t i = 0;
    bool expectKey = true;
    while (i < path.size()) {
        if (path[i] == '[') {
            const std::size_t close = path.find(']', i);
            if (close == std::string_view::npos) return false;
            const std::string_view n = path.substr(i + 1, close - i - 1);
            long idx = -1;
            const auto r = std::from_chars(n.data(), n.data() + n.size(), idx);
            if (n.empty() || r.ec != std::errc() || r.ptr != n.data() + n.size() || idx < 0) {
                return false;
            }
            steps.push_back({{}, idx});
            i = close + 1;
            expectKey = false;
            continue;
        }
        if (path[i] == '.') {
            if (expectKey) return false;
            ++i;
            expectKey = true;
            continue;
        }
        if (!expectKey) return false;
        const std::size_t end = path.find_first_of(".[", i);
        steps.push_back({std::string(path.substr(i, end - i)), -1});
        i = end == std::string_view::npos ? path.size() : end;
        expectKey = false;
    }
    return !steps.empty() && !expectKey;
}

}  // namespace

bool ValidPath(std::string_view path) {
    std::vector<Step> steps;
    return Steps(path, steps);
}

std::string Pick(const nlohmann::ordered_json& doc, std::string_view path) {
    std::vector<Step> steps;
    if (!Steps(path, steps)) return {};
    const nlohmann::ordered_json* j = &doc;
    for (const Step& s : steps) {
        if (s.index >= 0) {
            if (!j->is_array() || static_cast<std::size_t>(s.index) >= j->size()) return {};
            j = &(*j)[static_cast<std::size_t>(s.index)];
        } else {
            if (!j->is_object()) return {};
            const auto it = j->find(s.key);
            if (it == j->end()) return {};
            j = &*it;
        }
    }
    if (j->is_number()) return Number(j->get<double>());
    if (j->is_string()) return Text(j->get_ref<const std::string&>());
    if (j->is_boolean()) return j->get<bool>() ? "true" : "false";
    if (j->is_null()) return {};
    return Text(j->dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

}  // namespace kuvelt::cli::csv
