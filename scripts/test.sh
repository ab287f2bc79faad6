#!/bin/sh
# Builds Kuvelt and runs every test. Usage: scripts/test.sh   (as root on a fresh Debian 12)
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
sh scripts/check-format.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

# Fuzz the readers for a short while on top of the tests (fails only on a finding).
cd .. && sh fuzz/run.sh 30
