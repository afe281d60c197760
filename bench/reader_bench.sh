#!/usr/bin/env bash
# What a reader downloads of a published book, as Chromium receives it over http:
# opening it, ten turns, one zoom to 200 %, on a phone-sized screen (budget for
# R-FAQ: opening at most 450 KB, ten turns at most 2.0 MB), and when the first page
# shows on a 1.6 Mbit/s, 150 ms link. The book is published from the PDF (default:
# R-FAQ of r-base-core) with the defaults and with --picture-format jpeg, as books
# were, in the same run. Last, how sharp page ZOOM_PAGE (default 10) of each is at
# 400 % on a screen of two device pixels per CSS pixel, against pdftoppm at that
# resolution (bench/zoom_sharpness.js; budget: at least 0.8).
#
#   bench/reader_bench.sh [BUILD_DIR] [FILE.pdf]
#
# Needs node 20 or later, Debian's chromium and python3 (the web server).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
PDF=${2:-/usr/share/R/doc/manual/R-FAQ.pdf}
for tool in node chromium python3; do command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }; done
cmake --build "$BUILD" --target folivox-cli folivox_player folivox_resources >/dev/null
export FOLIVOX_RESOURCES=$(pwd)/$BUILD/share/folivox
node_flags=()
if [ "$(node -e 'console.log(typeof WebSocket)')" != function ]; then node_flags=(--experimental-websocket); fi
work=$(mktemp -d /tmp/folivox-reader-bench-XXXXXX)
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT

for format in auto jpeg; do
  "$BUILD/bin/folivox-cli" publish "$PDF" -o "$work/$format" --links --bookmarks --picture-format "$format" 2> "$work/summary" > /dev/null
  echo "$format: $(sed -n 's/^folivox-cli: The book/the book/p' "$work/summary")"
done
port=$((20000 + RANDOM % 20000))
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work" > /dev/null 2>&1 &
server=$!
sleep 1
for format in auto jpeg; do
  echo "$format, phone:  $(node "${node_flags[@]}" bench/reader_bench.js "http://127.0.0.1:$port/$format/index.html" --phone)"
  echo "$format, laptop: $(node "${node_flags[@]}" bench/reader_bench.js "http://127.0.0.1:$port/$format/index.html")"
  echo "$format, slow link: $(node "${node_flags[@]}" bench/reader_bench.js "http://127.0.0.1:$port/$format/index.html" --phone --slow)"
done
for format in auto jpeg; do
  echo "$format, 400 % on a 2x screen, page ${ZOOM_PAGE:-10}: $(node "${node_flags[@]}" bench/zoom_sharpness.js "file://$work/$format/index.html" "$PDF" "${ZOOM_PAGE:-10}")"
done
