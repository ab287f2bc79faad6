#include "calc/layer_kh.h"

#include <algorithm>

namespace kuvelt {

namespace {

// Calls `part(top, thickness, kh)` for each layer's share of the `depth` below `top`, from the
// top down.
template <class Part>
void ForEachKhPart(const std::vector<CInpJibanLayer>& layers, double top, double depth, Part part) {
    if (layers.empty() || !(depth > 0.0)) return;
    const double bottom = top - depth;
    for (std::size_t i = LayerIndexAt(layers, top); i < layers.size(); ++i) {
        const double from = std::min(top, layers[i].ELU);
        const double to = i + 1 < layers.size() ? std::max(bottom, layers[i + 1].ELU) : bottom;
        if (from > to) part(from, from - to, layers[i].KH);
        if (to <= bottom) break;
    }
}

// Sums the shares in order, and says whether they all have one Kh.
struct MeanOfParts {
    double sum = 0.0, thickness = 0.0, first = 0.0;
    bool any = false, uniform = true;

    void Add(double thick, double kh) {
        if (!any) first = kh;
        uniform = uniform && kh == first;
        any = true;
        sum += kh * thick;
        thickness += thick;
    }
    double Mean() const {
        if (!any) return 0.0;
        return uniform ? first : sum / thickness;
    }
};

}  // namespace

std::vector<KhPart> KhPartsBelow(const std::vector<CInpJibanLayer>& layers, double top,
                                 double depth) {
    std::vector<KhPart> parts;
    ForEachKhPart(layers, top, depth, [&](double from, double thickness, double kh) {
        parts.push_back(KhPart{from, thickness, kh});
    });
    return parts;
}

double MeanKh(const std::vector<KhPart>& parts) {
    MeanOfParts m;
    for (const KhPart& p : parts) m.Add(p.thickness, p.kh);
    return m.Mean();
}

double MeanKhBelow(const std::vector<CInpJibanLayer>& layers, double top, double depth) {
    MeanOfParts m;
    ForEachKhPart(layers, top, depth,
                  [&](double, double thickness, double kh) { m.Add(thickness, kh); });
    return m.Mean();
}

}  // namespace kuvelt
