#!/usr/bin/env bash
# Installs the Debian 12 packages Folivox needs to build, run and test.
# Does nothing when everything is already present. Works as root or through sudo.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-14 libclang-rt-14-dev libfuzzer-14-dev
  # Qt 6 (core, gui, widgets, test, web engine)
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools
  libqt6opengl6-dev libgl-dev
  # translations: lupdate and lrelease, their CMake functions, Qt's own texts in every language
  qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
  # MuPDF and its static-link companions, JPEG
  libmupdf-dev libfreetype-dev libharfbuzz-dev libjbig2dec0-dev libopenjp2-7-dev
  libgumbo-dev libmujs-dev libjpeg-dev libturbojpeg0-dev
  # WebP pages (encoding, and reading them back in Qt)
  libwebp-dev qt6-image-formats-plugins
  # XML, zlib
  libpugixml-dev libxml2-dev zlib1g-dev
  # running headless, fonts, checking results; the browsers the player's tests drive
  xvfb xauth fonts-dejavu-core unzip python3 poppler-utils mupdf-tools nodejs chromium firefox-esr
  # checking EPUB exports (tests/scripts/epubcheck.sh); qpdf turns pages for it
  epubcheck qpdf
  # minifying the player at build time
  esbuild
  # the format check of changed C++ files (tests/scripts/check_format.sh, scripts/format.sh)
  clang-format
  # make package: dependencies of the binaries, checks of the package, desktop entry and AppStream data
  dpkg-dev lintian desktop-file-utils appstream
  # bench/window_bench.sh: a window manager to answer to, and bench/window_pings
  openbox libxcb1-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# npm comes with some builds of node; Debian's own is a package of its own.
command -v npm >/dev/null 2>&1 || missing+=(npm)

# What the player's tests need (axe-core, ESLint), as locked in player/package-lock.json;
# installed again whenever the lock file differs from the one last installed.
player_packages() {
  local player
  player="$(cd "$(dirname "$0")/.." && pwd)/player"
  if ! cmp -s "$player/package-lock.json" "$player/node_modules/.folivox-installed-lock.json"; then
    echo "install-deps: installing the player's test packages (npm ci)" >&2
    npm ci --prefix "$player" --ignore-scripts --no-audit --no-fund >/dev/null
    cp "$player/package-lock.json" "$player/node_modules/.folivox-installed-lock.json"
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  player_packages
  exit 0
fi

echo "install-deps: installing ${missing[*]}" >&2
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
  else
    echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
# Wait up to ten minutes for another apt (an unattended upgrade) instead of failing at once.
APT_WAIT=(-o DPkg::Lock::Timeout=600)
$SUDO apt-get "${APT_WAIT[@]}" update -qq
$SUDO apt-get "${APT_WAIT[@]}" install -y -qq --no-install-recommends "${missing[@]}"
player_packages
