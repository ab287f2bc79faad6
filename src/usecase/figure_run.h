// The cross-section (構造図) of the current design for a window: recalculated first, so the
// virtual ground surface shown is this design's; a design that does not calculate still shows
// its wall, ground and water levels, and says why the calculated levels are missing.
#pragma once

#include <string>

#include "report/chapters/zu_structure.h"

namespace kuvelt::usecase {

struct StructureView {
    double width = 0;  // the frame, mm
    double height = 0;
    basZuStructure::Drawn figure;  // empty bytes when the figure cannot be drawn
    std::string note;              // UTF-8: why something is missing; "" when nothing is
};

StructureView StructureFigure();

}  // namespace kuvelt::usecase
