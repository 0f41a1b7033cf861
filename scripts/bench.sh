#!/usr/bin/env bash
# Builds the benchmarks and runs every one of them; each prints its figures.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_BUILD_BENCH=ON >/dev/null
cmake --build build --parallel 2
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
status=0
for bench in build/bench/*; do
  [ -f "$bench" ] && [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
# Benchmarks of the whole program on a private display and sound server.
echo "== radio-startup.sh"
bench/radio-startup.sh build || status=1
exit $status
