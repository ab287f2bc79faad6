// The load distribution diagram of the sheet-pile chapter: a level scale (ground surface, design
// ground level, groundwater level and every boundary of the loads, each named where it is one of
// the design's levels, with its elevation; the computed and the adopted virtual ground named
// apart where the clayey 0.5 m rule makes them differ) and the pressure diagram of the loads
// above the virtual ground surface (the load stage's Qdo) with values in kN/m2, numbered pieces,
// arrows, the groundwater level ▽ behind the wall and the channel water ▽ in front of it where it
// stands above the design ground level, every label placed clear of the lines and of the other
// labels (figure_labels.h). Drawing units are mm of the printed figure, X right, Y up, the wall
// line at X = 0; a level z (m) is drawn at Y = m·z. Failures (more than kMaxLayers layers or
// kMaxPieces pieces, a style file missing, a full buffer, a file error, a zero depth or largest
// pressure) throw PrintFault.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "calc/results.h"

namespace kuvelt::basZuSp {

inline constexpr double kScaleWidth = 45;    // room of the level scale left of the wall line
inline constexpr double kTickRoom = 30;      // room right of the largest pressure for its value
inline constexpr double kVerticalRoom = 10;  // above the ground surface and below the last layer
inline constexpr int32_t kMaxLayers = 30;
inline constexpr int32_t kMaxPieces = 60;

// A numbered piece of the loads: its numeral and its corners (pressure kN/m2, level m) in order.
struct LoadPiece {
    std::string numeral;
    std::vector<std::pair<double, double>> corners;
};
// The pieces of the loads in `results` as the diagram numbers them.
std::vector<LoadPiece> LoadPieces(const Results& results);

// The diagram's scales for a frame of W × F mm: u mm per kN/m2 across, m mm per m up.
struct LoadScale {
    double u = 0, m = 0;
};
LoadScale ScaleOf(const Results& results, double W, double F);

// Draws the diagram of the loads in `results` for a frame of W × F mm and returns the path of the
// composite figure file.
std::string DrawLoadDiagram(const Results& results, double W, double F);

// The two sub-figures, from the staged loads: each clears the drawing, fills it and writes one
// sub-figure file (registered as the next sub-figure).
void DrawLevelScale(double scaleWidth, double m);
// `width`: the room right of the wall line the labels may take.
void DrawPressureDiagram(double u, double m, double width);

// Centroid of a polygon in load coordinates (pressure, elevation); (0, 0) for a polygon of
// (almost) no area.
std::pair<double, double> PolygonCentroid(const std::vector<std::pair<double, double>>& vertices);

// Places both sub-figures with their wall lines at the scale width from the frame's left edge
// and the ground surface (drawn m mm per m) half the vertical room below the frame's top, and
// writes the composite file.
void PlaceSubFigures(const std::string& path, const std::string& caption, double W, double F,
                     double m);

}  // namespace kuvelt::basZuSp
