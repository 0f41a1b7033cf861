#!/usr/bin/env bash
# Builds the station list fuzzer with clang and runs it for a bounded time
# (KESTREL_FUZZ_SECONDS, default 60). Any crash, hang, leak or sanitizer
# report fails the run; the input that caused it is left in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${KESTREL_FUZZ_SECONDS:-60}"
cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build/fuzz --parallel 2

# New inputs go to the first folder; the seeds in fuzz/corpus stay as they are.
mkdir -p build/fuzz/corpus
build/fuzz/station_list_fuzzer \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -print_final_stats=1 -artifact_prefix=build/fuzz/ \
  build/fuzz/corpus fuzz/corpus
