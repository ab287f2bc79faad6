#!/bin/sh
# Builds the fuzz targets with clang (folder build-fuzz) and runs each one for the given number
# of seconds (default 30) on a scratch copy of its seed corpus, KUVELT_FUZZ_JOBS targets at a
# time (default 2). Fails when a target finds a crash, a hang, a leak or an out-of-memory input;
# the inputs it found are kept in build-fuzz/fuzz-findings/<target>/ and named in the output.
# The mutations follow a fixed seed (KUVELT_FUZZ_SEED, default 1), so a short run repeats the
# start of the long runs recorded in fuzz/README.md and a red run can be replayed; give another
# seed to explore further.
# With KUVELT_FUZZ_TESTS=1 it first builds the whole tree there (programs, tests and benchmarks,
# all with clang, AddressSanitizer and UndefinedBehaviorSanitizer, warnings as errors) and runs
# the test suite in it: the clang and sanitizer half of scripts/test.sh.
# Usage: [KUVELT_FUZZ_TESTS=1] [KUVELT_FUZZ_SEED=n] [KUVELT_FUZZ_TARGETS="a b"]
#        [KUVELT_FUZZ_JOBS=n] sh fuzz/run.sh [seconds]
set -eu
seconds=${1:-30}
case $seconds in
  ''|*[!0-9]*) echo "run.sh: seconds must be a whole number: $seconds" >&2; exit 2 ;;
esac
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-fuzz
seed=${KUVELT_FUZZ_SEED:-1}
case $seed in
  ''|*[!0-9]*) echo "run.sh: KUVELT_FUZZ_SEED must be a whole number: $seed" >&2; exit 2 ;;
esac
jobs=${KUVELT_FUZZ_JOBS:-2}
case $jobs in
  ''|*[!0-9]*|0) echo "run.sh: KUVELT_FUZZ_JOBS must be a whole number above 0: $jobs" >&2; exit 2 ;;
esac
targets=${KUVELT_FUZZ_TARGETS:-"design_file ini format_section style_files figure_files calc_json design_json print_file preview_figure"}

# -O1 with line tables: what the sanitizers need for exact reports, and a good deal faster to
# build than -O2 with full debug information.
flags="-O1 -gline-tables-only -DNDEBUG"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" \
  -DKUVELT_FUZZ=ON -DKUVELT_GUI=ON -DKUVELT_TESTS=ON -DKUVELT_BENCH=ON -DKUVELT_WERROR=ON >/dev/null
if [ "${KUVELT_FUZZ_TESTS:-0}" = 1 ]; then
  cmake --build "$build"
  # fontconfig's cache lives as long as each process: not a leak of ours (tests/support/lsan.supp).
  (cd "$build" && LSAN_OPTIONS="suppressions=$root/tests/support/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}" \
     QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
else
  names=""
  for t in $targets; do names="$names fuzz_$t"; done
  # shellcheck disable=SC2086
  cmake --build "$build" --target $names
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kuvelt-fuzz-run.XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM
findings=$build/fuzz-findings

# One target on its scratch corpus; its log and "ok" or "failed" are left in its scratch folder.
fuzz_one() {
  mkdir -p "$scratch/$1/corpus" "$scratch/$1/found"
  cp "$root/fuzz/corpus/$1/"* "$scratch/$1/corpus/"
  # The per-input limit is generous so a loaded machine does not pass for a hang.
  if "$build/bin/fuzz_$1" -seed="$seed" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
       -print_final_stats=1 -artifact_prefix="$scratch/$1/found/" "$scratch/$1/corpus" \
       >"$scratch/$1/log" 2>&1; then
    echo ok >"$scratch/$1/status"
  else
    echo failed >"$scratch/$1/status"
  fi
}

# Each target is single-threaded: KUVELT_FUZZ_JOBS of them (default 2) run side by side.
running=0
for t in $targets; do
  fuzz_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
done
wait

failed=""
for t in $targets; do
  echo "== fuzz_$t: $seconds s, seed $seed"
  if [ "$(cat "$scratch/$t/status" 2>/dev/null)" = ok ]; then
    grep -E '^(Done|stat::number_of_executed_units)' "$scratch/$t/log" || true
  else
    tail -n 60 "$scratch/$t/log"
    mkdir -p "$findings/$t"
    cp "$scratch/$t/found/"* "$findings/$t/" 2>/dev/null || true
    echo "!! fuzz_$t found a fault; inputs in $findings/$t/" >&2
    failed="$failed $t"
  fi
done
if [ -n "$failed" ]; then
  echo "fuzzing failed:$failed" >&2
  exit 1
fi
echo "fuzzing: no findings"
