#!/usr/bin/env bash
# bench/listing/run.sh [COUNTS...]: the folder listing (ListMatching) over folders of 10 000,
# 100 000 and 200 000 entries, warm cache: time per entry and the peak resident memory it adds.
# Linear means the time per entry stays flat and the memory grows with the entries matched.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ $# -gt 0 ]; then counts=("$@"); else counts=(10000 100000 200000); fi
build=build-listing-release

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORIMO_TESTS=OFF >/dev/null
if cmake --build "$build" --target listing_bench -j2 2>&1 | grep -E "error:|Error [0-9]"; then exit 1; fi
bench=$build/bench/listing/listing_bench

work=$(mktemp -d "${TMPDIR:-/tmp}/orimo-listing-XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "file system: $(stat -f -c %T "$work"), load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%10s %10s %14s %16s %16s %14s\n' entries matched "ns/entry" "peak KB before" "peak KB after" "bytes/match"
for n in "${counts[@]}"; do
  mkdir "$work/$n"
  "$bench" make "$work/$n" "$n"
  "$bench" list "$work/$n" 1 >/dev/null  # warm the directory cache
  read -r matched ns before after < <("$bench" list "$work/$n" 5)
  printf '%10d %10d %14s %16d %16d %14d\n' "$n" "$matched" "$ns" "$before" "$after" $(((after - before) * 1024 / matched))
  rm -rf "${work:?}/$n"
done
