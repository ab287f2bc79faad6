// The bending moment M (kN·m/m), shear S (kN/m) and displacement y (mm) along a sheet pile, from
// its head down to its tip, against the level z (m, positive upwards). Above the adopted virtual
// ground surface ELV the pile is a cantilever under the piecewise linear net loads of gPressure
// (integrated in closed form, both M and S zero at the head); below it Chang's long pile in
// elastic ground under the resultant P at height h0 (the same P, h0 and β as the maximum moment).
// Signs are the calculation's: S and y positive towards the excavation, M negative where the
// loads bend the wall towards it (the maximum moment of Chang's method is negative). The
// displacement uses the rigidity E·α·I and β of the displacement check; above ELV it is the
// ground-line displacement and rotation carried up plus the bending of the cantilever under the
// distributed loads, so its head value differs from δ, which takes the single resultant.
// Nothing here throws: a distribution that cannot be drawn says why in `note`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/pile_kind.h"

namespace kuvelt {

struct Results;

// One linear load layer: pressure PU (kN/m2) at the top EU, PL at the bottom EL (m).
struct DistributionLoad {
    double EU = 0, EL = 0, PU = 0, PL = 0;
};

// Everything the distribution depends on, so that it can be computed without the result store.
struct DistributionInput {
    double head = 0;                      // pile head ELYU, m
    double ELV = 0;                       // adopted virtual ground surface, m
    double L = 0;                         // total pile length, m (tip at head - L)
    std::vector<DistributionLoad> loads;  // top to bottom, above ELV
    double P = 0;                         // resultant above ELV, kN/m
    double h0 = 0;     // its height above ELV, m (below 1 mm Chang takes the load at ELV)
    double beta = 0;   // characteristic value of the moment (stress check), 1/m
    double lm = 0;     // depth of the maximum moment below ELV, m
    double K = 0;      // rigidity E·α·I of the displacement check, kN·m2/m
    double betaD = 0;  // its characteristic value, 1/m
};

inline constexpr int32_t kDistributionIntervals = 200;  // uniform steps from head to tip

struct ForceDistribution {
    // Levels from the head down to the tip (at least 201 of them, every load layer boundary,
    // ELV and the level of the maximum moment included), with M, S and y at each. y is NaN where
    // it cannot be computed (no ground below the pile, no rigidity).
    std::vector<double> z, M, S, y;
    double head = 0, tip = 0, ELV = 0;
    bool below = false;     // the pile reaches below ELV and Chang's part is drawn
    bool hasY = false;      // y is computed
    double lm = 0;          // depth of the maximum moment below ELV, m
    bool lmOnPile = false;  // that depth lies above the tip
    std::string note;       // why a part is missing ("" when nothing is)
};

// The distribution for the input; never throws, never divides by zero.
ForceDistribution ComputeDistribution(const DistributionInput& in);

// The input for a section of a kind and a total length from the last calculation run (the
// loads of gPressure, its P and Y, the section's rows of gSectChang and gSectDisp). Nothing
// when the section is not registered or the run did not reach the section tables.
std::optional<DistributionInput> DistributionInputFor(PileKind kind, int32_t sect, double L);
// The same from the results of a run.
struct Results;
std::optional<DistributionInput> DistributionInputFor(const Results& results, PileKind kind,
                                                      int32_t sect, double L);

// The distribution of the stored choice (gInpYaita); nothing when no pile is chosen or its
// section is not registered.
std::optional<ForceDistribution> ChosenDistribution();

// The same from a run's results value instead of the result store.
std::optional<ForceDistribution> ChosenDistribution(const Results& results);

}  // namespace kuvelt
