#include "platform/interrupt.h"

#include <signal.h>

#include <array>
#include <atomic>

namespace kuvelt::interrupt {
namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t gPending = 0;
std::atomic<pid_t> gChild{0};
int gDepth = 0;
std::array<struct sigaction, kSignals.size()> gSaved{};

void Note(int sig) {
    gPending = sig;
    const pid_t child = gChild.load();
    if (child > 0) ::kill(child, sig);
}

}  // namespace

Deferral::Deferral() {
    if (gDepth++ > 0) return;
    gPending = 0;
    struct sigaction sa {};
    sa.sa_handler = Note;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &sa, &gSaved[i]);
}

Deferral::~Deferral() {
    if (--gDepth > 0) return;
    for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &gSaved[i], nullptr);
    const int sig = gPending;
    gPending = 0;
    if (sig != 0) ::raise(sig);
}

int Pending() { return gPending; }

void SetChild(pid_t child) { gChild.store(child); }

}  // namespace kuvelt::interrupt
