#!/usr/bin/env bash
# Checks every #include "folder/..." in src/ against a table of allowed folder-to-folder
# edges (base <- zip, import, templates <- publish <- session <- app, cli; the gui/
# folders sit beside app/), and that widgets live only in app/ and the gui/ folders.
# Prints each offending line and fails when there is one.
# Usage: check_layers.sh [SRC_DIR]   (default: the repository's src/)
set -u
cd "${1:-$(dirname "$0")/../../src}" || exit 2

# What each folder may include besides itself. "gui" stands for every */gui folder.
core="base zip import templates publish session"
declare -A allowed=(
  [base]=""
  [zip]="base"
  [import]="base"
  [templates]="base"
  [publish]="base zip import templates"
  [session]="base zip import templates publish"
  [gui]="$core gui"
  [app]="$core gui"
  [cli]="$core"
)

bad=0
report() { echo "layering: $1"; bad=1; }

while IFS= read -r file; do
  from=${file%/*}
  [[ $from == */gui ]] && from=gui
  if [[ ! -v allowed[$from] ]]; then
    report "$file: folder ${file%/*} is not in the layer table (tests/scripts/check_layers.sh)"
    continue
  fi
  while IFS=: read -r line target; do
    to=${target%%/*}
    rest=${target#*/}
    [[ $rest == gui/* ]] && to=gui
    [[ $to == "$from" ]] && continue
    [[ " ${allowed[$from]} " == *" $to "* ]] && continue
    report "$file:$line: ${file%/*} may not include \"$target\""
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(find . -mindepth 2 \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort)

# Widgets and the web engine only where the window is made.
grep -rnE '#include <(QtWidgets|QtWebEngine[A-Za-z]*)/|#include <Q(Widget|Dialog|MainWindow|Application)>' \
  base zip import templates publish session cli --include='*.h' --include='*.cpp' | grep -v '/gui/' |
  while IFS= read -r line; do echo "layering: $line"; exit 1; done || bad=1
exit $bad
