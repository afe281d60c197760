#!/usr/bin/env bash
# How fast a big published book opens in the player, against a small one.
#
#   bench/player_bench.sh [BUILD_DIR] [--against REV]
#
# Publishes a 52-page book and the demonstration pages repeated to PAGES pages
# (default 2000) with folivox-cli from BUILD_DIR (default build; brought up to date
# first), and writes a book as big as a long manual with player/tools/make-test-book.js:
# PAGES pages, 5 link areas a page, 1,400 contents entries and the words of every
# page. Then opens them in headless Chromium from the disk (file://) and from a local
# web server, and prints the time to the first painted spread (and its ratio to the
# 52-page book's: budget 1.3x), the largest number of page pictures in the document,
# and for the manual how long its searches take (budget: the first under 1 s, later
# ones under 100 ms). --against REV also plays the manual-sized book with the player
# of git revision REV, in the same run, for a before and after.
# Environment: PAGES (2000), RUNS (5).
# Needs: cmake, node 20 or later, Debian's chromium, python3 (the web server), git for --against.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=build
AGAINST=""
while [ $# -gt 0 ]; do
  case "$1" in
    --against) AGAINST=$2; shift 2 ;;
    *) BUILD=$1; shift ;;
  esac
done
PAGES=${PAGES:-2000}
RUNS=${RUNS:-5}
for tool in node chromium python3 cmake; do
  command -v "$tool" >/dev/null || { echo "player_bench: missing $tool" >&2; exit 1; }
done
[ -f "$BUILD/CMakeCache.txt" ] || { echo "player_bench: $BUILD is not a configured build folder" >&2; exit 1; }
cmake --build "$BUILD" --target folivox-cli folivox_player folivox_resources >/dev/null
cli=$BUILD/bin/folivox-cli
FOLIVOX_RESOURCES=$(pwd)/$BUILD/share/folivox
export FOLIVOX_RESOURCES
node_flags=()
if [ "$(node -e 'console.log(typeof WebSocket)')" != function ]; then node_flags=(--experimental-websocket); fi

work=$(mktemp -d /tmp/folivox-player-bench-XXXXXX)
server=""
cleanup() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# The input pictures: the six demonstration pages over and over (hard links, no copies).
demo=(resources/DemoImgs/*.jpg)
mkdir -p "$work/big-in" "$work/small-in"
for ((i = 1; i <= PAGES; i++)); do
  ln "${demo[$(((i - 1) % ${#demo[@]}))]}" "$work/big-in/$(printf '%05d' "$i").jpg" 2>/dev/null ||
    cp "${demo[$(((i - 1) % ${#demo[@]}))]}" "$work/big-in/$(printf '%05d' "$i").jpg"
done
for ((i = 1; i <= 52; i++)); do
  cp "$work/big-in/$(printf '%05d' "$i").jpg" "$work/small-in/"
done

start=$(date +%s.%N)
"$cli" publish "$work/big-in" -o "$work/books/big" --title "Player benchmark" >/dev/null
end=$(date +%s.%N)
awk -v n="$PAGES" -v s="$start" -v e="$end" -v size="$(du -sh "$work/books/big" | cut -f1)" \
  'BEGIN { printf "published %d pages in %.1f s (%s)\n", n, e - s, size }'
"$cli" publish "$work/small-in" -o "$work/books/small" --title "Player benchmark" >/dev/null

# A book shaped like a long manual, played by this build's player (and REV's).
manual() {
  node player/tools/make-test-book.js "$work/books/$1" --pages "$PAGES" --links-per-page 5 --toc-entries 1400 \
    --picture "${demo[0]}" --player "$2" --text >/dev/null
}
manual manual "$FOLIVOX_RESOURCES/AppFiles/Templates/float/index.html"
urls=(small big manual)
if [ -n "$AGAINST" ]; then
  mkdir -p "$work/against"
  git archive "$AGAINST" player | tar -x -C "$work/against"
  cmake -DPLAYER_DIR="$work/against/player" -DOUTPUT="$work/against/index.html" -P player/inline.cmake >/dev/null
  manual "manual-$(git rev-parse --short "$AGAINST")" "$work/against/index.html"
  urls+=("manual-$(git rev-parse --short "$AGAINST")")
fi
xml=$(node -e 'const C = require("./player/src/container.js"); const fs = require("fs");
  C.decodeBookBin(fs.readFileSync(process.argv[1])).then((t) => console.log(t.length))' "$work/books/manual/files/book.bin")
echo "manual-sized book: $PAGES pages, $((PAGES * 5)) link areas, 1400 contents entries, book.xml $((xml / 1024)) KB"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/books" >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/small/index.html')" 2>/dev/null && break
  sleep 0.1
done

all=()
for u in "${urls[@]}"; do all+=("file://$work/books/$u/index.html"); done
for u in "${urls[@]}"; do all+=("http://127.0.0.1:$port/$u/index.html"); done
node "${node_flags[@]}" bench/player_bench.js --runs "$RUNS" "${all[@]}" 2>&1 |
  grep -v -e ExperimentalWarning -e 'node --trace-warnings'
