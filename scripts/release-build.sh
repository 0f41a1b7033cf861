#!/usr/bin/env bash
# Builds the programs as a user or a packager does, in a Release tree of its
# own (build-release/), with warnings as errors: the optimiser's own
# warnings differ from one build type to the next. The benchmarks are built
# here too, so that CI builds them. The tests run on the RelWithDebInfo
# tree of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTREL_WARNINGS_AS_ERRORS=ON \
  -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=ON
cmake --build build-release --parallel "$(nproc)"
