// Stability of the excavation bottom: boiling (sandy ground) and heaving (clayey ground), with
// the two check instances gNekiriAnteiAs and gNekiriAnteiAc that live for the whole run.
#pragma once

namespace kuvelt {}  // namespace kuvelt
