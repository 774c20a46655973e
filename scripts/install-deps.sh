#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing kbr_dorin need.
# Idempotent: when every package is present it changes nothing and asks no mirror.
set -euo pipefail

packages=(
  # toolchain and test frameworks
  build-essential cmake pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  # the window and sound libraries of the program
  libwxgtk3.2-dev libgtk-3-dev libasound2-dev
  # the history of answers
  libsqlite3-dev
  # fonts metric-compatible with the faces the program asks for ("Times", "Courier New"):
  # both families, since the page must look alike whichever of them stands in
  fonts-liberation fonts-urw-base35 fontconfig
  # a display for the GUI tests and for `make run` on a headless machine, and screenshots
  xvfb xauth x11-utils x11-xkb-utils libx11-dev libxtst-dev imagemagick
  # what a screen reader finds: the accessibility bus and its Python client, for the at-spi dump
  at-spi2-core python3-pyatspi
  # desktops for the tests of the window on them: a window manager, a Wayland compositor
  openbox weston
  # the benchmark's desktops: compositing managers that report frames (mutter, which is
  # also a second Wayland compositor) and that report nothing (picom)
  mutter dbus-daemon picom
  # the presentation-time protocol, to learn the clock a Wayland compositor stamps input with
  libwayland-dev wayland-protocols libwayland-bin
  # the Windows build: the cross compiler, Wine to run it here, NSIS for its installer
  g++-mingw-w64-x86-64-posix wine wine64 nsis
  # packaging: icons, desktop entry and metainfo checks, the .deb
  librsvg2-bin desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
