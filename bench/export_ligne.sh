#!/usr/bin/env bash
# Times the export of the demo film to AVI, for each codec: `vialume export --avi` in one step
# against the two-step way (`vialume export --bmps`, then the ffmpeg command-line tool on the
# bitmaps with the same codec). Prints a table: frames per second and peak memory of each way.
# Run by hand: bash bench/export_ligne.sh [CARTE]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
EXE=$BUILD/src/vialume
CARTE=${1:-examples/demo/carte.bmp}
command -v ffmpeg >/dev/null || { echo "ffmpeg absent (paquet Debian ffmpeg)"; exit 1; }
export QT_QPA_PLATFORM=offscreen

TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

json=$("$EXE" info "$CARTE" --json)
N=$(sed -n 's/.*"derniere_image": \([0-9]*\).*/\1/p' <<<"$json")
R=$(sed -n 's/.*"ips_video": \([0-9]*\).*/\1/p' <<<"$json")

# ffmpeg's options for the codec the program writes with its default settings.
ffcodec() {
    case $1 in
    rgb) echo "-c:v rawvideo -pix_fmt bgr24" ;;
    mjpeg) echo "-c:v mjpeg -pix_fmt yuvj420p -q:v 3" ;;
    ffv1) echo "-c:v ffv1" ;;
    huffyuv) echo "-c:v huffyuv" ;;
    utvideo) echo "-c:v utvideo" ;;
    mpeg4) echo "-c:v mpeg4 -b:v 5000k -g 1" ;;
    h264) echo "-c:v libx264 -b:v 5000k -g 1" ;;
    esac
}

# Runs a command under /usr/bin/time -v; prints "wall-seconds cpu-seconds kilobytes".
mesure() {
    /usr/bin/time -v -o "$TMP/time" "$@" >/dev/null 2>&1
    local s c k
    s=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$TMP/time" |
        awk -F: '{ t = 0; for (i = 1; i <= NF; i++) t = t * 60 + $i; print t }')
    c=$(awk -F': ' '/User time|System time/ { t += $2 } END { print t }' "$TMP/time")
    k=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$TMP/time")
    echo "$s $c $k"
}

echo "Film : $CARTE, images 0 à $N à $R images/seconde ($(nproc) coeurs)"
echo "Temps réel (processeur) ; mémoire = pic de mémoire résidente"
echo
echo "| codec | vialume export --avi | export --bmps + ffmpeg | rapport |"
echo "|---|---|---|---|"
for c in rgb mjpeg ffv1 huffyuv utvideo mpeg4 h264; do
    read -r s1 c1 k1 < <(mesure "$EXE" export "$CARTE" --avi "$TMP/un.avi" --codec "$c")
    rm -f "$TMP/un.avi"
    mkdir -p "$TMP/bmp"
    read -r s2 c2 k2 < <(mesure "$EXE" export "$CARTE" --bmps "$TMP/bmp/img")
    # shellcheck disable=SC2046
    read -r s3 c3 k3 < <(mesure ffmpeg -v error -y -framerate "$R" -start_number 1 -i "$TMP/bmp/img%04d.bmp" $(ffcodec "$c") "$TMP/deux.avi")
    rm -rf "$TMP/bmp" "$TMP/deux.avi"
    awk -v c="$c" -v n="$N" -v s1="$s1" -v c1="$c1" -v k1="$k1" -v s2="$s2" -v c2="$c2" \
        -v k2="$k2" -v s3="$s3" -v c3="$c3" -v k3="$k3" 'BEGIN {
        un = (n + 1) / s1; deux = n / (s2 + s3); km = (k2 > k3 ? k2 : k3)
        printf "| %s | %.1f img/s en %.1f s (%.1f s), %.0f Mo | %.1f img/s en %.1f + %.1f s (%.1f + %.1f s), %.0f Mo | %.2f x |\n",
               c, un, s1, c1, k1 / 1024, deux, s2, s3, c2, c3, km / 1024, un / deux }'
done
