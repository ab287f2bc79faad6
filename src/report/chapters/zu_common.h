// Drawing helpers shared by the figures of the report chapters (構造図, 土圧・水圧分布図, the load
// distribution diagram): segments, level and pressure texts with their units, load arrows,
// dimension lines, the water-level mark, and the optional figure block a chapter writes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kuvelt::zu {

inline constexpr int32_t kTextStyle = 2;     // the small text style of the figures
inline constexpr double kLinePitchMm = 4.1;  // one counted line of the printed page

// Line styles of LINE_PRN.DEF.
inline constexpr int32_t kThin = 1;
inline constexpr int32_t kMedium = 2;
inline constexpr int32_t kWall = 3;
inline constexpr int32_t kDashed = 4;
inline constexpr int32_t kDotted = 5;
inline constexpr int32_t kDashDot = 6;

// Two new points joined by a segment.
void Seg(double x1, double y1, double x2, double y2, int32_t style);
// An elevation as the figures print it: three decimals, sign always shown, "±0.000" at zero.
std::string LevelText(double z);
// A level with its name: "設計地盤面 ±0.000".
std::string NamedLevel(std::string_view name, double z);
// The texts naming a level: its names joined ("設計地盤面・仮想地盤面 +0.500") as far as they
// fit `room` mm in the small text style, the rest in further texts; the bare level when it has
// no name.
std::vector<std::string> LevelLabels(const std::vector<std::string>& names, double z, double room);
// A pressure with its unit, the exponent marked to be raised: "12.50 kN/m^2".
std::string PressureText(double p);
// A downward load arrow whose head touches (x, y), `length` long.
void DownArrow(double x, double y, double length);
// A dimension line between (x0, y0) and (x1, y1) with end ticks across it.
void Dimension(double x0, double y0, double x1, double y1);
// The water-level mark ▽ standing on (x, y).
void WaterMark(double x, double y);

// The lines a figure of frame height `frameHeight` mm takes on the page.
int32_t FigureLines(double frameHeight);

// Writes the optional block of figure `part` into CurrentPrintFile: a new page when fewer than
// the figure's lines are left, the caption, then the figure line and the room of the figure.
// `draw` returns the composite file's path; when it cannot draw the figure for the design's
// values (a PrintFault of a value that is not a number, a zero scale, a full buffer) the block
// says so in a line instead. Style files that cannot be read and file faults propagate and fail
// the chapter.
void WriteFigureBlock(int part, std::string_view caption, double frameHeight,
                      const std::function<std::string()>& draw);

}  // namespace kuvelt::zu
