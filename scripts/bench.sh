#!/usr/bin/env bash
# Builds the benchmarks and runs every one of them; each prints its figures.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_BUILD_BENCH=ON >/dev/null
cmake --build build --parallel 2
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# Every benchmark adds its headline figures here; the table closes the run.
export KESTREL_BENCH_TABLE
KESTREL_BENCH_TABLE=$(mktemp)
trap 'rm -f "$KESTREL_BENCH_TABLE"' EXIT
status=0
# The benchmark programs are named *_bench; the other programs in build/bench
# are tools the scripts below drive.
for bench in build/bench/*_bench; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
# Benchmarks of the server, the player and the whole program, each against the
# local station server (the last two on a private display and sound server).
for script in bench/server-load.sh bench/player-startup.sh bench/radio-startup.sh bench/memory-startup.sh bench/tv-cpu.sh \
  bench/timeshift.sh bench/save-song.sh; do
  echo "== $(basename "$script")"
  "$script" build || status=1
done
echo
echo "== every figure beside its target and its peer, measured in this run"
awk -F '\t' '
  { for (i = 1; i <= 4; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } }
  END {
    split("figure|ours|target|peer (same run)", head, "|")
    for (i = 1; i <= 4; i++) if (length(head[i]) > width[i]) width[i] = length(head[i])
    printf "%-*s | %-*s | %-*s | %s\n", width[1], head[1], width[2], head[2], width[3], head[3], head[4]
    for (r = 1; r <= NR; r++)
      printf "%-*s | %-*s | %-*s | %s\n", width[1], cell[r, 1], width[2], cell[r, 2], width[3], cell[r, 3], cell[r, 4]
  }' "$KESTREL_BENCH_TABLE"
exit $status
