#!/usr/bin/env bash
# Prints the user manual, docs/manual.html, to "resources/Folivox Manual.pdf" with
# headless Chromium. The PDF gets bookmarks from the headings and links from the
# contents, so it also serves as a test document for importing links and bookmarks.
#
#   scripts/make-manual.sh [OUT.pdf]
#
# Needs: Debian's chromium, and the DejaVu fonts (fonts-dejavu-core) that the manual
# names, so that every machine prints the same pages. The pictures in the manual are
# the style screenshots: run scripts/make-style-shots.sh first when they change.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-resources/Folivox Manual.pdf}
command -v chromium >/dev/null || { echo "make-manual: chromium is not installed (apt-get install chromium)" >&2; exit 1; }
# grep -q stops reading at the first match, and fc-list then dies of SIGPIPE: under
# pipefail that would read as "missing", so let grep read everything.
fc-list | grep DejaVuSerif >/dev/null || { echo "make-manual: the DejaVu fonts are missing (apt-get install fonts-dejavu-core)" >&2; exit 1; }

profile=$(mktemp -d)
tmp=$(mktemp --suffix=.pdf)
trap 'rm -rf "$profile" "$tmp"' EXIT
chromium --headless --no-sandbox --disable-gpu --disable-background-networking --disable-component-update \
  --disable-sync --no-first-run --user-data-dir="$profile" --allow-file-access-from-files \
  --no-pdf-header-footer --generate-pdf-document-outline --print-to-pdf="$tmp" \
  "file://$(pwd)/docs/manual.html" 2>/dev/null
[ -s "$tmp" ] || { echo "make-manual: chromium wrote no PDF" >&2; exit 1; }
mv "$tmp" "$out"
trap 'rm -rf "$profile"' EXIT
echo "$out"
