// Readers of the two figure file kinds the report writes: sub-figure files (captions, extents,
// points, segments, arrows, texts) and composite files (caption, frame, placed sub-figures).
// Input is code page 932 bytes with CR LF (a lone LF is accepted); texts come out UTF-8,
// lengths in mm, Y upwards. Any input is safe: a file gives a figure or false and a reason,
// never a crash, and the amounts read are bounded in both modes (records.h).
//
// Strict mode (the report's read-back) refuses anything the writer would not write: a missing
// line or "END", a wrong field count, a field that is not a number (an integer where one is
// expected), an unknown block, more than kMaxRecords records of a kind, a file over
// kMaxFileBytes. The reason reads "<line>行目: <what>".
//
// Tolerant mode (the preview) reads what it can: blanks and broken numbers drop their record
// (counted in `droppedItems`) or read as defaults, segments and arrows naming no point read are
// dropped, unknown blocks are passed over, coordinates are clamped to ±kMaxCoordinate, records
// past kTolerantMaxRecords of a kind and placements past kTolerantMaxPlacements are left out. A
// file is refused only when it lacks what makes it a figure: fewer than its heading lines, no
// points block, a composite without a usable frame or without any placement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/records.h"

namespace kuvelt::formats {

struct Point {
    double x = 0;
    double y = 0;
    int32_t number = 0;  // as written
};
// A line between two points. `startPoint` and `endPoint` are point numbers as written; `from`
// and `to` are the indices in `points` of the points they name (the last point of that number),
// -1 when there is none (only in strict mode, which does not check references).
struct Segment {
    int32_t number = 0;
    int32_t startPoint = 0;
    int32_t endPoint = 0;
    int32_t style = 1;
    int32_t from = -1;
    int32_t to = -1;
};
// An arrow at a point: `point` as written, `at` its index in `points` (-1 as for segments).
struct Arrow {
    int32_t number = 0;
    int32_t point = 0;
    int32_t code = 7;
    int32_t style = 1;
    int32_t at = -1;
};
// Alignment 1: the text runs upwards from its anchor; otherwise it runs to the right.
struct Text {
    std::string text;
    double x = 0;
    double y = 0;
    int32_t style = 1;
    int32_t align = 3;
};

struct SubFigure {
    std::string caption1;
    std::string caption2;
    double width = 0;
    double height = 0;
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;
    std::vector<Point> points;
    std::vector<Segment> segments;
    std::vector<Arrow> arrows;
    std::vector<Text> texts;
    int droppedItems = 0;  // tolerant mode: records skipped as unreadable or naming no point
};

struct Placement {
    std::string path;  // UTF-8 path of the sub-figure file
    double x = 0;      // frame coordinates of the sub-figure's origin, mm
    double y = 0;
};

struct Composite {
    std::string caption;
    double frameWidth = 0;
    double frameHeight = 0;
    std::vector<Placement> subFigures;
};

// Strict limits (the writer's capacities, with room to spare).
inline constexpr std::size_t kMaxRecords = 100000;
inline constexpr std::size_t kMaxFileBytes = 16u << 20;
// Tolerant limits.
inline constexpr std::size_t kTolerantMaxRecords = 200000;
inline constexpr std::size_t kTolerantMaxPlacements = 64;
inline constexpr double kMaxCoordinate = 10000.0;
inline constexpr double kMaxFrame = 1000.0;

// Parse the bytes of a file. On failure `out` is left as it was and `error` (when given) says
// why.
bool ParseSubFigure(std::string_view bytes, Mode mode, SubFigure& out,
                    std::string* error = nullptr);
bool ParseComposite(std::string_view bytes, Mode mode, Composite& out,
                    std::string* error = nullptr);
// Only the captions and the extents line of a sub-figure file.
bool ParseSubFigureHeader(std::string_view bytes, Mode mode, SubFigure& out,
                          std::string* error = nullptr);

// Read (files::ReadAll, at most kMaxFileBytes) and parse a file; an unreadable file gives
// "ファイルを読めません (<error number>): <path>".
bool ReadSubFigure(const std::string& path, Mode mode, SubFigure& out,
                   std::string* error = nullptr);
bool ReadComposite(const std::string& path, Mode mode, Composite& out,
                   std::string* error = nullptr);
bool ReadSubFigureHeader(const std::string& path, Mode mode, SubFigure& out,
                         std::string* error = nullptr);

}  // namespace kuvelt::formats
