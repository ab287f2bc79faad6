// The "distribution" member of kuvelt-calc's JSON: the moment, shear and displacement along the
// chosen pile (calc/distribution.h) as four arrays of the same length, "z" (level, m, from the
// head down to the tip), "M" (kN·m/m), "S" (kN/m) and "y" (mm), each value to 0.0001 of its
// unit, then "note" when a part is missing (a value that was not computed is null). Written only
// after a successful calculation of a design with a chosen pile, from the run's results.
#pragma once

#include "cli/design_json.h"
#include "usecase/design_run.h"

namespace kuvelt::cli {

void WriteDistributionMember(JsonWriter& w, const usecase::CalcRun& run);
void WriteDistributionMember(JsonTreeBuilder& b, const usecase::CalcRun& run);

}  // namespace kuvelt::cli
