// The load distribution diagram of the sheet-pile chapter: a level scale (ground surface and
// design ground level with their elevations) and the pressure diagram of the loads above the
// virtual ground surface (gPressure.Qdo) with values, level ticks, numbered pieces and arrows.
// Drawing units are mm of the printed figure, X right, Y up, the wall line at X = 0; a level z
// (m) is drawn at Y = m·z. Failures (more than 20 layers or pieces, a style file missing, a full
// buffer, a file error, a zero depth or largest pressure) throw PrintFault.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kuvelt::basZuSp {

inline constexpr double kScaleWidth = 45;  // room of the level scale left of the wall line
inline constexpr double kTickRoom = 30;    // gap and tick right of the largest pressure
inline constexpr int32_t kMaxLayers = 20;
inline constexpr int32_t kMaxPieces = 20;

// Draws the diagram for a frame of W × F mm and returns the path of the composite figure file.
std::string DrawLoadDiagram(double W, double F);

// The two sub-figures, from the staged loads: each clears the drawing, fills it and writes one
// sub-figure file (registered as the next sub-figure).
void DrawLevelScale(double scaleWidth, double m);
void DrawPressureDiagram(double u, double m);

// Centroid of a polygon in load coordinates (pressure, elevation); (0, 0) for a polygon of
// (almost) no area.
std::pair<double, double> PolygonCentroid(const std::vector<std::pair<double, double>>& vertices);

// Places sub-figure 1 with its left edge on the frame's left edge and its top on the frame's top,
// sub-figure 2 on the same level scale with its wall line on that of sub-figure 1, and writes
// the composite file.
void PlaceSubFigures(const std::string& path, const std::string& caption, double W, double F);

}  // namespace kuvelt::basZuSp
