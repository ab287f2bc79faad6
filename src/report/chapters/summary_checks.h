// The checks of the chosen sheet pile as the design summary lists them: each with its value, its
// limit and its verdict by the rule of the chapter that prints it (moment or stress, required
// length against L, for concrete Lreq within Lmin..Lmax, head displacement, and boiling or heaving
// when the design asks for the stability check). Reads the design records and the section tables
// and stability checks of the run's results; nothing here throws.
#pragma once

#include <string>
#include <vector>

#include "calc/results.h"

namespace kuvelt::summary {

enum class CheckItem { Moment, Stress, Length, LengthRange, Displacement, Boiling, Heaving };

struct PileCheck {
    CheckItem item = CheckItem::Moment;
    std::string name;    // as the summary names it, "曲げ応力度"
    double value = 0.0;  // |Mmax| kN·m/m, σ N/mm2, Lreq m, δ m, F
    double limit = 0.0;  // Mc, σa, L, Lmax, δa, Fa
    bool passes = false;
    bool result = true;  // false: the stability check faulted and has no factor
    double lower = 0.0;  // Lmin of the length range
    bool needed = true;  // false: boiling without a water head (value is then Hw, and it passes)
};

// The checks in the order the summary prints them; empty when no pile is chosen, its section is
// not registered or the run did not reach the section tables.
std::vector<PileCheck> ChosenPileChecks(const Results& results);

// The names of the checks that fail, in order ("ボイリング（結果なし）" for a faulted check).
std::vector<std::string> FailedNames(const std::vector<PileCheck>& checks);

}  // namespace kuvelt::summary
