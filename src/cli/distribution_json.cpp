#include "cli/distribution_json.h"

#include <optional>
#include <string_view>
#include <vector>

#include "calc/distribution.h"
#include "calc/results.h"

namespace kuvelt::cli {

namespace {

// The curves to 0.0001 of their units (m, kN·m/m, kN/m, mm): far below what a plot or a check
// reads, and it halves the text of a batch where every design holds a chosen pile.
template <class W>
void Array(W& w, std::string_view key, const std::vector<double>& v) {
    w.Key(key);
    w.CurveNumbers(v);
}

template <class W>
void Write(W& w, const usecase::CalcRun& run) {
    if (!run.calculated) return;
    const std::optional<ForceDistribution> d = ChosenDistribution(*run.results);
    if (!d) return;
    w.Key("distribution");
    w.BeginObject();
    Array(w, "z", d->z);
    Array(w, "M", d->M);
    Array(w, "S", d->S);
    Array(w, "y", d->y);
    if (!d->note.empty()) {
        w.Key("note");
        w.Text(d->note);
    }
    w.EndObject();
}

}  // namespace

void WriteDistributionMember(JsonWriter& w, const usecase::CalcRun& run) { Write(w, run); }
void WriteDistributionMember(JsonTreeBuilder& b, const usecase::CalcRun& run) { Write(b, run); }

}  // namespace kuvelt::cli
