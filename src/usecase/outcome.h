// What a use case led to, as one outcome per run, and the one table that maps outcomes to the
// exit statuses of kuvelt-calc and to the words its usage text says about them.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kuvelt::usecase {

// Ordered by severity: with several designs the highest outcome is the run's.
enum class Outcome : int {
    Ok = 0,
    CalcFailed = 1,     // the calculation failed, or no section satisfies every check
    Refused = 2,        // the design was refused or not read, or has no usable sheet-pile choice
    NotWritten = 3,     // a design file, report folder or standard output could not be written
    ChapterFailed = 4,  // a report chapter failed (the others were written)
    PdfFailed = 5,      // the PDF could not be made
    Usage = 64,         // wrong command line
};

struct OutcomeInfo {
    Outcome outcome;
    std::string_view meaning;  // as the usage text and the README say it
};

// Every outcome, in ascending order of its status.
std::span<const OutcomeInfo> Outcomes();

constexpr int ExitStatus(Outcome o) { return static_cast<int>(o); }
constexpr Outcome Worst(Outcome a, Outcome b) { return ExitStatus(a) >= ExitStatus(b) ? a : b; }

// "Exit status: 0 success, 1 …, 64 wrong command line; with several files the highest."
std::string ExitStatusText();

}  // namespace kuvelt::usecase
