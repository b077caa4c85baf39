#!/usr/bin/env bash
# Installs what is needed (Debian 12), builds, and opens the demo project in the window. Without
# a display it exports the demo film (1080p, H.264) to out/demo.mp4 instead and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the program: the tests and benchmarks are built by scripts/tests.sh, in the same folder.
CIBLES=vialume bash scripts/setup.sh
CARTE=examples/demo/carte.bmp
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    mkdir -p out
    build/src/vialume export "$CARTE" --film out/demo.mp4
    echo "Pas d'écran : le film de la démonstration est dans $(pwd)/out/demo.mp4"
    exit 0
fi
# The project names its pictures without a folder: they are beside the map.
cd examples/demo
exec ../../build/src/vialume carte.bmp
