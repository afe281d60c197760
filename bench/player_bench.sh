#!/usr/bin/env bash
# How fast a big published book opens in the player, against a small one.
#
#   bench/player_bench.sh [BUILD_DIR]
#
# Publishes the demonstration pages repeated to PAGES pages (default 2000) and a
# 10-page book with folivox-cli from BUILD_DIR (default build; brought up to date
# first), then opens both in headless Chromium from the disk (file://) and from a
# local web server, and prints the time to the first painted spread and the largest
# number of page pictures in the document. Environment: PAGES (2000), RUNS (5).
# Needs: cmake, node 20 or later, Debian's chromium, python3 (the web server).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${1:-build}
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
for ((i = 1; i <= 10; i++)); do
  cp "$work/big-in/$(printf '%05d' "$i").jpg" "$work/small-in/"
done

start=$(date +%s.%N)
"$cli" publish "$work/big-in" -o "$work/books/big" --title "Player benchmark" >/dev/null
end=$(date +%s.%N)
awk -v n="$PAGES" -v s="$start" -v e="$end" -v size="$(du -sh "$work/books/big" | cut -f1)" \
  'BEGIN { printf "published %d pages in %.1f s (%s)\n", n, e - s, size }'
"$cli" publish "$work/small-in" -o "$work/books/small" --title "Player benchmark" >/dev/null

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/books" >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/small/index.html')" 2>/dev/null && break
  sleep 0.1
done

node "${node_flags[@]}" bench/player_bench.js --runs "$RUNS" \
  "file://$work/books/small/index.html" "file://$work/books/big/index.html" \
  "http://127.0.0.1:$port/small/index.html" "http://127.0.0.1:$port/big/index.html" 2>&1 |
  grep -v -e ExperimentalWarning -e 'node --trace-warnings'
