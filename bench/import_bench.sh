#!/usr/bin/env bash
# Our PDF import against poppler's converters on the same pages, in one run,
# and what the text and the zoom pictures cost on top of it.
#
#   bench/import_bench.sh [FILE.pdf] [BUILD_DIR]
#
# "folivox" is the import as the program runs it, zoom pictures apart: page
# pictures, thumbnails and the words of every page. The same run also times
# it without the words and with zoom pictures, and publishes the book with
# folivox-cli with and without zoom pictures (time and size on disk).
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
CLI=$BUILD/bin/folivox-cli

for tool in pdftoppm pdftocairo mutool /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt install poppler-utils mupdf-tools time)" >&2; exit 1; }
done
[ -x "$BENCH" ] || { echo "missing $BENCH: configure with -DFOLIVOX_BUILD_BENCH=ON and build bench_import" >&2; exit 1; }
[ -x "$CLI" ] || { echo "missing $CLI: build folivox-cli" >&2; exit 1; }

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
declare -A WALL RSS BYTES TEXTB ZOOMB THUMBB
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
      if [ "${name#ours}" != "$name" ] || [ "$name" = big ]; then
        BYTES[$name]=$(sed -n 's/.* bytes=\([0-9]*\).*/\1/p' "$work/stdout")
        TEXTB[$name]=$(sed -n 's/.*text_bytes=\([0-9]*\).*/\1/p' "$work/stdout")
        ZOOMB[$name]=$(sed -n 's/.*zoom_bytes=\([0-9]*\).*/\1/p' "$work/stdout")
        THUMBB[$name]=$(sed -n 's/.*thumb_bytes=\([0-9]*\).*/\1/p' "$work/stdout")
      elif [ "${name#publish}" != "$name" ]; then
        BYTES[$name]=$(du -sb "$out" | cut -f1)
      else
        BYTES[$name]=$(find "$out" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
      fi
    fi
  done
  WALL[$name]=$best
  RSS[$name]=$bestrss
}

run ours "$work/ours" "$BENCH" "$PDF" --range "1-$PAGES" --quality "$QUALITY" --text
run ours_notext "$work/ours" "$BENCH" "$PDF" --range "1-$PAGES" --quality "$QUALITY"
run ours_zoom "$work/ours" "$BENCH" "$PDF" --range "1-$PAGES" --quality "$QUALITY" --text --zoom
run pdftoppm "$work/ppm" pdftoppm -r 144 -jpeg -jpegopt "quality=$QUALITY" -f 1 -l "$PAGES" "$PDF" "$work/ppm/p"
run pdftocairo "$work/cairo" bash -c "pdftocairo -jpeg -r 144 -f 1 -l $half '$PDF' '$work/cairo/a' &
                                      pdftocairo -jpeg -r 144 -f $((half + 1)) -l $PAGES '$PDF' '$work/cairo/b' &
                                      wait"

# The memory run: BIG pages made by repeating the document.
inputs=()
n=0
while [ "$n" -lt "$BIG" ]; do inputs+=("$PDF"); n=$((n + total)); done
mutool merge -o "$work/big.pdf" "${inputs[@]}" 2> /dev/null
REPEAT=1 run big "$work/bigout" "$BENCH" "$work/big.pdf" --range "1-$BIG" --quality "$QUALITY" --text

# Whole publishes, as a user runs them.
level=$(awk -v q="$QUALITY" 'BEGIN { print (q >= 100) ? 0 : (q >= 85) ? 1 : (q >= 65) ? 2 : (q >= 45) ? 3 : 4 }')
run publish_zoom "$work/pub" "$CLI" publish "$PDF" -o "$work/pub" --range "1-$PAGES" --quality "$level"
run publish_nozoom "$work/pub" "$CLI" publish "$PDF" -o "$work/pub" --range "1-$PAGES" --quality "$level" --no-zoom-pictures

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
echo
kb() { awk -v b="$1" -v n="$PAGES" 'BEGIN { printf "%.1f", b / n / 1024 }'; }
pct() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%+.0f %%", (a / b - 1) * 100 }'; }
echo "| folivox import, pages 1-$PAGES | wall s | vs without text | picture KB/page | text KB/page | zoom KB/page | thumbnail KB/page |"
echo "|---|---|---|---|---|---|---|"
for name in ours_notext ours ours_zoom; do
  label="without text"
  [ "$name" = ours ] && label="with text (the import)"
  [ "$name" = ours_zoom ] && label="with text and zoom pictures"
  echo "| $label | ${WALL[$name]} | $(pct "${WALL[$name]}" "${WALL[ours_notext]}") | $(kb "${BYTES[$name]}") |" \
       "$(kb "${TEXTB[$name]}") | $(kb "${ZOOMB[$name]}") | $(kb "${THUMBB[$name]}") |"
done
echo
echo "| folivox-cli publish, pages 1-$PAGES | wall s | book MB |"
echo "|---|---|---|"
echo "| with zoom pictures (default) | ${WALL[publish_zoom]} | $(awk -v b="${BYTES[publish_zoom]}" 'BEGIN { printf "%.1f", b / 1048576 }') |"
echo "| --no-zoom-pictures | ${WALL[publish_nozoom]} | $(awk -v b="${BYTES[publish_nozoom]}" 'BEGIN { printf "%.1f", b / 1048576 }') |"
