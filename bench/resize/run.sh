#!/usr/bin/env bash
# bench/resize/run.sh: the JPEG batch resize (to 800 x 600) against plain tools, warm cache.
# Pictures: 20 photo-like 4000 x 3000 and 5 of 6000 x 4000 (quality 90, 4:2:0), made once and
# kept in $ORIMO_BENCH_PICTURES. Per picture, the median of several rounds:
#   ours: one resize command over the folder (decode, sample, encode, write each output)
#   djpeg -outfile /dev/null (a full-size decode alone)        goal: ours <= 1.1 x djpeg
#   ImageMagick convert -sample 800x600! -quality 90           goal: ours >= 5 x faster
#   vips resize with the nearest kernel, Q=90                  goal: ours >= 3 x faster
# then the peak RSS of a run over one 6000 x 4000 picture (goal < 16 MiB), and a check that every
# output equals the plain full-decode, sample, encode bytes.
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${ROUNDS:-5}
tool_rounds=${TOOL_ROUNDS:-3}
build=build-resize/release
pictures=${ORIMO_BENCH_PICTURES:-${TMPDIR:-/tmp}/orimo-resize-bench-pictures}
magick=/usr/bin/convert-im6.q16   # ImageMagick itself, not a wrapper earlier on PATH
[ -x "$magick" ] || magick=$(command -v convert)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORIMO_TESTS=OFF >/dev/null
cmake --build "$build" --target resize_bench -j2 2>&1 | grep -E "error" && exit 1 || true
bench=$build/bench/resize/resize_bench

mkdir -p "$pictures/12mp" "$pictures/24mp"
for i in $(seq -w 1 20); do [ -s "$pictures/12mp/p$i.jpg" ] || echo "$pictures/12mp/p$i.jpg 4000 3000 $i"; done |
  xargs -r -P2 -L1 "$bench" make
for i in $(seq -w 21 25); do [ -s "$pictures/24mp/p$i.jpg" ] || echo "$pictures/24mp/p$i.jpg 6000 4000 $i"; done |
  xargs -r -P2 -L1 "$bench" make

work=$(mktemp -d "${TMPDIR:-/tmp}/orimo-resize-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
ms() { awk -v s="$1" 'BEGIN {printf "%7.1f ms", s * 1000}'; }

# Each prints the seconds per picture of one round over a folder.
ours() {
  rm -rf "$work/out" && mkdir "$work/out"
  local t0 t1; t0=$(now)
  "$bench" run "$1" "$work/out" 2 >/dev/null 2>&1
  t1=$(now); awk -v a="$t0" -v b="$t1" -v n="$2" 'BEGIN {printf "%.5f\n", (b - a) / n}'
}
djpeg_round() {
  local t0 t1 f; t0=$(now)
  for f in "$1"/*.jpg; do djpeg -outfile /dev/null "$f"; done
  t1=$(now); awk -v a="$t0" -v b="$t1" -v n="$2" 'BEGIN {printf "%.5f\n", (b - a) / n}'
}
magick_round() {
  local t0 t1 f; t0=$(now)
  for f in "$1"/*.jpg; do "$magick" "$f" -sample '800x600!' -quality 90 "$work/im.jpg"; done
  t1=$(now); awk -v a="$t0" -v b="$t1" -v n="$2" 'BEGIN {printf "%.5f\n", (b - a) / n}'
}
vips_round() {
  local t0 t1 f; t0=$(now)
  for f in "$1"/*.jpg; do vips resize "$f" "$work/vips.jpg[Q=90]" "$3" --vscale "$4" --kernel nearest; done
  t1=$(now); awk -v a="$t0" -v b="$t1" -v n="$2" 'BEGIN {printf "%.5f\n", (b - a) / n}'
}
have_vips=yes
command -v vips >/dev/null || have_vips=no

# The tools take turns within each round, so that a load that comes and goes (the machine is
# shared) falls on all of them alike; the first round warms up and is not counted.
for set in 12mp 24mp; do
  dir=$pictures/$set
  count=$(ls "$dir"/*.jpg | wc -l)
  if [ "$set" = 12mp ]; then size="4000 x 3000"; hs=0.2; vs=0.2; else size="6000 x 4000"; hs=0.133333334; vs=0.15; fi
  cat "$dir"/*.jpg >/dev/null  # warm the page cache
  o=(); d=(); m=(); v=()
  for r in $(seq 0 "$rounds"); do
    o+=("$(ours "$dir" "$count")")
    d+=("$(djpeg_round "$dir" "$count")")
    if [ "$r" -le "$tool_rounds" ]; then
      m+=("$(magick_round "$dir" "$count")")
      [ $have_vips = no ] || v+=("$(vips_round "$dir" "$count" "$hs" "$vs")")
    fi
  done
  o_s=$(printf '%s\n' "${o[@]:1}" | median)
  d_s=$(printf '%s\n' "${d[@]:1}" | median)
  m_s=$(printf '%s\n' "${m[@]:1}" | median)
  echo "$count pictures of $size -> 800 x 600, per picture (median of $rounds rounds; convert and vips $tool_rounds)"
  echo "  ours (resize command):      $(ms "$o_s")"
  echo "  djpeg -outfile /dev/null:   $(ms "$d_s")   ours / djpeg      = $(ratio "$o_s" "$d_s")  (goal <= 1.10)"
  echo "  convert -sample 800x600!:   $(ms "$m_s")   convert / ours    = $(ratio "$m_s" "$o_s")  (goal >= 5)"
  if [ $have_vips = yes ]; then
    v_s=$(printf '%s\n' "${v[@]:1}" | median)
    echo "  vips resize, nearest:       $(ms "$v_s")   vips / ours       = $(ratio "$v_s" "$o_s")  (goal >= 3)"
  else
    echo "  vips: not installed (apt-get install libvips-tools)"
  fi
done
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

# Peak memory: one 6000 x 4000 picture alone, then the whole 12 MP folder.
mkdir -p "$work/one" && cp "$pictures/24mp/p21.jpg" "$work/one/"
rss() {
  rm -rf "$work/out" && mkdir "$work/out"
  /usr/bin/time -f %M "$bench" run "$1" "$work/out" 2 2>&1 >/dev/null | tail -1
}
one=$(rss "$work/one")
all=$(rss "$pictures/12mp")
djpeg_rss=$(/usr/bin/time -f %M djpeg -outfile /dev/null "$work/one/p21.jpg" 2>&1 | tail -1)
echo "peak RSS, one 6000 x 4000 picture: $one KiB ($(awk -v k="$one" 'BEGIN {printf "%.1f", k / 1024}') MiB, goal < 16 MiB); djpeg alone: $djpeg_rss KiB"
echo "peak RSS, 20 pictures of 4000 x 3000: $all KiB"

# The outputs against the plain full decode.
for set in 12mp 24mp; do
  rm -rf "$work/out" && mkdir "$work/out"
  "$bench" run "$pictures/$set" "$work/out" 2 >/dev/null 2>&1
  echo "$set: $("$bench" verify "$pictures/$set" "$work/out" 2)"
done
