// Starting another program (the preview) with an argument list. No shell and no command string
// is involved, so no file or folder name can inject a command or be split at its blanks.
#pragma once

#include <string>
#include <vector>

namespace kuvelt::process {

// Starts argv[0] with the given arguments, detached (the caller does not wait and the child is
// reaped). With `wait` true blocks until it ends. False when the program could not be started.
bool Start(const std::vector<std::string>& argv, bool wait = false);

}  // namespace kuvelt::process
