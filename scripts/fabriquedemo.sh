#!/usr/bin/env bash
# Makes the demo project examples/demo again: the map and the magnifier pictures, the route and
# the word traced with `vialume trace`, then the keyframes and decorations. Takes a few seconds
# once the program is built; the result is committed, so nothing else needs to run this.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
DEMO=examples/demo

[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target vialume fabriquedemo >/dev/null

export QT_QPA_PLATFORM=offscreen
mkdir -p "$DEMO"
rm -f "$DEMO/carte.vlp"
# One line per run of the tracer: the start pixel and the colour of the route in the film; the
# first line starts the route, the others continue it (the letters of the word).
suite=()
while read -r depuis couleur; do
    "$BUILD/src/vialume" trace "$DEMO/carte.bmp" --depuis "$depuis" --couleur "$couleur" "${suite[@]}"
    suite=(--suite)
done < <("$BUILD/tools/fabriquedemo" carte "$DEMO")
"$BUILD/tools/fabriquedemo" film "$DEMO"
"$BUILD/src/vialume" info "$DEMO/carte.bmp"
