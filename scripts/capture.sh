#!/usr/bin/env bash
# Makes docs/fenetre.png, the README's picture of the window on the demo project: the program
# runs under Xvfb, the parameters-file question is answered "Oui", the time line is moved to the
# middle of the film, and the window is cut out of a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
if [ "${1:-}" != --dedans ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --dedans
fi

unset QT_QPA_PLATFORM
EXE=$(realpath "$BUILD/src/vialume")
# The project names its pictures without a folder: they are beside the map.
(cd examples/demo && exec "$EXE" carte.bmp) &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# The question comes once the window is up.
question=$(xdotool search --sync --name '^Confirmation$' | head -1)
xdotool windowfocus --sync "$question" key --clearmodifiers alt+o
sleep 1
# The window: the largest one of the program.
fenetre=$(for w in $(xdotool search --onlyvisible --pid "$pid"); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$((WIDTH * HEIGHT)) $w"
done | sort -n | tail -1 | cut -d' ' -f2)
eval "$(xdotool getwindowgeometry --shell "$fenetre")"
# The time line (client place 740, 144, 190 wide): focus it, then step by pages to frame 120.
xdotool mousemove --window "$fenetre" 745 160 click 1
xdotool key --clearmodifiers End
for _ in $(seq 13); do xdotool key Page_Down; done
sleep 1
mkdir -p docs
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/fenetre.png
echo "docs/fenetre.png : ${WIDTH}x${HEIGHT}"
