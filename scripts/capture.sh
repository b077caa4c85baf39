#!/usr/bin/env bash
# Makes the pictures of the window in docs/, in English, on a 1920 x 1080 screen under Xvfb, with
# the demo project (its parameters-file question answered "Yes"):
#   docs/fenetre.png  the window filling the screen, the time line at frame 120 (the README's);
#   docs/loupe.png    the same while a trace waits for its start click: the magnifier under the
#                     cross-hair on the painted route.
# The window has no frame under Xvfb (no window manager): it is sized to the whole screen.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
if [ "${1:-}" != --dedans ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" --dedans
fi

unset QT_QPA_PLATFORM
EXE=$(realpath "$BUILD/src/vialume")
# A settings folder of its own (no size kept from another run) and English chosen in the program's
# folder, as the language list does; the choice there before is put back at the end.
config=$(mktemp -d)
export XDG_CONFIG_HOME=$config
ini=$(dirname "$EXE")/langue.ini
avant=$(mktemp)
[ -f "$ini" ] && cp "$ini" "$avant" || rm -f "$avant"
printf '3\r\n' >"$ini"
demo=$(mktemp -d)
cp examples/demo/* "$demo"
nettoie() {
    kill "${pid:-0}" 2>/dev/null || true
    if [ -f "$avant" ]; then mv "$avant" "$ini"; else rm -f "$ini"; fi
    rm -rf "$config" "$demo"
}
trap nettoie EXIT

# The project names its pictures without a folder: they are beside the map.
(cd "$demo" && exec "$EXE" carte.bmp) &
pid=$!

# The question comes once the window is up.
question=$(xdotool search --sync --name '^Confirmation$' | head -1)
xdotool windowfocus --sync "$question" key --clearmodifiers Return
sleep 1
# The window: the largest one of the program.
fenetre=$(for w in $(xdotool search --onlyvisible --pid "$pid"); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$((WIDTH * HEIGHT)) $w"
done | sort -n | tail -1 | cut -d' ' -f2)
xdotool windowsize "$fenetre" 1920 1080 windowmove "$fenetre" 0 0
sleep 1
# The panel keeps its first places, shifted to the right edge by 1920 - 937.
d=983
# The time line (first place 740, 144, 190 wide): focus it, then step by pages to frame 120.
xdotool mousemove $((745 + d)) 168 click 1
xdotool key --clearmodifiers End
for _ in $(seq 13); do xdotool key Page_Down; done
sleep 1
mkdir -p docs
xdotool mousemove 700 560
sleep 0.5
import -window root docs/fenetre.png
echo "docs/fenetre.png"

# The display picture off ("Visu"), then a trace armed: the colour dialog and the instructions
# are taken as they come; the mouse on the painted route beyond Vaudreuil.
tab=$((741 + d + 2))
xdotool mousemove $((tab + 104 + 8)) $((184 + 22 + 264 + 8)) click 1
sleep 0.5
xdotool mousemove $((tab + 24 + 70)) $((184 + 22 + 120 + 12)) click 1
sleep 1
xdotool key Return
sleep 1
xdotool key Return
sleep 1
xdotool mousemove 1265 554
sleep 0.3
xdotool mousemove 1266 554
sleep 0.5
import -window root docs/loupe.png
echo "docs/loupe.png"
