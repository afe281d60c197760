#!/usr/bin/env bash
# Our PDF import against poppler's converters on the same pages, in one run.
#
#   bench/import_bench.sh [FILE.pdf] [BUILD_DIR]
#
# FILE.pdf defaults to the Valgrind manual of Debian's valgrind package (397
# letter pages). BUILD_DIR must hold bin/bench_import (configure with
# -DFOLIVOX_BUILD_BENCH=ON). Environment: PAGES (100), QUALITY (85),
# REPEAT (3, the best wall time counts), BIG (1000 pages for the memory run).
set -euo pipefail

PDF=${1:-}
BUILD=${2:-build}
PAGES=${PAGES:-100}
QUALITY=${QUALITY:-85}
REPEAT=${REPEAT:-3}
BIG=${BIG:-1000}
BENCH=$BUILD/bin/bench_import

for tool in pdftoppm pdftocairo mutool /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt install poppler-utils mupdf-tools time)" >&2; exit 1; }
done
[ -x "$BENCH" ] || { echo "missing $BENCH: configure with -DFOLIVOX_BUILD_BENCH=ON and build bench_import" >&2; exit 1; }

work=$(mktemp -d /tmp/folivox-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

if [ -z "$PDF" ]; then
  src=/usr/share/doc/valgrind/valgrind_manual.pdf.gz
  [ -f "$src" ] || { echo "no PDF given and $src not found (apt install valgrind)" >&2; exit 1; }
  PDF=$work/valgrind_manual.pdf
  zcat "$src" > "$PDF"
fi
label=${1:-$src}
total=$(pdfinfo "$PDF" | awk '/^Pages:/ {print $2}')
[ "$total" -ge "$PAGES" ] || { echo "$PDF has $total pages, fewer than $PAGES" >&2; exit 1; }
cat "$PDF" > /dev/null  # warm the page cache for everyone alike
half=$((PAGES / 2))

# run NAME OUTDIR COMMAND...: best wall time of REPEAT runs, the peak memory of
# that run, and the bytes it wrote into OUTDIR.
declare -A WALL RSS BYTES
run() {
  local name=$1 out=$2
  shift 2
  local best="" bestrss=0
  for _ in $(seq "$REPEAT"); do
    rm -rf "$out" && mkdir -p "$out"
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" > "$work/stdout" 2> "$work/stderr" || { cat "$work/stderr" >&2; exit 1; }
    read -r wall rss < <(tail -n 1 "$work/time")
    if [ -z "$best" ] || awk -v a="$wall" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$wall
      bestrss=$rss
      if [ "$name" = ours ] || [ "$name" = big ]; then
        BYTES[$name]=$(sed -n 's/.*bytes=\([0-9]*\).*/\1/p' "$work/stdout")
      else
        BYTES[$name]=$(find "$out" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
      fi
    fi
  done
  WALL[$name]=$best
  RSS[$name]=$bestrss
}

run ours "$work/ours" "$BENCH" "$PDF" --range "1-$PAGES" --quality "$QUALITY"
run pdftoppm "$work/ppm" pdftoppm -r 144 -jpeg -jpegopt "quality=$QUALITY" -f 1 -l "$PAGES" "$PDF" "$work/ppm/p"
run pdftocairo "$work/cairo" bash -c "pdftocairo -jpeg -r 144 -f 1 -l $half '$PDF' '$work/cairo/a' &
                                      pdftocairo -jpeg -r 144 -f $((half + 1)) -l $PAGES '$PDF' '$work/cairo/b' &
                                      wait"

# The memory run: BIG pages made by repeating the document.
inputs=()
n=0
while [ "$n" -lt "$BIG" ]; do inputs+=("$PDF"); n=$((n + total)); done
mutool merge -o "$work/big.pdf" "${inputs[@]}" 2> /dev/null
REPEAT=1 run big "$work/bigout" "$BENCH" "$work/big.pdf" --range "1-$BIG" --quality "$QUALITY"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.0f", k / 1024 }'; }

echo "Input: $label ($total pages), pages 1-$PAGES, 144 dpi, $(nproc) cores, best of $REPEAT"
echo
echo "| run | pages | wall s | ours / this | JPEG MB | bytes vs pdftoppm | peak MB |"
echo "|---|---|---|---|---|---|---|"
for name in ours pdftoppm pdftocairo; do
  label=$name
  [ "$name" = ours ] && label="folivox, quality $QUALITY, all cores"
  [ "$name" = pdftoppm ] && label="pdftoppm -r 144 -jpeg -jpegopt quality=$QUALITY"
  [ "$name" = pdftocairo ] && label="pdftocairo -jpeg -r 144, 2 processes"
  echo "| $label | $PAGES | ${WALL[$name]} | $(ratio "${WALL[ours]}" "${WALL[$name]}") |" \
       "$(awk -v b="${BYTES[$name]}" 'BEGIN { printf "%.1f", b / 1048576 }') |" \
       "$(ratio "${BYTES[$name]}" "${BYTES[pdftoppm]}") | $(mb "${RSS[$name]}") |"
done
echo "| folivox, $BIG pages (memory) | $BIG | ${WALL[big]} | | $(awk -v b="${BYTES[big]}" 'BEGIN { printf "%.1f", b / 1048576 }') | | $(mb "${RSS[big]}") |"
