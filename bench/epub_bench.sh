#!/usr/bin/env bash
# The EPUB export against the web publish of the same pages, on the same machine
# in one run: wall and CPU time of each and their ratio, and the EPUB's size
# against the web book folder's.
#
#   bench/epub_bench.sh [BUILD_DIR] [PDF] [RANGE]
#
# Defaults: build, R-exts.pdf of the R manuals (r-base-html / r-doc-pdf), pages
# 1-100, cut out with qpdf first so that both runs read the same small file.
# Both runs take --links --bookmarks and their format's default pictures (web:
# auto, EPUB: png). Each runs ROUNDS times (1), in turn; the best wall time counts.
set -euo pipefail

BUILD=${1:-build}
PDF=${2:-/usr/share/R/doc/manual/R-exts.pdf}
RANGE=${3:-1-100}
ROUNDS=${ROUNDS:-1}
CLI=$(cd "$BUILD/bin" && pwd)/folivox-cli
[ -x "$CLI" ] || { echo "missing $CLI: build folivox-cli" >&2; exit 1; }
for tool in qpdf /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt install qpdf time)" >&2; exit 1; }
done
[ -f "$PDF" ] || { echo "missing $PDF" >&2; exit 1; }

work=$(mktemp -d /tmp/folivox-epub-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
qpdf "$PDF" --pages . "$RANGE" -- "$work/in.pdf"

# Runs a publish; prints "wall cpu" in seconds.
run() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$CLI" publish "$work/in.pdf" --links --bookmarks "$@" \
    >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time"
}

best_web="" best_epub=""
for _ in $(seq "$ROUNDS"); do
  rm -rf "$work/web" "$work/book.epub"
  read -r w c < <(run -o "$work/web")
  if [ -z "$best_web" ] || awk -v a="$w" -v b="${best_web%% *}" 'BEGIN { exit !(a < b) }'; then best_web="$w $c"; fi
  read -r w c < <(run --format epub -o "$work/book.epub")
  if [ -z "$best_epub" ] || awk -v a="$w" -v b="${best_epub%% *}" 'BEGIN { exit !(a < b) }'; then best_epub="$w $c"; fi
done
web_bytes=$(du -sb "$work/web" | cut -f1)
epub_bytes=$(stat -c %s "$work/book.epub")

echo "input: $PDF pages $RANGE ($(nproc) cores, best of $ROUNDS)"
printf '%-12s %10s %10s %14s\n' "" "wall s" "cpu s" "bytes"
printf '%-12s %10s %10s %14s\n' "web folder" ${best_web} "$web_bytes"
printf '%-12s %10s %10s %14s\n' "EPUB" ${best_epub} "$epub_bytes"
awk -v we="${best_web%% *}" -v wc="${best_web##* }" -v ee="${best_epub%% *}" -v ec="${best_epub##* }" \
    -v wb="$web_bytes" -v eb="$epub_bytes" 'BEGIN {
  printf "EPUB / web: wall %.2fx, cpu %.2fx, size %.0f %%\n", ee / we, ec / wc, 100 * eb / wb }'
