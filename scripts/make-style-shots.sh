#!/usr/bin/env bash
# Makes the style thumbnails: publishes the demonstration pages with every template
# and style through folivox-cli, opens each book in headless Chromium and writes a
# 400x300 screenshot of its cover (the first spread) to
# resources/AppFiles/Styles/<template>/<style>/shot.jpg.
#
#   scripts/make-style-shots.sh [BUILD_DIR] [TEMPLATE or TEMPLATE/STYLE ...]
#
# BUILD_DIR (default: build) is a configured build folder; the script brings
# folivox-cli and the template pages in it up to date first. Set PNG_DIR to also get
# full-size PNG screenshots there (for looking at them), SIZE to change the window
# (default 1200x900; the thumbnail is a third of it).
# Needs: cmake, node 20 or later, Debian's chromium (apt-get install chromium).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=build
if [ $# -gt 0 ] && [ -d "$1" ] && [ -f "$1/CMakeCache.txt" ]; then
  build=$1
  shift
fi
size=${SIZE:-1200x900}
command -v node >/dev/null || { echo "make-style-shots: node is not installed" >&2; exit 1; }
command -v chromium >/dev/null || { echo "make-style-shots: chromium is not installed (apt-get install chromium)" >&2; exit 1; }
[ -f "$build/CMakeCache.txt" ] || { echo "make-style-shots: $build is not a configured build folder" >&2; exit 1; }
cmake --build "$build" --target folivox-cli folivox_player folivox_resources >/dev/null
cli="$build/bin/folivox-cli"
node_flags=()
if [ "$(node -e 'console.log(typeof WebSocket)')" != function ]; then node_flags=(--experimental-websocket); fi

# The styles to photograph: all, or those named on the command line.
styles=()
for dir in resources/AppFiles/Styles/*/*/; do
  [ -f "$dir/tmplSetting.txt" ] || continue
  rel=${dir#resources/AppFiles/Styles/}
  rel=${rel%/}
  if [ $# -gt 0 ]; then
    keep=0
    for want in "$@"; do
      if [ "$want" = "$rel" ] || [ "$want" = "${rel%%/*}" ]; then keep=1; fi
    done
    [ $keep = 1 ] || continue
  fi
  styles+=("$rel")
done
[ ${#styles[@]} -gt 0 ] || { echo "make-style-shots: no style matches $*" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=()
pngs=()
for rel in "${styles[@]}"; do
  template=${rel%%/*}
  style=${rel#*/}
  book="$work/$template-$style"
  FOLIVOX_RESOURCES="$root/$build/share/folivox" "$cli" publish resources/DemoImgs -o "$book" \
    --template "$template" --style "$style" --title "Folivox $template $style" >/dev/null
  jobs+=("file://$book/index.html" "resources/AppFiles/Styles/$rel/shot.jpg")
  if [ -n "${PNG_DIR:-}" ]; then
    mkdir -p "$PNG_DIR"
    pngs+=("file://$book/index.html" "$PNG_DIR/$template-$style.png")
  fi
done

node "${node_flags[@]}" scripts/style-shots.js --size "$size" --scale 0.3333333 "${jobs[@]}"
if [ ${#pngs[@]} -gt 0 ]; then
  node "${node_flags[@]}" scripts/style-shots.js --size "$size" --scale 1 "${pngs[@]}"
fi
