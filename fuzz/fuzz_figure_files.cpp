// Figure files are read back by the report (extents of each sub-figure) and by the preview
// (everything). Any bytes must give a figure or a reason, and a figure that reads must survive
// being written by the report's own writer and read again with the same records.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "report/figure_read.h"
#include "report/prnz.h"

namespace {

using namespace kuvelt;
namespace z = kuvelt::basResOutPrnZ;

using kuvelt::fuzz::Check;

// Rebuilds the figure in the drawing buffer, writes it and reads it again.
void RoundTrip(const figread::SubFigure& f) {
    if (f.points.size() > z::kMaxPoints || f.segments.size() > z::kMaxSegments ||
        f.arrows.size() > z::kMaxArrows || f.texts.size() > z::kMaxTexts) {
        return;
    }
    z::ClearAll();
    std::string bytes;
    try {
        for (const auto& p : f.points) z::AddPoint(p.x, p.y);
        for (const auto& s : f.segments) z::AddSegment(s.startPoint, s.endPoint, s.style);
        for (const auto& a : f.arrows) z::AddArrow(a.point, a.code, a.style);
        for (const auto& t : f.texts) z::AddText(t.text, t.style, t.align, t.x, t.y);
        bytes = z::BuildFigureFile(f.caption1, f.caption2);
    } catch (const PrintFault&) {
        return;  // a text style the style table does not know
    }
    figread::SubFigure again;
    std::string error;
    if (!figread::ParseSubFigure(bytes, again, &error)) {
        std::fprintf(stderr, "written figure does not read: %s\n", error.c_str());
        std::abort();
    }
    Check(again.points.size() == f.points.size(), "point count changed");
    Check(again.segments.size() == f.segments.size(), "segment count changed");
    Check(again.arrows.size() == f.arrows.size(), "arrow count changed");
    Check(again.texts.size() == f.texts.size(), "text count changed");
    for (std::size_t i = 0; i < f.segments.size(); ++i) {
        Check(again.segments[i].startPoint == f.segments[i].startPoint &&
                  again.segments[i].endPoint == f.segments[i].endPoint &&
                  again.segments[i].style == f.segments[i].style,
              "segment changed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool styles = [] {
        z::ParseTextStyles(
            "\"k\"\r\n1, 400, \"IPAGothic\", 200, 0, 0, 0, \"\"\r\n"
            "2, 400, \"IPAGothic\", 160, 0, 0, 0, \"\"\r\nEND, 0, \"\", 0, 0, 0, 0, \"\"\r\n");
        return true;
    }();
    (void)styles;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;

    figread::SubFigure head;
    const bool headOk = figread::ParseSubFigureHeader(bytes, head, &error);
    figread::SubFigure full;
    if (figread::ParseSubFigure(bytes, full, &error)) {
        Check(headOk, "figure reads but its header does not");
        Check(head.width == full.width && head.minX == full.minX, "header differs");
        RoundTrip(full);
    }
    figread::Composite comp;
    (void)figread::ParseComposite(bytes, comp, &error);

    // The report's own read-back of a sub-figure's extents, through a file.
    const std::string path = fuzz::TempPath("figure.zu");
    fuzz::WriteFile(path, bytes);
    z::ClearAll();
    z::AddSubFigure(path, 10, 20);
    try {
        z::ReadSubFigureExtents();
        Check(headOk, "extents read where the header reader fails");
    } catch (const PrintFault&) {
    }
    figread::Composite compFile;
    (void)figread::ReadComposite(path, compFile, &error);
    return 0;
}
