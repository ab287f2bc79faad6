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
    return KhProfile(layers, top).MeanBelow(depth);
}

KhProfile::KhProfile(const std::vector<CInpJibanLayer>& layers, double top) : top_(top) {
    if (layers.empty()) return;
    const std::size_t first = LayerIndexAt(layers, top);
    kmin_ = kmax_ = layers[first].KH;
    shares_.reserve(layers.size() - first);
    double from = 0.0, f = 0.0;
    MeanOfParts m;
    for (std::size_t i = first; i < layers.size(); ++i) {
        Share s;
        s.top = std::min(top, layers[i].ELU);
        s.from = from;
        s.f = f;
        s.kh = layers[i].KH;
        s.sum = m.sum;
        s.thickness = m.thickness;
        s.uniform = m.uniform;
        kmin_ = std::min(kmin_, s.kh);
        kmax_ = std::max(kmax_, s.kh);
        if (i + 1 < layers.size()) {
            const double next = std::min(top, layers[i + 1].ELU);
            s.to = top - next;
            m.Add(s.top - next, s.kh);
            f = f + s.kh * (s.to - from);
            from = s.to;
        }
        shares_.push_back(s);
    }
}

double KhProfile::MeanBelow(double depth) const {
    if (shares_.empty() || !(depth > 0.0)) return 0.0;
    const double bottom = top_ - depth;
    // The shares above `bottom` are whole; the one it falls in is cut there.
    std::size_t j = 0;
    while (j + 1 < shares_.size() && shares_[j + 1].top > bottom) ++j;
    const Share& s = shares_[j];
    MeanOfParts m;
    m.sum = s.sum;
    m.thickness = s.thickness;
    m.uniform = s.uniform;
    m.any = j > 0;
    m.first = shares_[0].kh;
    if (s.top > bottom) m.Add(s.top - bottom, s.kh);
    return m.Mean();
}

}  // namespace kuvelt
