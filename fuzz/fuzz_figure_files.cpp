// Figure files are read back strictly by the report (extents of each sub-figure) and tolerantly
// by the preview (everything), through one reader. Any bytes must give a figure or a reason in
// either mode; a figure that reads strictly must survive being written by the report's own
// writer and read again, in both modes, with the same records.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "formats/figure_files.h"
#include "fuzz_support.h"
#include "report/prnz.h"

namespace {

using namespace kuvelt;
namespace z = kuvelt::basResOutPrnZ;

using kuvelt::fuzz::Check;

// Rebuilds the figure in the drawing buffer, writes it and reads it again.
void RoundTrip(const formats::SubFigure& f) {
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
    formats::SubFigure again;
    std::string error;
    if (!formats::ParseSubFigure(bytes, formats::Mode::Strict, again, &error)) {
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
    // The preview reads the written file with the same points and texts and every segment whose
    // points exist (the writer numbers its points 1, 2, …) — unless a text reads as "END" between
    // blanks, which ends the tolerant reader's text block early.
    for (const auto& t : f.texts) {
        if (formats::Trim(formats::Mode::Tolerant, t.text) == "END") return;
    }
    formats::SubFigure seen;
    if (!formats::ParseSubFigure(bytes, formats::Mode::Tolerant, seen, &error)) {
        std::fprintf(stderr, "written figure does not read tolerantly: %s\n", error.c_str());
        std::abort();
    }
    Check(seen.points.size() == f.points.size(), "tolerant point count differs");
    Check(seen.texts.size() == f.texts.size(), "tolerant text count differs");
    std::size_t named = 0;
    const auto n = static_cast<int32_t>(f.points.size());
    for (const auto& s : f.segments) {
        named += s.startPoint >= 1 && s.startPoint <= n && s.endPoint >= 1 && s.endPoint <= n &&
                 std::abs(s.style) <= 2000000000;
    }
    Check(seen.segments.size() == named, "tolerant segment count differs");
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

    formats::SubFigure head;
    const bool headOk = formats::ParseSubFigureHeader(bytes, formats::Mode::Strict, head, &error);
    formats::SubFigure full;
    if (formats::ParseSubFigure(bytes, formats::Mode::Strict, full, &error)) {
        Check(headOk, "figure reads but its header does not");
        Check(head.width == full.width && head.minX == full.minX, "header differs");
        RoundTrip(full);
    }
    formats::Composite comp;
    (void)formats::ParseComposite(bytes, formats::Mode::Strict, comp, &error);

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
    formats::Composite compFile;
    (void)formats::ReadComposite(path, formats::Mode::Strict, compFile, &error);
    return 0;
}
