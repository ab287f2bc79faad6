// Runs a program of the build for the load tests with a time limit: its standard output and
// error go to files, TMPDIR can be pointed at a private folder, and the outcome tells a normal
// exit from a signal and from a run that had to be killed at the limit.
#pragma once

#include <string>
#include <vector>

namespace kuvelt::load {

struct TimedRun {
    int status = -1;        // exit status when the program ended normally
    int signal = 0;         // the signal that ended it, else 0
    bool timedOut = false;  // killed at the time limit
    double seconds = 0.0;
    std::string out;
    std::string err;
};

// Runs `program` with `args` (no shell). `tmpdir` non-empty sets TMPDIR for the child.
TimedRun RunTimed(const std::string& program, const std::vector<std::string>& args,
                  double limitSeconds, const std::string& tmpdir = "");

// Describes how a run ended: "exit 2", "signal 11", "timed out after 10 s".
std::string Ending(const TimedRun& r);

}  // namespace kuvelt::load
