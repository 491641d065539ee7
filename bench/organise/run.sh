#!/usr/bin/env bash
# bench/organise/run.sh [COUNT] [ROUNDS]: the organiser against plain tools, warm cache.
#  (a) a whole organise command (capture-date mode with its log lines and marks; file-date mode)
#      against `cp --preserve=timestamps` of the same files into a fresh folder, in the same run;
#      then the pieces of the difference: the platform copy alone, a copy done in the kernel, the
#      run without marks, the run-log lines alone;
#  (b) the capture-date reader alone, in files per second, against exiv2 reading the same tag.
# Each timed piece gives wall and CPU (user + system) seconds; medians of ROUNDS rounds. The CPU
# figure is the steadier one when other work shares the machine.
set -euo pipefail
cd "$(dirname "$0")/../.."
count=${1:-3000}
rounds=${2:-7}
build=build-organise-release

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORIMO_TESTS=OFF >/dev/null
cmake --build "$build" --target organise_bench -j2 >/dev/null
bench=$build/bench/organise/organise_bench

work=$(mktemp -d "${TMPDIR:-/tmp}/orimo-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/base"
"$bench" make "$work/src" "$count"
cat "$work"/src/* >/dev/null  # warm the page cache

fresh() { rm -rf "$work/out" "$work/base/Log.txt" "$work/base/Log.bak" && mkdir "$work/out" && sync; }
declare -A wall cpu
measure() {  # NAME COMMAND...: one round, appended to the NAME figures
  local name=$1 w c
  shift
  fresh
  read -r w c < <("$@")
  wall[$name]+="$w "
  cpu[$name]+="$c "
}
median() { tr ' ' '\n' | grep . | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

pieces=(cp exif file copy copy-in-kernel exif-nomarks file-nomarks log)
run_round() {
  measure cp "$bench" cp "$work/src" "$work/out"
  measure exif "$bench" organise "$work/src" "$work/out" "$work/base" exif
  measure file "$bench" organise "$work/src" "$work/out" "$work/base" file
  measure copy "$bench" copy "$work/src" "$work/out"
  measure copy-in-kernel "$bench" copy-in-kernel "$work/src" "$work/out"
  measure exif-nomarks "$bench" organise "$work/src" "$work/out" "$work/base" exif-nomarks
  measure file-nomarks "$bench" organise "$work/src" "$work/out" "$work/base" file-nomarks
  measure log "$bench" log "$work/base" "$((2 * count))"
}
run_round  # warm-up, not counted
for p in "${pieces[@]}"; do wall[$p]=""; cpu[$p]=""; done
for _ in $(seq "$rounds"); do run_round; done

declare -A W C
for p in "${pieces[@]}"; do
  W[$p]=$(echo "${wall[$p]}" | median)
  C[$p]=$(echo "${cpu[$p]}" | median)
done
row() { printf '    %-38s wall %7.4f s  cpu %7.4f s' "$1" "${W[$2]}" "${C[$2]}"; [ -n "${3:-}" ] && printf '   ratio to cp: wall %s  cpu %s' "$(ratio "${W[$2]}" "${W[cp]}")" "$(ratio "${C[$2]}" "${C[cp]}")"; echo; }

echo "files: $count, median of $rounds rounds, load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "(a) whole runs (goal: ratio <= 1.15)"
row "cp --preserve=timestamps" cp
row "organise, capture date, log, marks" exif ratio
row "organise, file date, marks" file ratio
echo "    pieces"
row "platform CopyNew alone" copy ratio
row "copy in the kernel (O_TMPFILE)" copy-in-kernel ratio
row "organise, capture date, no marks" exif-nomarks ratio
row "organise, file date, no marks" file-nomarks ratio
row "$((2 * count)) run-log lines alone" log ratio

# (b) the reader alone: all files, several times over, in one process.
for _ in 1 2; do "$bench" read "$work/src" 3 >/dev/null; done
rates=""
for _ in $(seq "$rounds"); do rates+="$("$bench" read "$work/src" 10) "; done
reader=$(echo "$rates" | median)
echo "(b) ReadCaptureDate: $reader files/s (goal >= 40000)"
if command -v exiv2 >/dev/null; then
  exiv2 -g Exif.Photo.DateTimeOriginal -Pv "$work"/src/* >/dev/null
  rates=""
  for _ in $(seq 3); do
    t0=$(date +%s.%N)
    exiv2 -g Exif.Photo.DateTimeOriginal -Pv "$work"/src/* >/dev/null
    t1=$(date +%s.%N)
    rates+="$(awk -v n="$count" -v a="$t0" -v b="$t1" 'BEGIN {printf "%.0f", n / (b - a)}') "
  done
  exiv2_rate=$(echo "$rates" | median)
  sample=$(exiv2 -g Exif.Photo.DateTimeOriginal -Pv "$work/src/IMG_0001.JPG")
  echo "    exiv2 -g Exif.Photo.DateTimeOriginal (one process, all files): $exiv2_rate files/s, reads \"$sample\""
  echo "    ratio $(ratio "$reader" "$exiv2_rate") (goal >= 3)"
else
  echo "    exiv2 is not installed (apt-get install -y exiv2): no comparison"
fi
