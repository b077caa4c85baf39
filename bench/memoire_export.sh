#!/usr/bin/env bash
# Peak memory and time of `vialume export` on the largest project the tables hold (an
# 8000 x 6000 map, a route of 36001 points, 2901 frames with the tip, the legend and the
# magnifier), made by tools/fabriquegrand. Run by hand: bash bench/memoire_export.sh [DOSSIER]
# The project (about 145 MB) and the films go to DOSSIER, /dev/shm by default.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
EXE=$BUILD/src/vialume
export QT_QPA_PLATFORM=offscreen

TMP=$(mktemp -d "${1:-/dev/shm}/vialume-grand-XXXXXX")
trap 'rm -rf "$TMP"' EXIT
"$BUILD/tools/fabriquegrand" "$TMP/projet"
CARTE=$TMP/projet/carte.bmp

# Runs a command under /usr/bin/time -v; prints "wall-seconds kilobytes".
mesure() {
    /usr/bin/time -v -o "$TMP/time" "$@" >/dev/null 2>&1 || { cat "$TMP/time" >&2; exit 1; }
    local s k
    s=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$TMP/time" |
        awk -F: '{ t = 0; for (i = 1; i <= NF; i++) t = t * 60 + $i; print t }')
    k=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$TMP/time")
    echo "$s $k"
}

echo "Projet : 8000 x 6000, 36001 points, images 0 à 2900 ($(nproc) coeurs)"
echo
echo "| commande | temps | img/s | pic de mémoire |"
echo "|---|---|---|---|"
ligne() {
    local nom=$1 n=$2
    shift 2
    read -r s k < <(mesure "$@")
    awk -v nom="$nom" -v n="$n" -v s="$s" -v k="$k" \
        'BEGIN { printf "| %s | %.1f s | %.0f | %.0f Mo |\n", nom, s, n / s, k / 1024 }'
}
ligne "info" 1 "$EXE" info "$CARTE"
ligne "export --bmp (image 0)" 1 "$EXE" export "$CARTE" --bmp "$TMP/un.bmp"
for c in rgb mjpeg h264; do
    ligne "export --avi --codec $c" 2901 "$EXE" export "$CARTE" --avi "$TMP/film.avi" --codec "$c"
    rm -f "$TMP/film.avi"
done
mkdir -p "$TMP/bmp"
ligne "export --bmps" 2900 "$EXE" export "$CARTE" --bmps "$TMP/bmp/img"
