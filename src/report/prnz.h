// The drawing buffer of report figures (points, segments, arrows, texts, sub-figures; drawing
// units of 1 mm, X right, Y up), the line and text style tables read from "LINE_PRN.DEF" and
// "STR_PRN.DEF", and the writers of sub-figure and composite figure files (code page 932,
// CR LF). A full buffer, a style file that cannot be read and file errors throw PrintFault.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/prn.h"

namespace kuvelt::basResOutPrnZ {

inline constexpr int32_t kMaxPoints = 600;
inline constexpr int32_t kMaxSegments = 600;
inline constexpr int32_t kMaxArrows = 500;
inline constexpr int32_t kMaxTexts = 500;
inline constexpr int32_t kMaxSubFigures = 10;
inline constexpr int32_t kMaxLineStyles = 9;
inline constexpr int32_t kMaxTextStyles = 2;

struct ZPoint {
    double X = 0;
    double Y = 0;
};
struct ZSegment {
    int32_t StartPoint = 0;
    int32_t EndPoint = 0;
    int32_t Style = 0;
};
struct ZArrow {
    int32_t Point = 0;
    int32_t Code = 0;
    int32_t Style = 0;
};
// Alignment 1: the text runs upwards from its anchor; 3: it runs to the right.
struct ZText {
    std::string Text;  // UTF-8
    int32_t Style = 0;
    int32_t Align = 0;
    double X = 0;
    double Y = 0;
};
struct ZSubFigure {
    std::string Path;
    double X = 0;  // placement in the frame
    double Y = 0;
    double Width = 0;  // read back from the sub-figure file
    double Height = 0;
    double MinX = 0;
    double MinY = 0;
    double MaxX = 0;
    double MaxY = 0;
};

// Line style record: type (0 solid, 1 dashed, 2 dotted, 3 dash-dot), width in 0.01 mm.
struct LineStyle {
    int32_t Type = 0;
    int32_t Width = 0;
};
// Text style record: weight (400 normal, 700 bold), font family, size in twips (1/1440 inch),
// colour 0xRRGGBB, italic 0/1, spare.
struct TextStyle {
    int32_t Weight = 0;
    std::string Font;  // UTF-8
    int32_t Size = 0;
    int32_t Color = 0;
    int32_t Italic = 0;
    int32_t Spare = 0;
};

// ---- Buffer (1-based slots; slot 0 unused) -------------------------------------------------
extern std::array<ZPoint, kMaxPoints + 1> Points;
extern int32_t PointCount;
extern std::array<ZSegment, kMaxSegments + 1> Segments;
extern int32_t SegmentCount;
extern std::array<ZArrow, kMaxArrows + 1> Arrows;
extern int32_t ArrowCount;
extern std::array<ZText, kMaxTexts + 1> Texts;
extern int32_t TextCount;
extern std::array<ZSubFigure, kMaxSubFigures + 1> SubFigures;
extern int32_t SubFigureCount;

extern std::array<LineStyle, kMaxLineStyles + 1> LineStyles;
extern int32_t LineStyleCount;
extern std::array<TextStyle, kMaxTextStyles + 1> TextStyles;
extern int32_t TextStyleCount;

// Counts of points, segments, arrows and texts to 0 (a new sub-figure); sub-figures stay.
void ClearDrawing();
// ClearDrawing and the sub-figure count to 0 (a new diagram).
void ClearAll();

// Appenders: return the new entry's number; PrintFault 9 when the buffer is full.
int32_t AddPoint(double x, double y);
int32_t AddSegment(int32_t startPoint, int32_t endPoint, int32_t style);
int32_t AddArrow(int32_t point, int32_t code, int32_t style);
int32_t AddText(std::string_view text, int32_t style, int32_t align, double x, double y);
int32_t AddSubFigure(const std::string& path, double x = 0, double y = 0);

// ---- Style files ---------------------------------------------------------------------------
// Read the style file into its table, replacing the contents. PrintFault 53 when missing, 9 for
// more than 9 line styles / 2 text styles, 62 when "END" is missing, 13 for a field that is not
// a number where one is expected.
void LoadLineStyles(const std::string& path);
void LoadTextStyles(const std::string& path);
// The same on the file's bytes.
void ParseLineStyles(std::string_view fileBytes);
void ParseTextStyles(std::string_view fileBytes);
// ReportDataFolder() + "/LINE_PRN.DEF" and "/STR_PRN.DEF".
std::string LineStyleFile();
std::string TextStyleFile();

// Font size of text style `style` in mm (twips × 25.4 / 1440); PrintFault 9 outside 1..count.
double FontSizeMm(int32_t style);
// Room a text takes along its baseline, mm: one em per full-width (two-byte) character, half an
// em per half-width one. PrintFault 9 for an unknown style.
double TextWidth(int32_t style, std::string_view text);

// `count` ground symbols (eleven points, six segments of line style 1 each) at x0, x0 + 4, …,
// reaching `depth` mm below y0.
void AddGroundGlyphs(double x0, double y0, int32_t count, double depth = 3.0);

// ---- Figure files --------------------------------------------------------------------------
// The buffer as a sub-figure file: the bytes, and writing them (created or truncated).
std::string BuildFigureFile(std::string_view caption1, std::string_view caption2);
void WriteFigureFile(const std::string& path, std::string_view caption1, std::string_view caption2);
// The composite file placing SubFigures 1..SubFigureCount in a frame.
std::string BuildCompositeFile(std::string_view caption, double frameWidth, double frameHeight);
void WriteCompositeFile(const std::string& path, std::string_view caption, double frameWidth,
                        double frameHeight);

// Number in print form: shortest general decimal form, a leading space when not negative, one
// trailing space (" 128 ", "-5.5 ").
std::string PrintForm(double v);
// Pads `line` with spaces to the next print zone (columns 15, 29, 43, …): at least one space,
// so a line already standing on a zone boundary advances to the following zone.
void AdvanceToNextZone(std::string& line);

// Reads the extents line of every sub-figure file into its SubFigures entry (width, height,
// minimum and maximum X and Y). PrintFault when a file cannot be read or has no extents line.
void ReadSubFigureExtents();

}  // namespace kuvelt::basResOutPrnZ
