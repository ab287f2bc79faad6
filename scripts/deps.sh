#!/bin/sh
# Installs the Debian 12 packages Kuvelt needs to build, test and run. Safe to run again: it
# only calls apt when a package is missing.
set -eu
PKGS="build-essential cmake ninja-build ccache pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl-dev qt6-translations-l10n
  fonts-ipafont-gothic xvfb xauth poppler-utils clang clang-format libclang-rt-14-dev
  man-db bash-completion"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
fi
