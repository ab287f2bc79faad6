// Readers of the two figure file kinds the report writes: sub-figure files (captions, extents,
// points, segments, arrows, texts) and composite files (caption, frame, placed sub-figures).
// Input is code page 932 bytes with CR LF (a lone LF is accepted); texts come out UTF-8,
// lengths in mm. Any input is safe: a malformed file gives false and a reason, never a crash,
// and the amounts read are bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kuvelt::figread {

struct Point {
    int32_t number = 0;
    double x = 0;
    double y = 0;
};
struct Segment {
    int32_t number = 0;
    int32_t startPoint = 0;
    int32_t endPoint = 0;
    int32_t style = 0;
};
struct Arrow {
    int32_t number = 0;
    int32_t point = 0;
    int32_t code = 0;
    int32_t style = 0;
};
struct Text {
    std::string text;
    double x = 0;
    double y = 0;
    int32_t style = 0;
    int32_t align = 0;
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
};

struct Placement {
    std::string path;
    double x = 0;
    double y = 0;
};

struct Composite {
    std::string caption;
    double frameWidth = 0;
    double frameHeight = 0;
    std::vector<Placement> subFigures;
};

// Limits of what a reader accepts (the writer's capacities, with room to spare).
inline constexpr std::size_t kMaxRecords = 100000;
inline constexpr std::size_t kMaxFileBytes = 16u << 20;

// Parse the bytes of a file. On failure `error` (when given) says what and on which line.
bool ParseSubFigure(std::string_view bytes, SubFigure& out, std::string* error = nullptr);
bool ParseComposite(std::string_view bytes, Composite& out, std::string* error = nullptr);
// Only the captions and the extents line of a sub-figure file.
bool ParseSubFigureHeader(std::string_view bytes, SubFigure& out, std::string* error = nullptr);

// Read and parse a file (at most kMaxFileBytes).
bool ReadSubFigure(const std::string& path, SubFigure& out, std::string* error = nullptr);
bool ReadComposite(const std::string& path, Composite& out, std::string* error = nullptr);
bool ReadSubFigureHeader(const std::string& path, SubFigure& out, std::string* error = nullptr);

}  // namespace kuvelt::figread
