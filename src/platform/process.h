// Starting another program (the preview) with an argument list. No shell and no command string
// is involved, so no file or folder name can inject a command or be split at its blanks.
#pragma once

#include <string>
#include <vector>

namespace kuvelt::process {

// Starts argv[0] with the given arguments, detached (the caller does not wait and the child is
// reaped). With `wait` true blocks until it ends, and the program is part of our run: it is
// killed when we end (even by SIGKILL) and gets a termination request we note while an
// interrupt::Deferral lives. False when the program could not be started.
// argv[0] without a "/" is looked up on PATH. A detached program runs in its own session as a
// grandchild adopted by the system, so it never becomes a zombie and survives our exit. A
// successful start says nothing about the program's exit status. An argument holding a NUL
// byte is refused (it could not be passed whole). With `wait` and `exitStatus`, the program's
// exit status is stored there (128 + signal number when a signal ended it; -1 when it did not
// start).
bool Start(const std::vector<std::string>& argv, bool wait = false, int* exitStatus = nullptr);

}  // namespace kuvelt::process
