#!/usr/bin/env bash
# Starts the desktop program, or, where there is no display, does its main job
# headless with the command-line tool: publishes the demonstration book.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/folivox" "$@"
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): publishing the demonstration book headless instead."
out="$PWD/build/demo-book"
"$bin/folivox-cli" publish build/share/folivox/DemoImgs -o "$out" --title "Folivox demonstration" >/dev/null
echo "The book is in $out; open $out/index.html in a web browser."
