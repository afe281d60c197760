#!/usr/bin/env bash
# Proves that check_layers.sh fails on includes against the layer direction: each
# wrong include goes into a copy of src/ and must be named in the report.
set -u
here=$(dirname "$0")
src=$here/../../src
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
for edge in zip/ZKBytes.cpp:publish/RC4.h import/FlashPage.cpp:publish/RC4.h \
            templates/StringUtil.cpp:import/FlashPage.h cli/main.cpp:app/AppDelegate.h \
            session/BookSession.cpp:import/gui/ImportWindowDelegate.h; do
  file=${edge%%:*} include=${edge#*:}
  rm -rf "$tmp/src" && cp -r "$src" "$tmp/src"
  echo "#include \"$include\"" >> "$tmp/src/$file"
  if out=$("$here/check_layers.sh" "$tmp/src") || [[ $out != *"$file"*"$include"* ]]; then
    echo "not caught: $file including $include"; status=1
  fi
done
exit $status
