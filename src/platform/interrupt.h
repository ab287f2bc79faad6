// Termination requests while a file is being put in place. While a Deferral lives, SIGINT,
// SIGTERM and SIGHUP are noted instead of ending the program at once (and passed on to the child
// the program waits for), so the run can stop before it replaces anything and remove its
// temporary files; when the Deferral ends, a noted signal ends the program as it would have.
// Outside a Deferral the signals act as they always do.
#pragma once

#include <sys/types.h>

namespace kuvelt::interrupt {

class Deferral {
  public:
    Deferral();
    // Restores the handlers that were there; a noted signal is raised again afterwards.
    ~Deferral();
    Deferral(const Deferral&) = delete;
    Deferral& operator=(const Deferral&) = delete;
};

// The signal noted while a Deferral lives, 0 when none: a run stops before its commit.
int Pending();

// The child process a noted signal is passed on to (0: none).
void SetChild(pid_t child);

}  // namespace kuvelt::interrupt
