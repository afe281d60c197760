#!/usr/bin/env bash
# What the page pictures weigh and how close they come to the page, and what the
# publish costs, against pdftoppm on the same pages in the same run.
#
#   bench/pictures_bench.sh [BUILD_DIR]
#
# For R-exts pages 1-100 (r-base-core's manual) and the reportlab user guide
# (python-reportlab-doc): the bytes of the page pictures against
# `pdftoppm -r 144 -jpeg -jpegopt quality=85` of the same pages, the SSIM of each
# picture against MuPDF's lossless render at 144 dpi (bench_pictures; budget: bytes
# at most 35 %, SSIM at least 0.99), and how many pages zoom as SVG drawings. Then
# the time of publishing R-exts 1-100 with links, bookmarks, text and zoom pages
# against pdftoppm -r 144 -jpeg of the same pages alone (budget: at most 2.0x),
# each the best of REPEAT runs (default 2). The same for --picture-format jpeg, the
# books as they were, for comparison. On a machine others use at the same time the
# wall times say little, so the CPU time (user + system) is given too: ours over the
# cores, against pdftoppm's, is the ratio the wall times would have on an idle
# machine. PARTS=bytes or PARTS=time runs one half.
# BUILD_DIR (default build) must be configured with -DFOLIVOX_BUILD_BENCH=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
REPEAT=${REPEAT:-2}
REXTS=/usr/share/R/doc/manual/R-exts.pdf
GUIDE=/usr/share/doc/python-reportlab-doc/reportlab-userguide.pdf
for f in "$REXTS" "$GUIDE"; do [ -f "$f" ] || { echo "missing $f (apt install r-base-core python-reportlab-doc)" >&2; exit 1; }; done
for tool in pdftoppm pdfinfo /usr/bin/time; do command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }; done
cmake --build "$BUILD" --target folivox-cli bench_pictures folivox_player folivox_resources >/dev/null
CLI=$BUILD/bin/folivox-cli
BENCH=$BUILD/bin/bench_pictures
export FOLIVOX_RESOURCES=$(pwd)/$BUILD/share/folivox
work=$(mktemp -d /tmp/folivox-pictures-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# best COMMAND...: the best wall time of REPEAT runs into $BEST, the least CPU
# time (user + system) into $CPU.
best() {
  BEST=""
  CPU=""
  for _ in $(seq "$REPEAT"); do
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" > /dev/null 2> "$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
    read -r t u s < <(tail -n 1 "$work/time")
    c=$(awk -v u="$u" -v s="$s" 'BEGIN { printf "%.2f", u + s }')
    if [ -z "$BEST" ] || awk -v a="$t" -v b="$BEST" 'BEGIN { exit !(a < b) }'; then BEST=$t; fi
    if [ -z "$CPU" ] || awk -v a="$c" -v b="$CPU" 'BEGIN { exit !(a < b) }'; then CPU=$c; fi
  done
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }

PARTS=${PARTS:-bytes,time}
if [[ $PARTS == *bytes* ]]; then
printf '%-26s %6s %10s %10s %7s %8s %8s %9s %11s\n' document pages "pdftoppm" ours ratio ssim_min ssim_avg zoom_svg zoom_bytes
for doc in "R-exts 1-100:$REXTS:1:100" "reportlab guide:$GUIDE:1:$(pdfinfo "$GUIDE" | awk '/^Pages:/ {print $2}')"; do
  IFS=: read -r name pdf first last <<< "$doc"
  rm -rf "$work/ppm" && mkdir -p "$work/ppm"
  pdftoppm -r 144 -jpeg -jpegopt quality=85 -f "$first" -l "$last" "$pdf" "$work/ppm/p"
  ppm=$(find "$work/ppm" -type f -printf '%s\n' | awk '{ s += $1 } END { print s }')
  for format in auto jpeg; do
    rm -rf "$work/book"
    "$CLI" publish "$pdf" -o "$work/book" --range "$first-$last" --picture-format "$format" 2> /dev/null > /dev/null
    line=$("$BENCH" "$pdf" "$work/book" "$first" "$last" 2> /dev/null)
    get() { awk -v k="$1" '{ for (i = 1; i <= NF; i++) { split($i, a, "="); if (a[1] == k) print a[2] } }' <<< "$line"; }
    printf '%-26s %6s %10s %10s %7s %8s %8s %9s %11s\n' "$name ($format)" "$(get pages)" "$ppm" "$(get bytes)" \
      "$(ratio "$(get bytes)" "$ppm")" "$(get ssim_min)" "$(get ssim_mean)" "$(get zoom_svg)/$(get pages)" "$(get zoom_bytes)"
  done
done

echo
fi
if [[ $PARTS == *time* ]]; then
cores=$(nproc)
mkdir -p "$work/ppm"
best pdftoppm -r 144 -jpeg -jpegopt quality=85 -f 1 -l 100 "$REXTS" "$work/ppm/t"
ppm_time=$BEST
ppm_cpu=$CPU
printf '%-50s %8s %7s %8s %9s\n' "R-exts 1-100, $cores cores" wall ratio cpu cpu_ratio
printf '%-50s %8s %7s %8s %9s\n' "pdftoppm -r 144 -jpeg" "$ppm_time" 1.000 "$ppm_cpu" 1.000
for format in auto jpeg; do
  best "$CLI" publish "$REXTS" -o "$work/timed-$format" --range 1-100 --links --bookmarks --force --picture-format "$format"
  printf '%-50s %8s %7s %8s %9s\n' "publish, links, bookmarks, text, zoom ($format)" "$BEST" "$(ratio "$BEST" "$ppm_time")" \
    "$CPU" "$(awk -v c="$CPU" -v n="$cores" -v p="$ppm_cpu" 'BEGIN { printf "%.3f", c / n / p }')"
done
fi
