#!/usr/bin/env bash
# How soon the desktop program's window answers while it imports a big
# document, builds the preview after the import, and rebuilds it on Apply.
# The program runs under a virtual X server with a window manager (openbox);
# bench/window_pings pings its main window every 50 ms (_NET_WM_PING), as a
# window manager does, and a key press waits just as long as a ping.
#
#   bench/window_bench.sh [DOCUMENT] [BUILD_DIR]
#
# DOCUMENT defaults to R's reference manual (2,415 pages, Debian r-doc-pdf),
# BUILD_DIR to build (configure with -DFOLIVOX_BUILD_BENCH=ON). Environment:
# RANGE (default all pages, or e.g. 1-600), APPLIES (2, Apply presses after the
# import's preview), KEEP (a folder to keep the ping log, the phase marks and
# the program's stderr in).
# Prints, for each phase, the pings, the slowest answer, the answers slower
# than 100 ms, and the disk the work folder and the preview take (the preview
# counts only what it does not share with the work folder).
set -euo pipefail

DOC=${1:-/usr/share/R/doc/manual/fullrefman.pdf}
BUILD=${2:-build}
RANGE=${RANGE:-}
APPLIES=${APPLIES:-2}
BIN=$BUILD/bin/folivox
PINGS=$BUILD/bin/window_pings
for tool in Xvfb openbox; do
  command -v "$tool" >/dev/null || { echo "missing $tool (apt install xvfb openbox)" >&2; exit 1; }
done
[ -f "$DOC" ] || { echo "no document $DOC (for the default: apt install r-doc-pdf)" >&2; exit 1; }
[ -x "$BIN" ] || { echo "missing $BIN: build the program" >&2; exit 1; }
[ -x "$PINGS" ] || { echo "missing $PINGS: configure with -DFOLIVOX_BUILD_BENCH=ON and build window_pings" >&2; exit 1; }

n=120
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
work=$(mktemp -d /tmp/folivox-window-bench-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=":$n"
Xvfb "$DISPLAY" -screen 0 1440x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)

mkdir -p "$work/config/Folivox" "$work/data" "$work/cache" "$work/tmp"
if [ -n "$RANGE" ]; then
  printf '[General]\nimportPageRangeType=1\nimportPageRange=%s\n' "$RANGE" > "$work/config/Folivox/Folivox.conf"
fi
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache QT_QPA_PLATFORM=xcb
"$BIN" "$(realpath "$DOC")" >"$work/folivox.log" 2>&1 &
folivox=$!
pids+=($folivox)
"$PINGS" ping folivox 50 >"$work/pings" &
pinger=$!
pids+=($pinger)

stamp() { date +%s.%N; }
marks=()
mark() { marks+=("$(stamp) $1"); }
preview() { ls -d "$work"/data/Folivox/preview/preview-* 2>/dev/null | head -n 1; }
bookbin() { stat -c %i "$(preview)/files/book.bin" 2>/dev/null || echo none; }
pages_expected=$(pdfinfo "$DOC" 2>/dev/null | awk '/^Pages:/ {print $2}')
if [ -n "$RANGE" ]; then pages_expected=$(awk -F- -v r="$RANGE" 'BEGIN { split(r, a, "-"); print a[2] - a[1] + 1 }'); fi
# Waits until the preview's book.bin is another file than $1 and the preview
# holds $2 pages, then for the web view to load it.
wait_rebuilt() {
  local before=$1 want=$2
  until [ "$(bookbin)" != "$before" ] && [ "$(ls "$(preview)/files/page" 2>/dev/null | wc -l)" -ge "$want" ]; do
    kill -0 "$folivox" 2>/dev/null || { echo "the program ended:" >&2; cat "$work/folivox.log" >&2; exit 1; }
    sleep 0.5
  done
  sleep 15
}

# Start-up with the import sheet open on the document; a quiet moment shows
# what the machine itself costs; then Return imports.
until [ "$(bookbin)" != none ]; do sleep 0.5; done
sleep 5
mark "idle"
sleep 10
mark "import"
before=$(bookbin)
# Again until the import starts: a key may come before the sheet has the focus.
for _ in $(seq 20); do
  "$PINGS" key folivox Return
  sleep 2
  ls -d /tmp/Quireon-"$folivox"-* >/dev/null 2>&1 && break
done
wait_rebuilt "$before" "$pages_expected"
for i in $(seq "$APPLIES"); do
  mark "apply$i"
  before=$(bookbin)
  for _ in $(seq 20); do
    "$PINGS" key folivox ctrl+r
    sleep 1
    { ls -d "$(preview)"/.folivox-staging-* || [ "$(bookbin)" != "$before" ]; } >/dev/null 2>&1 && break
  done
  wait_rebuilt "$before" "$pages_expected"
done
mark "end"
sizes=$(du -sh /tmp/Quireon-"$folivox"-* "$(preview)" | awk 'NR == 1 { w = $1 } NR == 2 { p = $1 } END { print "work folder " w ", preview " p " more" }')
rss=$(awk '/VmHWM/ {print $2 / 1024 " MB"}' "/proc/$folivox/status")
kill "$pinger"
wait "$pinger" 2>/dev/null || true
if [ -n "${KEEP:-}" ]; then
  mkdir -p "$KEEP"
  cp "$work/pings" "$KEEP/pings"
  cp "$work/folivox.log" "$KEEP/stderr"
  printf '%s\n' "${marks[@]}" > "$KEEP/marks"
fi

echo "Document: $DOC, pages ${RANGE:-all} ($pages_expected), $(nproc) cores; $sizes; program peak $rss"
echo
echo "| phase | seconds | pings | slowest ms | answers over 100 ms | lost |"
echo "|---|---|---|---|---|---|"
for ((i = 0; i + 1 < ${#marks[@]}; i++)); do
  read -r from name <<<"${marks[$i]}"
  read -r to _ <<<"${marks[$((i + 1))]}"
  awk -v from="$from" -v to="$to" -v name="$name" '
    $1 >= from && $1 < to { n++; if ($2 == "lost") lost++; else { if ($2 > max) max = $2; if ($2 > 100) slow++ } }
    END { printf "| %s | %.0f | %d | %.0f | %d | %d |\n", name, to - from, n, max, slow, lost }' "$work/pings"
done
