#include "cli/distribution_json.h"

#include <optional>
#include <string_view>
#include <vector>

#include "calc/distribution.h"

namespace kuvelt::cli {

namespace {

template <class W>
void Array(W& w, std::string_view key, const std::vector<double>& v) {
    w.Key(key);
    w.BeginArray();
    for (double x : v) w.Number(x);
    w.EndArray();
}

template <class W>
void Write(W& w, bool calcMain) {
    if (!calcMain) return;
    const std::optional<ForceDistribution> d = ChosenDistribution();
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

void WriteDistributionMember(JsonWriter& w, bool calcMain) { Write(w, calcMain); }
void WriteDistributionMember(JsonTreeBuilder& b, bool calcMain) { Write(b, calcMain); }

}  // namespace kuvelt::cli
