#!/usr/bin/env bash
# Installs every Debian package Lexora needs to build, test, run and make its sample course.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config clang-format
  clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libsdl2-dev
  libsqlcipher-dev sqlcipher libssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-noto-color-emoji fonts-dejavu-core fonts-liberation2 fonts-wqy-microhei
  flite sox espeak-ng unicode-cldr-core libicu-dev
  libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us flite1-dev
  xvfb xdotool imagemagick x11-utils dbus-daemon
  at-spi2-core python3-gi gir1.2-atspi-2.0
  dpkg-dev file desktop-file-utils appstream lintian man-db
  poppler-utils
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq >/dev/null
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
