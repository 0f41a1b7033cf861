#!/usr/bin/env bash
# Installs what is missing, builds Kestrel Radio with warnings as errors and
# runs every test: ctest, with a minute of fuzzing the station list reader
# and record parser beside it. Most test programs spend their time waiting
# for a stream, a page or a window, so four run at a time even on two cores
# (KESTREL_TEST_JOBS sets another number).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh
# The benchmarks are built by scripts/bench.sh, and by CI's release build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_WARNINGS_AS_ERRORS=ON \
  -DKESTREL_BUILD_BENCH=OFF
cmake --build build --parallel "$(nproc)"
# The fuzzer takes one core for its minute while the tests, which mostly
# wait, run beside it; its report is shown when it finds something.
mkdir -p build/fuzz
scripts/fuzz.sh >build/fuzz/fuzz.log 2>&1 &
fuzzer=$!
status=0
ctest --test-dir build --output-on-failure --parallel "${KESTREL_TEST_JOBS:-4}" "$@" || status=$?
if wait "$fuzzer"; then
  tail -n 3 build/fuzz/fuzz.log
else
  echo "The fuzzer failed (build/fuzz/fuzz.log):"
  tail -n 60 build/fuzz/fuzz.log
  status=1
fi
exit "$status"
