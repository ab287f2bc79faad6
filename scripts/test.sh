#!/bin/sh
# Builds Kuvelt and runs every test. Usage: scripts/test.sh   (as root on a fresh Debian 12)
# CI runs exactly this (.ci/run). It fails on a file off the house format, a compiler warning
# (GCC or clang), a failed test, a sanitizer report or a fuzzer finding.
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
sh scripts/check-format.sh
# GCC, the compiler the programs are built with.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUVELT_WERROR=ON
cmake --build build
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

# clang with AddressSanitizer and UndefinedBehaviorSanitizer: the fuzz build holds the whole tree,
# so the test suite is built and run there too; then each fuzz target gets 20 s.
KUVELT_FUZZ_TESTS=1 sh fuzz/run.sh 20
