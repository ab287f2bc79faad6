// The calculation modes of kuvelt-calc: "--json" prints all the results of each design,
// "--summary" (also the bare file name) prints what an engineer reads off the choice window and
// the stability windows. Each design is run from a fresh result store, as if it were the only
// one, with the sheet-pile choice the design holds or --pick gives; with several files the
// highest outcome is the run's.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/mode.h"
#include "platform/message.h"

namespace kuvelt::cli {

// The readable summary of a design run (the current design and the run's results).
void WriteSummary(const usecase::DesignRun& run, std::ostream& out);

}  // namespace kuvelt::cli
