// The preview's own readers of figure and style files. Any bytes give a figure or a reason, and a
// figure that reads refers only to its own points and stays within the item bounds; style tables
// never grow past the pens and fonts the report uses.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "preview/document/figure.h"

namespace {

using namespace kuvelt::preview;

using kuvelt::fuzz::Check;

bool Finite(double v) { return std::isfinite(v); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::string why;
    if (std::optional<SubFigure> s = ParseSubFigure(bytes, &why)) {
        const int n = static_cast<int>(s->points.size());
        Check(s->points.size() <= kMaxItemsPerBlock && s->segments.size() <= kMaxItemsPerBlock &&
                  s->arrows.size() <= kMaxItemsPerBlock && s->texts.size() <= kMaxItemsPerBlock,
              "item bound not kept");
        for (const FigPoint& p : s->points) Check(Finite(p.x) && Finite(p.y), "point not finite");
        for (const FigSegment& g : s->segments)
            Check(g.from >= 0 && g.from < n && g.to >= 0 && g.to < n, "segment names no point");
        for (const FigArrow& a : s->arrows)
            Check(a.point >= 0 && a.point < n, "arrow names no point");
        for (const FigText& t : s->texts)
            Check(Finite(t.x) && Finite(t.y), "text anchor not finite");
        Check(Finite(s->width) && Finite(s->height) && Finite(s->minX) && Finite(s->minY) &&
                  Finite(s->maxX) && Finite(s->maxY),
              "extent not finite");
        Check(s->droppedItems >= 0, "negative dropped count");
    } else {
        Check(!why.empty(), "sub-figure refused without a reason");
    }

    why.clear();
    if (std::optional<Figure> f = ParseComposite(bytes, &why)) {
        Check(f->parts.size() <= kMaxSubFigures, "too many sub-figures kept");
        Check(Finite(f->width) && Finite(f->height), "frame not finite");
        for (const Placement& p : f->parts)
            Check(Finite(p.x) && Finite(p.y), "placement not finite");
    } else {
        Check(!why.empty(), "composite refused without a reason");
    }

    Check(ParseLineStyles(bytes).size() <= 9, "more than 9 line styles kept");
    Check(ParseTextStyles(bytes).size() <= 2, "more than 2 text styles kept");

    double v = 0;
    if (ReadNumber(bytes.substr(0, 64), v))
        Check(Finite(v), "number not finite");
    else
        Check(v == 0, "unread number is not 0");
    return 0;
}
