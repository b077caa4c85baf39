#!/usr/bin/env bash
# Times the export of a replay film to MP4 (H.264) against the encoder alone, as
# bench/export_ligne.sh does for the AVI codecs: `vialume export --film` in one step, then the
# ffmpeg command-line tool on the film's frames already written as bitmaps, with the settings the
# program uses (CRF 20, preset medium, a key frame every two seconds). The frames of a replay
# cost more to compose than a route's; the ratio says whether the export keeps up with x264.
# Run by hand after scripts/demoreplay.sh: bash bench/export_rejeu.sh [CARTE]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
EXE=$(realpath "$BUILD/src/vialume")
CARTE=$(realpath "${1:-out/demoreplay/carte.bmp}")
command -v ffmpeg >/dev/null || { echo "ffmpeg absent (paquet Debian ffmpeg)"; exit 1; }
export QT_QPA_PLATFORM=offscreen

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
json=$("$EXE" info "$CARTE" --json)
N=$(sed -n 's/.*"derniere_image": \([0-9]*\).*/\1/p' <<<"$json")
R=$(sed -n 's/.*"ips_video": \([0-9]*\).*/\1/p' <<<"$json")

secondes() { # wall seconds of a command
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }'
}

s1=$(secondes "$EXE" export "$CARTE" --film "$TMP/un.mp4")
mkdir -p "$TMP/bmp"
"$EXE" export "$CARTE" --bmps "$TMP/bmp/img" >/dev/null 2>&1
s2=$(secondes ffmpeg -v error -y -framerate "$R" -start_number 1 -i "$TMP/bmp/img%04d.bmp" \
    -c:v libx264 -crf 20 -preset medium -g $((2 * R)) -pix_fmt yuv420p "$TMP/deux.mp4")
echo "Rejeu : $CARTE, images 0 à $N à $R images/seconde ($(nproc) coeurs)"
awk -v n="$N" -v s1="$s1" -v s2="$s2" 'BEGIN {
    un = (n + 1) / s1; deux = n / s2
    printf "vialume export --film : %.1f img/s (%.1f s)\nx264 seul sur les images : %.1f img/s (%.1f s)\nrapport : %.2f x\n",
           un, s1, deux, s2, un / deux }'
