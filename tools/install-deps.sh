#!/usr/bin/env bash
# Installs every Debian 12 package Tenvoria needs to build, run, test and benchmark.
# Runs as root, or through sudo when started by another user.
set -euo pipefail
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)

packages=(
  # build
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev zlib1g-dev libfontconfig-dev libqpdf-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev libsodium-dev
  # the windows' translations: lupdate and lrelease, and Qt's own catalogues for its dialogs
  qt6-l10n-tools qt6-translations-l10n
  # fonts the form is drawn with: Tahoma metrics, Arial metrics, CJK and emoji glyphs
  fonts-wine fonts-liberation2 fonts-noto-cjk fonts-noto-color-emoji fontconfig
  # every other script people write their names in (Indic, Southeast Asian, African, ...)
  fonts-noto-core fonts-noto-extra
  # the desktop's opener the maker's home page is handed to
  xdg-utils
  # headless runs, screenshots and interop checks
  xvfb xauth imagemagick xdotool x11-utils
  # reading the windows as a screen reader does (AT-SPI), by hand
  at-spi2-core python3-pyatspi
  libreoffice-writer-nogui poppler-utils antiword catdoc python3-olefile wv
  # fault, durability and sanitizer checks; fuzzing
  strace clang llvm libclang-rt-14-dev libfuzzer-14-dev
  # printing through a real print system, PDF checks
  cups printer-driver-cups-pdf qpdf
  # fillers of the fillable PDF that are not ours
  pdftk-java python3-pypdf mupdf-tools python3-poppler-qt5
  # the Debian package and its checks
  dpkg-dev lintian desktop-file-utils appstream
)
if [ "${1:-}" = "--runtime-only" ]; then
  packages=(qt6-base-dev qt6-translations-l10n libqpdf-dev libsodium23 fonts-wine fonts-liberation2 fonts-noto-cjk fonts-noto-color-emoji
            fonts-noto-core fonts-noto-extra xdg-utils)
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}"
