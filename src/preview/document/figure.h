// Figure files as the report writes them: sub-figure files (points, segments, arrows, texts in
// mm, Y upwards) and composite files (a frame of W x H mm placing sub-figures), plus the line and
// text style files. Readers are tolerant: blanks and broken numbers are skipped or read as 0,
// references to missing points are dropped, unknown blocks are passed over; a file is rejected
// (nullopt with a reason) only when it lacks what makes it a figure at all.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kuvelt::preview {

inline constexpr std::size_t kMaxFigureFileBytes = 8u << 20;
inline constexpr std::size_t kMaxItemsPerBlock = 200000;
inline constexpr std::size_t kMaxSubFigures = 64;

// Line style: the pen. `type` follows the usual pen codes (0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot, other values solid); `width` is in 0.01 mm (0 = the thinnest line).
struct LineStyle {
    int type = 0;
    int width = 13;
};

// Text style: `sizeTwips` is the em height in 1/1440 inch; `weight` 600 and above is bold;
// `color` is 0xRRGGBB.
struct TextStyle {
    int weight = 400;
    std::string family = "IPAGothic";  // UTF-8
    int sizeTwips = 180;
    int color = 0;
    int italic = 0;
    int spare = 0;
};

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

// Both style files: a heading line, then records up to a record whose first field is "END".
// Line records: key, type, width, comment. Text records: key, weight, family, size, colour,
// italic, spare, comment. Bad records are skipped; more than 9 line or 2 text styles are ignored.
std::vector<LineStyle> ParseLineStyles(std::string_view bytes);
std::vector<TextStyle> ParseTextStyles(std::string_view bytes);

struct FigPoint {
    double x = 0.0;
    double y = 0.0;
};
struct FigSegment {
    int from = 0;  // 0-based point indices, valid when the sub-figure is built
    int to = 0;
    int style = 1;
};
struct FigArrow {
    int point = 0;  // 0-based
    int code = 7;
    int style = 1;
};
struct FigText {
    std::string text;  // UTF-8
    double x = 0.0;
    double y = 0.0;
    int style = 1;
    int align = 3;  // 1: running upwards from the anchor; otherwise running to the right
};

struct SubFigure {
    std::string caption1, caption2;  // UTF-8
    double width = 0, height = 0, minX = 0, minY = 0, maxX = 0, maxY = 0;
    std::vector<FigPoint> points;
    std::vector<FigSegment> segments;
    std::vector<FigArrow> arrows;
    std::vector<FigText> texts;
    int droppedItems = 0;  // records that referred to missing points or could not be read
};

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

// Parses one sub-figure file; nullopt (with `problem`) when it is not a sub-figure.
std::optional<SubFigure> ParseSubFigure(std::string_view bytes, std::string* problem = nullptr);

// Parses a composite file without reading its parts (each Placement has no figure yet).
std::optional<Figure> ParseComposite(std::string_view bytes, std::string* problem = nullptr);

// Reads a number tolerantly: leading blanks skipped, the longest decimal prefix taken; false
// (and 0) when there is none or it is not finite.
bool ReadNumber(std::string_view text, double& out);

}  // namespace kuvelt::preview
