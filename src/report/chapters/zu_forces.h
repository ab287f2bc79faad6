// The moment, shear and displacement diagram "断面力図" of the sheet-pile chapter and of the
// choice window: a level scale with the named levels (ELV marked) and three plots side by side
// against the level, M (kN・m/m), S (kN/m) and y (mm), each with its zero axis, value axis and
// hatched area, the virtual ground surface as a dashed line, the maximum moment marked on the
// curve at lm with its printed value and depth beside it, and notes saying which model gives y
// and which δ. Drawing units are
// mm of a frame W × F, X right, Y up from the frame's bottom-left corner; every sub-figure is
// drawn in frame coordinates and placed at (0, 0). Labels are placed clear of every line and of
// each other (boxes from TextWidth and the font size). A full drawing buffer, a missing style
// file or a file error throws PrintFault; a distribution that cannot be drawn is said in a note.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/distribution.h"
#include "calc/pile_kind.h"
#include "calc/results.h"

namespace kuvelt::basZuForces {

inline constexpr double kFrameWidth = 163;
inline constexpr double kFrameHeight = 215;
inline constexpr int32_t kTextStyle = 2;

// What the figure shows for one section and length, from the results of a run.
struct ForceFigureData {
    ForceDistribution d;
    std::string pile;  // kind and section name ("鋼矢板 SP-ⅢW")
    int32_t sect = 0;
    double L = 0;
    double Mmax = 0;   // as printed: R(Mmax, 1) of the section's Chang row, kN・m/m
    double lm = 0;     // its depth below ELV, m (printed to 1 mm)
    double delta = 0;  // head displacement of the displacement check, m
    double P = 0;      // resultant above ELV (ΣＰ), kN/m
    double M = 0;      // its moment about ELV (ΣＭ), kN・m/m
    double ELGL = 0, ELDL = 0;
    std::optional<double> computed;  // the computed virtual ground, where ELV is another level
};

// Nothing when the section is not registered or the run did not reach the section tables.
std::optional<ForceFigureData> FigureDataFor(const Results& results, PileKind kind, int32_t sect,
                                             double L);

// One sub-figure file's bytes and its placement in the frame.
struct FigurePart {
    std::string bytes;
    double x = 0;
    double y = 0;
};

struct ForceFigure {
    double width = 0;
    double height = 0;
    std::vector<FigurePart> parts;
};

// The diagram in memory, through the drawing buffer and BuildFigureFile (the style files are
// read first). The same bytes go into the report's figure files.
ForceFigure BuildForceFigure(const ForceFigureData& v, double W = kFrameWidth,
                             double F = kFrameHeight);

// The diagram of the stored choice as sub-figure files and a composite file; the composite's
// path. Throws PrintFault (the chapter then fails) when the choice has no figure data.
std::string DrawForceDiagram(const Results& results, double W = kFrameWidth,
                             double F = kFrameHeight);

// The chapter's part: on a page of its own, the heading and the figure of the stored choice,
// inside the optional block of the force figure. Opens and closes the print file itself.
void PrintForceFigure(const Results& results);

}  // namespace kuvelt::basZuForces
