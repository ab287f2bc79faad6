#!/bin/sh
# Builds Kuvelt, installs it (program folder /usr/local/lib/kuvelt, launcher /usr/local/bin/kuvelt,
# kuvelt-calc and kuvelt-preview beside it, desktop entry, manual pages, bash completion) and
# starts it. Usage: sh scripts/start.sh   (as root on a fresh Debian 12)
set -eu
cd "$(dirname "$0")/.."
sh scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr/local
cmake --build build
cmake --install build
# The index of the manual pages, so that apropos and whatis know kuvelt-calc too.
if command -v mandb >/dev/null 2>&1; then mandb -q /usr/local/share/man || true; fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Kuvelt is installed. No display is available here; start it with: kuvelt" >&2
  echo "The user guide (Japanese): /usr/local/lib/kuvelt/guide/index.html" >&2
  echo "Without windows, the calculation tool works as well (man kuvelt-calc):" >&2
  exec /usr/local/bin/kuvelt-calc examples/sand-channel.kvt
fi
exec /usr/local/bin/kuvelt "$@"
