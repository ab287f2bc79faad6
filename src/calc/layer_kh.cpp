#include "calc/layer_kh.h"

#include <algorithm>

namespace kuvelt {

std::vector<KhPart> KhPartsBelow(const std::vector<CInpJibanLayer>& layers, double top,
                                 double depth) {
    std::vector<KhPart> parts;
    if (layers.empty() || !(depth > 0.0)) return parts;
    const double bottom = top - depth;
    for (std::size_t i = LayerIndexAt(layers, top); i < layers.size(); ++i) {
        const double from = std::min(top, layers[i].ELU);
        const double to = i + 1 < layers.size() ? std::max(bottom, layers[i + 1].ELU) : bottom;
        if (from > to) parts.push_back(KhPart{from, from - to, layers[i].KH});
        if (to <= bottom) break;
    }
    return parts;
}

double MeanKh(const std::vector<KhPart>& parts) {
    if (parts.empty()) return 0.0;
    const bool uniform = std::all_of(parts.begin(), parts.end(),
                                     [&](const KhPart& p) { return p.kh == parts.front().kh; });
    if (uniform) return parts.front().kh;
    double sum = 0.0, thickness = 0.0;
    for (const KhPart& p : parts) {
        sum += p.kh * p.thickness;
        thickness += p.thickness;
    }
    return sum / thickness;
}

}  // namespace kuvelt
