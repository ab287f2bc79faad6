#!/bin/sh
# Today's build beside this one, in one run: CalcMain with the 26 usual sections (calc_bench of
# both builds, alternately), then kuvelt-calc --json of both on 2,000 generated designs and on
# 2,000 and 10,000 varied walls (wall time, processor time, peak memory), after a check that both
# print the same bytes and exit statuses for every design, as a batch and one file at a time.
#
#   git worktree add --detach /tmp/kuvelt-base <commit>     # the build to compare with
#   bench/compare_speed.sh /tmp/kuvelt-base [NEW_BUILD_DIR]  # default: build-rel of this tree
#
# The older tree gets this tree's bench/calc (only calc_bench is built there: it uses only the
# calculation's interface), built in Release in BASE/build-bench; nothing there is meant to be
# committed.
set -eu
base_src=${1:?usage: bench/compare_speed.sh BASE_SOURCE_DIR [NEW_BUILD_DIR]}
here=$(cd "$(dirname "$0")/.." && pwd)
new_build=${2:-$here/build-rel}
base_build=$base_src/build-bench

cp "$here"/bench/calc/* "$base_src/bench/calc/"  # json_bench is not built there
cmake -S "$base_src" -B "$base_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUVELT_GUI=OFF \
      -DKUVELT_TESTS=OFF -DKUVELT_BENCH=ON >/dev/null
cmake --build "$base_build" -j2 --target kuvelt-calc calc_bench >/dev/null
cmake -S "$here" -B "$new_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKUVELT_GUI=OFF \
      -DKUVELT_BENCH=ON >/dev/null
cmake --build "$new_build" -j2 --target kuvelt-calc calc_bench json_bench >/dev/null

echo "== CalcMain (26 usual sections, 30 of each kind, 0 to 30 per kind) and RoundHalfUp, old and new alternately"
for round in 1 2 3; do
  for which in old new; do
    if [ "$which" = old ]; then dir=$base_build; else dir=$new_build; fi
    "$dir/bin/calc_bench" --benchmark_filter='BM_CalcMain|BM_RoundHalfUp' \
        --benchmark_min_time=0.5 2>/dev/null | grep '^BM_' | sed "s/^/$which  /"
  done
done

echo "== kuvelt-calc --json"
"$new_build/bin/json_bench" --check --old="$base_build/bin/kuvelt-calc" \
    --benchmark_filter='BM_JsonBatch' 2>&1 | grep -v '^BM_.*_\(mean\|median\|stddev\|cv\) '
