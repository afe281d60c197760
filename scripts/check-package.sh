#!/usr/bin/env bash
# Checks a built Folivox Debian package as a user would meet it: its control
# fields, its files, the desktop entry, the AppStream data, the manual pages, and
# that both programs run from the unpacked tree with the resources it installs.
#   scripts/check-package.sh build/package/folivox_*.deb
set -euo pipefail

deb=${1:?usage: check-package.sh FOLIVOX.deb}
[ -f "$deb" ] || { echo "check-package: no package at $deb" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "check-package: $*" >&2; failures=$((failures + 1)); }
has_line() { grep -qxF -- "$1" <<<"$2"; }

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = folivox ] || fail "package name is '$(field Package)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture is '$(field Architecture)'"
version=$(field Version)
depends=$(field Depends)
for dep in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6webenginewidgets6 libqt6webenginecore6-bin \
           libturbojpeg0 libpugixml1v5 libxml2 zlib1g fonts-dejavu-core; do
  grep -qE "(^|, )$dep( |,|$)" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

# Files: both programs, the resource folder, desktop integration, manual pages.
files=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s|^\./|/|; s|/$||')
for f in /usr/bin/folivox /usr/bin/folivox-cli \
         /usr/share/folivox/logging.properties /usr/share/folivox/DemoImgs/page-01.jpg \
         /usr/share/folivox/AppFiles/Templates/float/flashTemplate.xml \
         /usr/share/folivox/AppFiles/Templates/float/index.html "/usr/share/folivox/Folivox Manual.pdf" \
         /usr/share/applications/folivox.desktop /usr/share/icons/hicolor/256x256/apps/folivox.png \
         /usr/share/metainfo/org.folivox.folivox.metainfo.xml \
         /usr/share/man/man1/folivox.1.gz /usr/share/man/man1/folivox-cli.1.gz \
         /usr/share/doc/folivox/copyright /usr/share/doc/folivox/changelog.gz; do
  has_line "$f" "$files" || fail "the package lacks $f"
done
outside=$(grep -vE '^(/|/usr(/.*)?)$' <<<"$files" || true)
[ -z "$outside" ] && [ -n "$files" ] || fail "files outside /usr: $outside"
owners=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
[ -z "$owners" ] || fail "files not owned by root: $owners"

root=$work/root
dpkg-deb -x "$deb" "$root"

# Desktop entry and AppStream data.
desktop=$root/usr/share/applications/folivox.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
grep -qx 'Exec=folivox %f' "$desktop" || fail "the desktop entry does not pass a file to the program"
for type in application/pdf text/plain application/rtf; do
  grep -q "^MimeType=.*$type;" "$desktop" || fail "the desktop entry does not open $type"
done
# Offered for these documents, never made their default: no list of defaults,
# no preference over the programs already there.
defaults=$(dpkg-deb -c "$deb" | grep -E '(mimeapps|defaults)\.list$' || true)
[ -z "$defaults" ] || fail "the package sets default applications: $defaults"
! grep -qE '^(X-KDE-)?InitialPreference=' "$desktop" || fail "the desktop entry asks to be preferred"
dpkg-deb -e "$deb" "$work/control"
! grep -qsE 'xdg-mime|mimeapps' "$work/control/"* || fail "the package's scripts set default applications"
metainfo=$root/usr/share/metainfo/org.folivox.folivox.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
[ "$(dpkg-parsechangelog -l "$root/usr/share/doc/folivox/changelog.gz" -S Version)" = "$version" ] \
  || fail "the changelog's newest entry is not $version"

# The programs run from the unpacked tree, with its resources and nothing else.
run() {
  env -u FOLIVOX_RESOURCES HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
      XDG_DATA_HOME="$work/home/.local/share" XDG_RUNTIME_DIR="$work/home" QT_QPA_PLATFORM=offscreen "$@"
}
mkdir -p -m 0700 "$work/home"
cli=$root/usr/bin/folivox-cli
[ "$(run "$cli" --version)" = "folivox-cli $version" ] || fail "folivox-cli --version does not say $version"
[ "$(run "$root/usr/bin/folivox" --version 2>/dev/null)" = "Folivox $version" ] || fail "folivox --version does not say $version"
# Commands are the entries indented by two spaces; their descriptions may run on below.
commands=$(run "$cli" --help | awk '/^Commands:/ {on = 1; next} /^$/ {on = 0} on && /^  [a-z]/ {print $1}') || commands=""
[ -n "$commands" ] || fail "folivox-cli --help lists no commands"
# Manual pages as plain option names: roff writes "-" as "\-".
manpage() { gzip -dc "$root/usr/share/man/man1/$1.1.gz" | sed 's/\\-/-/g'; }
page=$(manpage folivox-cli 2>/dev/null) || page=""
for command in $commands; do
  help=$(run "$cli" "$command" --help) || fail "folivox-cli $command --help fails"
  [ "$(run "$cli" "$command" --version)" = "folivox-cli $version" ] || fail "folivox-cli $command --version"
  grep -q "^\.SS $command$" <<<"$page" || fail "the manual page lacks the command $command"
  for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
    grep -qF -- "$option" <<<"$page" || fail "the manual page lacks $command $option"
  done
done
gui_page=$(manpage folivox 2>/dev/null) || gui_page=""
for option in $(run "$root/usr/bin/folivox" --help 2>/dev/null | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
  grep -qF -- "$option" <<<"$gui_page" || fail "the manual page of folivox lacks $option"
done
if command -v man >/dev/null; then
  for p in folivox folivox-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$p.1.gz" 2>&1 >/dev/null) || true
    [ -z "$warnings" ] || fail "man warns about $p.1: $warnings"
  done
fi

templates=$(run "$cli" templates) || fail "folivox-cli templates fails from the unpacked tree"
grep -q '^float' <<<"$templates" || fail "folivox-cli templates does not list float: $templates"
book=$work/book
out=$(run "$cli" publish "$root/usr/share/folivox/DemoImgs" -o "$book" --title Demo) || fail "publish fails"
[ "$out" = "$book/index.html" ] || fail "publish printed '$out'"
xml=$(run "$cli" inspect "$book") || fail "inspect fails on the published book"
grep -q 'count="6"' <<<"$xml" || fail "inspect does not read the published book"
# A batch runs its publishes as children of the same program.
printf '%s --title Demo\n' "$root/usr/share/folivox/DemoImgs" > "$work/list.txt"
report=$(run "$cli" batch "$work/list.txt" -o "$work/books" --json) || fail "batch fails: $report"
grep -q '"pages":6,.*"status":"ok"' <<<"$report" || fail "batch did not publish the demonstration pages: $report"

# Without its resources the installed program says where they belong; it never
# falls back on the source tree it was built from.
mv "$root/usr/share/folivox" "$root/usr/share/folivox.away"
if [ ! -d /usr/local/share/folivox/AppFiles ]; then
  if message=$(run "$cli" templates 2>&1); then
    fail "folivox-cli templates found templates without its resource folder: $message"
  elif ! grep -qF "$root/usr/share/folivox/" <<<"$message"; then
    fail "without resources, folivox-cli names another folder: $message"
  fi
fi
mv "$root/usr/share/folivox.away" "$root/usr/share/folivox"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" \
    || fail "lintian reports errors"
fi

if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures problem(s) in $deb" >&2
  exit 1
fi
echo "check-package: $deb is complete ($(wc -l <<<"$files") entries, Depends: $depends)"
