// Figures as the preview holds them: the records of sub-figure files (points, segments, arrows,
// texts in mm, Y upwards) read by the tolerant figure reader of src/formats, a composite's frame
// with its placed sub-figures loaded, and the line and text style tables with built-in defaults.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/figure_files.h"
#include "formats/style_files.h"

namespace kuvelt::preview {

// The records of a sub-figure: `from`, `to` and `at` index its points (tolerant mode keeps only
// records that name a point it read).
using SubFigure = formats::SubFigure;
using FigPoint = formats::Point;
using FigSegment = formats::Segment;
using FigArrow = formats::Arrow;
using FigText = formats::Text;
using LineStyle = formats::LineStyle;
using TextStyle = formats::TextStyle;
using formats::ReadNumber;

inline constexpr std::size_t kMaxFigureFileBytes = 8u << 20;
inline constexpr std::size_t kMaxItemsPerBlock = formats::kTolerantMaxRecords;
inline constexpr std::size_t kMaxSubFigures = formats::kTolerantMaxPlacements;

struct StyleTables {
    std::vector<LineStyle> lines;  // style k is lines[k - 1]
    std::vector<TextStyle> texts;  // style k is texts[k - 1]
    bool lineFileRead = false;
    bool textFileRead = false;

    // Style k, or the built-in default when k is outside the table.
    LineStyle Line(int k) const;
    TextStyle Text(int k) const;
};

// Built-in styles used when the style files are missing: thin solid outlines (1), a medium line
// (2), a heavy wall line (3), a thin dashed dividing line (4), and two text sizes.
StyleTables DefaultStyles();

struct Placement {
    std::string path;  // UTF-8 path of the sub-figure file
    double x = 0.0;    // frame coordinates of the sub-figure's origin, mm, Y upwards from the
    double y = 0.0;    // frame's bottom edge
    std::optional<SubFigure> figure;  // nullopt: unavailable
    std::string problem;              // why it is unavailable (UTF-8)
};

struct Figure {
    bool available = false;
    std::string problem;  // UTF-8 reason when !available (or a part is missing)
    std::string caption;
    double width = 0.0;  // frame, mm
    double height = 0.0;
    std::vector<Placement> parts;
};

// A composite as read (tolerant mode), its parts not loaded yet.
Figure FigureOf(const formats::Composite& composite);

}  // namespace kuvelt::preview
