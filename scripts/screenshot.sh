#!/usr/bin/env bash
# Takes a picture of the desktop program's main window under a virtual X
# server, after the preview book has loaded.
#
#   scripts/screenshot.sh OUT.png [DOCUMENT] [more folivox options, e.g. --page 3]
#
# With DOCUMENT (PDF, text or RTF) the document is imported through the import
# sheet first; without it the window shows the demonstration book. The run has
# its own settings and data folders, so it leaves the user's untouched.
# Environment: FOLIVOX_BIN (default build/bin/folivox), SIZE (default 1440x900),
# LANGUAGE (de, fr, es: the window in that language; default English).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 1 ]; then
  echo "usage: $0 OUT.png [DOCUMENT] [folivox options]" >&2
  exit 2
fi
out=$(realpath -m "$1")
shift
doc=""
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then
  doc=$(realpath -e "$1") || { echo "$1: no such document" >&2; exit 1; }
  shift
fi
bin=${FOLIVOX_BIN:-build/bin/folivox}
size=${SIZE:-1440x900}
command -v Xvfb >/dev/null || { echo "Xvfb is not installed (Debian package xvfb)" >&2; exit 1; }
[ -x "$bin" ] || { echo "$bin not found: build the program first" >&2; exit 1; }

# A free display number.
n=99
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done

work=$(mktemp -d)
Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do
  [ -e "/tmp/.X11-unix/X$n" ] && break
  sleep 0.1
done

mkdir -p "$work/config" "$work/data" "$work/cache"
args=(--screenshot "$out")
[ -n "$doc" ] && args+=(--import "$doc")
DISPLAY=":$n" QT_QPA_PLATFORM=xcb LANGUAGE="${LANGUAGE:-en}" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_CACHE_HOME="$work/cache" "$bin" "${args[@]}" "$@"
