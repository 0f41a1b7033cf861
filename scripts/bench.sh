#!/usr/bin/env bash
# Builds the benchmarks and runs every one of them; each prints its figures.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_BUILD_BENCH=ON >/dev/null
cmake --build build --parallel 2
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
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
for script in bench/server-load.sh bench/player-startup.sh bench/radio-startup.sh; do
  echo "== $(basename "$script")"
  "$script" build || status=1
done
exit $status
