#!/usr/bin/env bash
# Installs what is missing, builds Kestrel Radio with warnings as errors and
# runs every test: a minute of fuzzing the station list reader and record
# parser, then ctest. Most test programs spend their time waiting for a
# stream, a page or a window, so four run at a time even on two cores
# (KESTREL_TEST_JOBS sets another number).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/check-format.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_WARNINGS_AS_ERRORS=ON
cmake --build build --parallel "$(nproc)"
scripts/fuzz.sh
ctest --test-dir build --output-on-failure --parallel "${KESTREL_TEST_JOBS:-4}" "$@"
