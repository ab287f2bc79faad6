#include "cli/csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "calc/nekiri.h"
#include "calc/result_store.h"
#include "calc/sections.h"
#include "cli/design_json.h"
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

// The cells, by column, in header order.
enum Col : std::size_t {
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
    kMoment,
    kMc,
    kSigma,
    kSigmaA,
    kStrength,
    kLreq,
    kLmin,
    kLmax,
    kLength,
    kDelta,
    kDeltaA,
    kDisplacement,
    kStability,
    kFs,
    kFa,
    kStabilityVerdict,
    kPassingC,
    kPassingLS,
    kPassingS,
    kVerdict,
    kMessage,
    kColumns
};

constexpr std::string_view kHeader[kColumns] = {"status",
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
                                                "message"};

// The kind words of --pick.
constexpr std::string_view kKindWords[] = {"concrete", "light", "steel"};

const char* Verdict(double flag) { return flag != 0.0 ? "OUT" : "OK"; }

int32_t Passing(PileKind k) {
    const int32_t n = std::min(k == PileKind::Concrete     ? gInpSectC.Count()
                               : k == PileKind::LightSteel ? gInpSectLS.Count()
                                                           : gInpSectS.Count(),
                               kMaxSections);
    int32_t passing = 0;
    for (int32_t s = 1; s <= n; ++s) passing += SectionPasses(k, s) ? 1 : 0;
    return passing;
}

// The pile's checks; false when one fails.
bool PileCells(std::vector<std::string>& c) {
    const CInpYaita& y = gInpYaita;
    const std::optional<PileKind> kind = KindOfChoice(y.Yaita);
    c[kPileKind] = kind ? std::string(kKindWords[y.Yaita]) : std::to_string(y.Yaita);
    c[kPileNo] = std::to_string(y.Sect);
    c[kPileL] = Number(y.L);
    c[kProposed] = y.Proposed ? "true" : "false";
    if (!kind || y.Sect < 1 || y.Sect > kMaxSections) return false;
    using namespace item;
    const int32_t s = y.Sect;
    if (*kind == PileKind::Concrete) {
        const CInpSectC* row = gInpSectC.Item(s);
        if (row == nullptr) return false;
        c[kPileName] = Text(row->Name);
        c[kMoment] = Number(gListC(s, kCMoment));
        c[kMc] = Number(gListC(s, kCMc));
        c[kStrength] = Verdict(gListC(s, kCMomentFlag));
        c[kLreq] = Number(gListC(s, kCLreq));
        c[kLmin] = Number(gListC(s, kCLmin));
        c[kLmax] = Number(gListC(s, kCLmax));
        c[kLength] = Verdict(gListC(s, kCLengthFlag));
        c[kDelta] = Number(gListC(s, kCDelta));
        c[kDeltaA] = Number(gListC(s, kCDeltaA));
        c[kDisplacement] = Verdict(gListC(s, kCDeltaFlag));
        return SectionPasses(*kind, s);
    }
    const colInpSectS& cat = *kind == PileKind::LightSteel ? gInpSectLS : gInpSectS;
    const auto& list = *kind == PileKind::LightSteel ? gListLS : gListS;
    const CInpSectS* row = cat.Item(s);
    if (row == nullptr) return false;
    c[kPileName] = Text(row->Name);
    c[kSigma] = Number(list(s, kSSigma));
    c[kSigmaA] = Number(list(s, kSSigmaA));
    c[kStrength] = Verdict(list(s, kSSigmaFlag));
    c[kLreq] = Number(list(s, kSLreq));
    c[kDelta] = Number(list(s, kSDelta));
    c[kDeltaA] = Number(list(s, kSDeltaA));
    c[kDisplacement] = Verdict(list(s, kSDeltaFlag));
    return SectionPasses(*kind, s);
}

// The stability check of the pile; false when it fails or has no result.
bool StabilityCells(const usecase::DesignRun& run, std::vector<std::string>& c) {
    if (gInpJyoken.Nekiri == 0) {
        c[kStability] = "not checked";
        return true;
    }
    if (!run.calc.stability) return true;
    auto fill = [&](const char* name, const auto& a) {
        c[kStability] = name;
        if (a.Error() != 0) {
            c[kStabilityVerdict] = "no result";
            return false;
        }
        c[kFs] = Number(a.F());
        c[kFa] = Number(a.Fa);
        c[kStabilityVerdict] = a.Hantei() ? "OK" : "OUT";
        return a.Hantei();
    };
    if (gInpJiban.Kind == 0 && gNekiriAnteiAs.Reached()) {
        const clsNekiriAnteiAs& a = *gNekiriAnteiAs.Peek();
        if (a.Error() == 0 && a.NoHead()) {
            // No water head: no factor (the store's 999 is not one), nothing to satisfy.
            c[kStability] = "boiling";
            c[kFa] = Number(a.Fa);
            c[kStabilityVerdict] = "not needed";
            return true;
        }
        return fill("boiling", a);
    }
    if (gInpJiban.Kind != 0 && gNekiriAnteiAc.Reached())
        return fill("heaving", *gNekiriAnteiAc.Peek());
    return true;
}

}  // namespace

std::vector<std::string> SummaryHeader() {
    std::vector<std::string> h;
    for (std::string_view n : kHeader) h.push_back(Text(n));
    return h;
}

std::vector<std::string> RefusedCells(std::string_view message) {
    std::vector<std::string> c(kColumns);
    c[kStatus] = "refused";
    c[kVerdict] = "refused";
    c[kMessage] = Text(message);
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
    std::vector<std::string> c(kColumns);
    c[kStatus] = run.calc.calculated && !run.calc.stabilityFailed ? "ok" : "failed";
    if (run.outcome != usecase::Outcome::Ok) c[kMessage] = Text(Said(run));
    if (gDL.Reached()) {
        c[kEldlxComputed] = Number(gDL->Interpolated() ? gDL->ELDLXRaw() : gDL->ELDLX());
        c[kEldlx] = Number(gDL->ELDLX());
    }
    if (gPressure.Reached()) {
        c[kP] = Number(gPressure->P());
        c[kY] = Number(gPressure->Y());
    }
    if (!run.calc.calculated) {
        c[kVerdict] = "failed";
        return c;
    }
    c[kPassingC] = std::to_string(Passing(PileKind::Concrete));
    c[kPassingLS] = std::to_string(Passing(PileKind::LightSteel));
    c[kPassingS] = std::to_string(Passing(PileKind::Steel));
    if (!gInpYaita.InpFlg) {
        c[kVerdict] = "no pile";
        return c;
    }
    const bool pile = PileCells(c);
    const bool stable = StabilityCells(run, c);
    c[kVerdict] = run.calc.stabilityFailed ? "failed" : pile && stable ? "OK" : "OUT";
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
