#!/bin/sh
# Retakes the user guide's pictures of the windows into docs/guide/images (offscreen, on a
# 1366 x 768 screen, the example designs of examples/). Run it after a window changed, then look at
# the pictures and commit them with the change.
# Usage: sh docs/guide/shoot.sh [BUILD_DIR]      (default: build, configured with the GUI)
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" --target kuvelt-guide-shots kuvelt_data
"$build/docs/guide/kuvelt-guide-shots" docs/guide/images
