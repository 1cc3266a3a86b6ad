#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, then configures
# and builds. Quick when everything is already in place.
#   BUILD_DIR       build folder (default build)
#   CMAKE_ARGS      extra arguments for the first configuration of that folder
#   EXTRA_PACKAGES  packages needed besides the usual ones (the fuzz build's clang)
#   BUILD_TARGETS   the targets to build, separated by blanks (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake qt6-base-dev qt6-svg-dev libqt6svg6 fonts-arphic-uming
          fonts-liberation fonts-dejavu-core qt6-translations-l10n xvfb xauth xdotool
          imagemagick x11-utils xdg-utils python3 ccache clang-format desktop-file-utils appstream lintian
          at-spi2-core python3-pyatspi dbus dbus-x11
          qt6-l10n-tools qt6-tools-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev sqlite3
          ${EXTRA_PACKAGES:-})
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir="${BUILD_DIR:-build}"
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${CMAKE_ARGS:-}
fi
cmake --build "$build_dir" -j"$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
