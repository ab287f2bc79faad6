// Readers of the two style files beside the programs, "LINE_PRN.DEF" (pens of the figures) and
// "STR_PRN.DEF" (fonts of the figure texts): a heading line, then one record a line up to a
// record whose first field is "END". Line records: key, type, width, comment. Text records:
// key, weight, family, size, colour, italic, spare, comment.
//
// Strict mode (the report) reads the file as CR LF text and refuses, with a run-time error
// number and a reason naming the file and line: a record with too few fields or a missing "END"
// (62), a field that is not a number (13) or beyond 32 bits (6), more than 9 line or 2 text
// styles (9); an unreadable file gives the file error number (53 when there is none).
// Tolerant mode (the preview) reads LF-ended lines (at most 1000), skips records it cannot read,
// reads a broken weight as 400 and colour, italic and spare as 0, replaces an absurd width or
// size by the default, ignores styles past the capacity and needs no "END".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/records.h"

namespace kuvelt::formats {

inline constexpr std::size_t kMaxLineStyles = 9;
inline constexpr std::size_t kMaxTextStyles = 2;
inline constexpr std::size_t kMaxStyleFileBytes = 1u << 20;

// Line style: the pen. `type` follows the usual pen codes (0 solid, 1 dash, 2 dot, 3 dash-dot,
// 4 dash-dot-dot); `width` is in 0.01 mm. The defaults are what tolerant mode gives a field it
// cannot use.
struct LineStyle {
    int type = 0;
    int width = 13;
};

// Text style: `weight` 400 normal, 700 bold; `sizeTwips` the em height in 1/1440 inch; `color`
// 0xRRGGBB; italic 0/1.
struct TextStyle {
    int weight = 400;
    std::string family = "IPAGothic";  // UTF-8
    int sizeTwips = 180;
    int color = 0;
    int italic = 0;
    int spare = 0;
};

struct StyleError {
    int32_t code = 0;  // run-time error number
    std::string text;  // UTF-8
};

// Parse the bytes of a style file into `out` (style k is out[k - 1]). On failure (strict mode
// only) `out` is left as it was and `error` (when given) says why.
bool ParseLineStyles(std::string_view bytes, Mode mode, std::vector<LineStyle>& out,
                     StyleError* error = nullptr);
bool ParseTextStyles(std::string_view bytes, Mode mode, std::vector<TextStyle>& out,
                     StyleError* error = nullptr);

// Read (files::ReadAll, at most kMaxStyleFileBytes) and parse a style file; an unreadable file
// fails in both modes with "スタイルファイルを読めません: <path>".
bool ReadLineStyles(const std::string& path, Mode mode, std::vector<LineStyle>& out,
                    StyleError* error = nullptr);
bool ReadTextStyles(const std::string& path, Mode mode, std::vector<TextStyle>& out,
                    StyleError* error = nullptr);

}  // namespace kuvelt::formats
