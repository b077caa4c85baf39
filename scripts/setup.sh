#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (only those missing), then configures
# and builds into build/. Safe to run again. CIBLES names the targets to build (all by default):
# the demo builds the program alone, so its first run does not wait for the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

PAQUETS=(build-essential cmake pkg-config qt6-base-dev libgl-dev fonts-liberation
         qt6-translations-l10n libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
         libopencv-photo-dev libgdal-dev libproj-dev libgeographiclib-dev
         libbenchmark-dev fonts-dejavu-core xvfb xauth imagemagick ffmpeg xdotool)
manque=()
for p in "${PAQUETS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || manque+=("$p")
done
if [ ${#manque[@]} -gt 0 ]; then
    echo "Installation de : ${manque[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${manque[@]}"
fi

BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} ${CMAKE_ARGS:-} >/dev/null
if [ -n "${CIBLES:-}" ]; then
    # shellcheck disable=SC2086 # a list of target names
    cmake --build "$BUILD" -j"$(nproc)" --target ${CIBLES}
else
    cmake --build "$BUILD" -j"$(nproc)"
fi
