// The tolerant readers of figure and style files the preview uses. Any bytes give a figure or a
// reason, and a figure that reads refers only to its own points and stays within the item
// bounds; style tables never grow past the pens and fonts the report uses.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/figure_files.h"
#include "formats/style_files.h"
#include "fuzz_support.h"

namespace {

using namespace kuvelt::formats;

using kuvelt::fuzz::Check;

bool Finite(double v) { return std::isfinite(v); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::string why;
    SubFigure sub;
    if (ParseSubFigure(bytes, Mode::Tolerant, sub, &why)) {
        const int n = static_cast<int>(sub.points.size());
        Check(sub.points.size() <= kTolerantMaxRecords &&
                  sub.segments.size() <= kTolerantMaxRecords &&
                  sub.arrows.size() <= kTolerantMaxRecords &&
                  sub.texts.size() <= kTolerantMaxRecords,
              "item bound not kept");
        for (const Point& p : sub.points) Check(Finite(p.x) && Finite(p.y), "point not finite");
        for (const Segment& g : sub.segments)
            Check(g.from >= 0 && g.from < n && g.to >= 0 && g.to < n, "segment names no point");
        for (const Arrow& a : sub.arrows) Check(a.at >= 0 && a.at < n, "arrow names no point");
        for (const Text& t : sub.texts) Check(Finite(t.x) && Finite(t.y), "text anchor not finite");
        Check(Finite(sub.width) && Finite(sub.height) && Finite(sub.minX) && Finite(sub.minY) &&
                  Finite(sub.maxX) && Finite(sub.maxY),
              "extent not finite");
        Check(sub.droppedItems >= 0, "negative dropped count");
    } else {
        Check(!why.empty(), "sub-figure refused without a reason");
    }

    why.clear();
    Composite f;
    if (ParseComposite(bytes, Mode::Tolerant, f, &why)) {
        Check(f.subFigures.size() <= kTolerantMaxPlacements, "too many sub-figures kept");
        Check(Finite(f.frameWidth) && Finite(f.frameHeight), "frame not finite");
        for (const Placement& p : f.subFigures)
            Check(Finite(p.x) && Finite(p.y), "placement not finite");
    } else {
        Check(!why.empty(), "composite refused without a reason");
    }

    std::vector<LineStyle> pens;
    std::vector<TextStyle> fonts;
    Check(ParseLineStyles(bytes, Mode::Tolerant, pens) && pens.size() <= 9,
          "more than 9 line styles kept");
    Check(ParseTextStyles(bytes, Mode::Tolerant, fonts) && fonts.size() <= 2,
          "more than 2 text styles kept");

    double v = 0;
    if (ReadNumber(bytes.substr(0, 64), v))
        Check(Finite(v), "number not finite");
    else
        Check(v == 0, "unread number is not 0");
    return 0;
}
