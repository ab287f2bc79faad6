// The calculation modes of kuvelt-calc: "--json" prints the whole result store of each design,
// "--summary" (also the bare file name) prints what an engineer reads off the choice window and
// the stability windows. Each design is calculated from a fresh result store, as if it were the
// only one. Exit status 0 when the calculation succeeded, 1 when it failed, 2 when a file was
// refused; with several files the highest of them.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/mode.h"
#include "platform/message.h"

namespace kuvelt::cli {

inline constexpr int kExitCalcFailed = 1;

// What calculating the current design led to, and the messages the windows would have shown.
struct CalcOutcome {
    bool calcMain = false;
    std::optional<bool> nekiri;  // CalcNekiriAntei's result; empty when it did not run
    std::vector<Message> messages;
};

// Empties the result store, runs CalcMain and, after a successful run of a design that holds a
// sheet-pile choice, the excavation-bottom stability check.
CalcOutcome CalculateCurrentDesign();

// The readable summary of the current design's last calculation.
void WriteSummary(const CalcOutcome& outcome, std::ostream& out);

// The "--json" mode. It replaces the design-only JSON mode of the same option: main.cpp asks
// for it before the registry.
const Mode& CalcJsonMode();

}  // namespace kuvelt::cli
