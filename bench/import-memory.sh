#!/usr/bin/env bash
# Memory and time of a Radio Browser import of a whole-directory dump: a
# made-up dump of STATIONS stations (400,000 by default, about 340 MB, in
# the directory's full record format) is imported from a file and from
# standard input. For each run it prints the dump's size, the peak memory
# (maximum resident set, from GNU time), the wall and CPU time. A second server
# binary (an earlier build) may be named to print its figures beside.
#
#   bench/import-memory.sh [BUILD_FOLDER] [STATIONS] [OTHER_SERVER]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
stations=${2:-400000}
other=${3:-}
server="$build/kestrel-station-server"
[ -x "$server" ] || { echo "no $server; build first" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "GNU time is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every field the directory's /json/stations answer carries, most of which
# the import drops; every 50th station carries video, every 7th failed its
# last check.
awk -v n="$stations" 'BEGIN {
  printf "[\n"
  for (i = 1; i <= n; i++) {
    printf "{\"changeuuid\":\"11111111-0000-4000-8000-%012d\",\"stationuuid\":\"00000000-0000-4000-8000-%012d\",", i, i
    printf "\"serveruuid\":null,\"name\":\"Station %d, the sound of town %d\",", i, i % 500
    printf "\"url\":\"http://stream%d.example.org/live/%d.pls\",", i % 97, i
    printf "\"url_resolved\":\"http://stream%d.example.org/live/%d\",", i % 97, i
    printf "\"homepage\":\"https://station%d.example.org/\",\"favicon\":\"https://station%d.example.org/favicon.png\",", i, i
    printf "\"tags\":\"pop,rock,news,talk,local,%d\",\"country\":\"Country %d\",\"countrycode\":\"C%d\",", i % 300, i % 200, i % 200
    printf "\"iso_3166_2\":null,\"state\":\"State %d\",\"language\":\"language %d,language %d\",", i % 50, i % 90, i % 7
    printf "\"languagecodes\":\"l%d\",\"votes\":%d,\"lastchangetime\":\"2024-03-01 10:00:00\",", i % 90, i
    printf "\"lastchangetime_iso8601\":\"2024-03-01T10:00:00Z\",\"codec\":\"%s\",\"bitrate\":128,\"hls\":0,", i % 50 == 0 ? "AAC,H.264" : "MP3"
    printf "\"lastcheckok\":%d,\"lastchecktime\":\"2024-03-02 08:00:00\",\"lastchecktime_iso8601\":\"2024-03-02T08:00:00Z\",", i % 7 != 0
    printf "\"lastcheckoktime\":\"2024-03-02 08:00:00\",\"lastcheckoktime_iso8601\":\"2024-03-02T08:00:00Z\",", i
    printf "\"lastlocalchecktime\":\"2024-03-02 08:00:00\",\"lastlocalchecktime_iso8601\":\"2024-03-02T08:00:00Z\",", i
    printf "\"clicktimestamp\":\"2024-03-02 09:00:00\",\"clicktimestamp_iso8601\":\"2024-03-02T09:00:00Z\",\"clickcount\":%d,", i % 1000
    printf "\"clicktrend\":%d,\"ssl_error\":0,\"geo_lat\":%d.%04d,\"geo_long\":%d.%04d,\"has_extended_info\":false}%s\n", i % 9 - 4, i % 90, i % 10000, i % 180, i % 7919, i < n ? "," : ""
  }
  printf "]\n"
}' >"$work/stations.json"
dump_mib=$(du -m "$work/stations.json" | cut -f1)

# Prints one line: which build, how, peak memory, wall and CPU time,
# catalogue lines.
measure() {
  local label=$1 binary=$2 from=$3
  rm -f "$work/catalogue.txt"
  if [ "$from" = file ]; then
    /usr/bin/time -f "%M %e %U %S" -o "$work/time.txt" "$binary" import "$work/stations.json" --catalogue "$work/catalogue.txt" 2>"$work/import.txt"
  else
    /usr/bin/time -f "%M %e %U %S" -o "$work/time.txt" "$binary" import - --catalogue "$work/catalogue.txt" <"$work/stations.json" 2>"$work/import.txt"
  fi
  read -r peak_kib seconds user system <"$work/time.txt"
  printf "%-8s %-6s %9s MiB %12s MiB %8s s %8.2f s %10s\n" "$label" "$from" "$dump_mib" "$((peak_kib / 1024))" \
    "$seconds" "$(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }')" "$(grep -vc '^#' "$work/catalogue.txt")"
}

printf "%-8s %-6s %13s %16s %10s %10s %10s\n" build from dump "peak memory" wall CPU lines
for from in file stdin; do
  measure this "$server" "$from"
  [ -n "$other" ] && measure other "$other" "$from"
done
grep -h "imported" "$work/import.txt"
