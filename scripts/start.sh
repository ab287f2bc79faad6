#!/bin/sh
# Builds Kuvelt and starts it. Usage: scripts/start.sh   (as root on a fresh Debian 12)
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
if [ -x build/bin/Kuvelt ]; then
  exec build/bin/Kuvelt "$@"
fi
# Until the windows are built, show the calculation tool on an example design.
exec build/bin/kuvelt-calc examples/sand-channel.kvt
