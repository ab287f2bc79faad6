// Seeded generator of design files for the load tests: plausible channel walls in sand and
// clay with every surcharge shape and groundwater position, catalogues of 0 to 30 rows and
// stored sheet-pile choices, designs with values outside the input windows' ranges, huge and
// non-finite numbers, degenerate (empty) layers, and malformed files. The same seed always gives
// the same file. Designs of the writer families go through the real design-file writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/design.h"

namespace kuvelt::load {

enum class Family {
    Valid,       // every value inside its input range, a wall that stands in the ground
    OutOfRange,  // one to three fields outside their input ranges (negative, zero, too big)
    Huge,        // magnitudes near the end of the double range
    NonFinite,   // NaN or an infinity in a numeric field (the writer puts it in the file)
    Degenerate,  // zero wall height, water on the ground surface, empty catalogues, zero factors
    Malformed,   // raw bytes: truncated, garbage items, wrong header, catalogue counts above 30
};
inline constexpr int kFamilyCount = 6;
const char* FamilyName(Family f);

// Everything the current design consists of, for comparing a design before and after a file.
struct DesignSnapshot {
    CInpJyoken jyoken;
    CInpJiban jiban;
    CInpZairyo zairyo;
    colInpSectC sectC;
    colInpSectS sectLS;
    colInpSectS sectS;
    CInpYaita yaita;
    bool operator==(const DesignSnapshot&) const = default;
};
DesignSnapshot TakeSnapshot();
// The records in which two designs differ (" CInpJyoken gInpSectS"), empty when equal.
std::string Difference(const DesignSnapshot& a, const DesignSnapshot& b);

struct GeneratedDesign {
    Family family = Family::Valid;
    std::string what;       // what was varied, for failure messages ("ELGL=-1200", "cut at 812")
    std::string bytes;      // the whole file
    bool written = false;   // bytes come from the design-file writer
    DesignSnapshot design;  // the design that was written (writer families only)
};

// The family of design number `index`: a fixed mix, valid designs the most frequent.
Family FamilyOf(uint64_t index);

// What the ground of a generated design holds: one homogeneous layer with the channel water at
// the design ground level and wall friction of 15° (the series of every earlier version), or now
// and then 2 to 10 layers, a channel water level and wall friction angles that the ground checks
// take.
enum class Site { Homogeneous, Layered };

// Design number `index` of the series `seed`. Leaves the current design changed (it is built
// there to be written); callers that care call InitData afterwards. Site::Layered adds the site
// to the valid designs.
GeneratedDesign GenerateDesign(uint64_t seed, uint64_t index, Site site = Site::Homogeneous);

// Fills the current design with a plausible design of `rows` sections per catalogue (all three
// kinds), for benchmarks: the same wall for every row count.
void PlausibleDesignWithCatalogues(int rows);

}  // namespace kuvelt::load
