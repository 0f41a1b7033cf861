#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing
# Kestrel Radio needs. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  # build; ccache and lld keep builds short and are used whenever they are installed
  cmake ninja-build g++ pkg-config clang libclang-rt-14-dev ccache lld
  # the sources' format, checked by scripts/test.sh
  clang-format git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6opengl6-dev libgl-dev
  qt6-webengine-dev qt6-webengine-dev-tools
  libmpv-dev libcurl4-openssl-dev libssl-dev libcpp-httplib-dev
  # the song history (SQLite through Qt SQL) and the saved songs' tags
  libqt6sql6-sqlite libtag1-dev
  libxcb1-dev libxcb-keysyms1-dev libx11-xcb-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # the station server: Radio Browser import (JSON), gzipped station list
  nlohmann-json3-dev zlib1g-dev
  # X keysym names for the global hot keys
  x11proto-dev
  # the download dialog's handwriting face
  fonts-comic-neue
  # the demo catalogue's Japanese and other East Asian channel names
  fonts-droid-fallback
  # demo media for the station server
  espeak-ng sox ffmpeg
  # tests on a private display with a private sound server
  xvfb xauth x11-utils xdotool pulseaudio pulseaudio-utils imagemagick systemd
  # Wayland sessions: Qt's platform plug-in, and a compositor for the tests
  qt6-wayland weston
  # packaging checks
  desktop-file-utils appstream dpkg-dev file
  # a notification area, a session bus and the desktop's launcher for the tray tests
  trayer dbus libglib2.0-bin
  # benchmarks, and the players they measure the program against
  mpv wrk curl goodvibes
  # peak memory of a run (GNU time), for the station server's import benchmark
  time
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get -o DPkg::Lock::Timeout=600 update -q
$sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
