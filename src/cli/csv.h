// kuvelt-calc's CSV output: one row per design run, cells separated by commas, numbers with a
// dot as the shortest text that reads back to the same double (empty when not finite), texts
// quoted as RFC 4180 says (when they hold a comma, a double quote or a line break; quotes
// doubled), UTF-8, rows ending in a line feed.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "usecase/design_run.h"

namespace kuvelt::cli::csv {

std::string Text(std::string_view s);
std::string Number(double v);
// The cells joined by commas, ending with a line feed.
std::string Row(const std::vector<std::string>& cells);

// The standard columns (what an engineer reads off the windows), with units in the names; the
// last, "message", says why a run was refused or failed.
std::vector<std::string> SummaryHeader();
// Their cells for the current design and the results of `run`.
std::vector<std::string> SummaryCells(const usecase::DesignRun& run);
// The cells of a run that never calculated (a design not read or refused): the status and the
// message saying why, the rest empty.
std::vector<std::string> RefusedCells(std::string_view message);

// The value at a path of a JSON document ("gDL.ELDLX", "gListS[5][1]", indices from 0) as a
// cell; empty when the path leads nowhere or to null. Objects and arrays as compact JSON text.
std::string Pick(const nlohmann::ordered_json& doc, std::string_view path);
// False when a path of --columns cannot be a path ("gDL..X", "a[x]").
bool ValidPath(std::string_view path);

}  // namespace kuvelt::cli::csv
