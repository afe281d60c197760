#!/usr/bin/env bash
# Exports small books as EPUB with folivox-cli (a PDF with links and bookmarks, the
# same pages turned, a folder of pictures, a text document with hostile text) and
# runs epubcheck on each: every one must give no error and no warning.
# Exits 77 (skipped) when epubcheck or java is missing.
# Usage: epubcheck.sh FOLIVOX-CLI RESOURCE-FOLDER
set -u
cli=$1
res=$2
jar=$(ls /usr/share/java/epubcheck.jar 2>/dev/null)
if [ -z "$jar" ] || ! command -v java >/dev/null 2>&1; then
  echo "epubcheck is not installed (Debian: epubcheck); skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config TMPDIR=$work
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"

printf 'A text document.\n\n<b>not markup</b> ]]> &amp; \001\037 control\n' > "$work/doc.txt"
inputs=("$res/Folivox Manual.pdf|--range 1-4 --links --bookmarks" "$res/DemoImgs|" "$work/doc.txt|")
if command -v qpdf >/dev/null 2>&1; then
  qpdf "$res/Folivox Manual.pdf" --pages . 1-2 -- --rotate=+90 "$work/turned.pdf"
  inputs+=("$work/turned.pdf|")
fi

bad=0
n=0
for entry in "${inputs[@]}"; do
  input=${entry%%|*}
  options=${entry#*|}
  n=$((n + 1))
  # shellcheck disable=SC2086 # the options are words
  if ! "$cli" publish "$input" --format epub -o "$work/$n.epub" $options >"$work/$n.log" 2>&1; then
    echo "FAIL: export of $input"; cat "$work/$n.log"; bad=1; continue
  fi
  out=$(java -jar "$jar" "$work/$n.epub" 2>&1)
  if echo "$out" | grep -q 'No errors or warnings detected'; then
    echo "ok: $input"
  else
    echo "FAIL: epubcheck on the EPUB of $input"; echo "$out"; bad=1
  fi
done
exit $bad
