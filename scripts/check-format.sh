#!/bin/sh
# Fails when a C++ file of the tree differs from .clang-format, naming the files.
# Usage: scripts/check-format.sh        (scripts/check-format.sh --fix rewrites them instead)
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  # shellcheck disable=SC2086
  clang-format -i $files
  exit 0
fi
# One clang-format over all files; its warnings start with the file's path.
# shellcheck disable=SC2086
if ! out=$(clang-format --dry-run -Werror $files 2>&1); then
  echo "Not formatted as .clang-format says (run scripts/check-format.sh --fix):"
  printf '%s\n' "$out" | sed -n 's/^\([^: ]*\):[0-9]*:[0-9]*: error.*/  \1/p' | sort -u
  exit 1
fi
