#!/usr/bin/env bash
# Starts the desktop program, or, where there is no display, does its main job
# headless with the command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/folivox" "$@"
fi
echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running headless instead."
echo "Installed templates and styles:"
"$bin/folivox-cli" templates
