#!/usr/bin/env bash
# Five riders replayed on the demo map: the demo project is copied to out/demoreplay/, five GPX
# tracks are made there (different ways from Port-Sable to Vaudreuil, different speeds, starts
# up to an hour apart, one with a long stop), the map is placed by three towns, the tracks are
# imported as one replay on one clock with half-hour tails, names and the ranking, the camera
# keeping every head in view, and the film is written to out/replay.mp4.
set -euo pipefail
cd "$(dirname "$0")/.."
CIBLES=vialume bash scripts/setup.sh
V=$(realpath build/src/vialume)
rm -rf out/demoreplay
mkdir -p out/demoreplay
cp examples/demo/carte.bmp examples/demo/fond.png examples/demo/loupe.bmp out/demoreplay/
cd out/demoreplay

# The three towns of the placement, map pixel = latitude, longitude.
CALAGE=(--calage 250,1009=43.990446,-0.383032 --calage 1300,180=47.722691,6.408231
        --calage 1120,699=45.415446,5.244014)

# A track from waypoints in map pixels: a point every 30 s at `vitesse` pixels an hour, a little
# noise, from `depart` seconds after 8:00; `arret` seconds stood still at the middle waypoint.
# Latitudes and longitudes from the pixels through the plane of the three towns.
trace() { # fichier nom depart vitesse arret graine x,y ...
    local fichier=$1 nom=$2 depart=$3 vitesse=$4 arret=$5 graine=$6
    shift 6
    awk -v nom="$nom" -v depart="$depart" -v vitesse="$vitesse" -v arret="$arret" \
        -v graine="$graine" -v pts="$*" 'BEGIN {
        srand(graine)
        # lat = a x + b y + c, lon = d x + e y + f through the three towns.
        split("250 1009 43.990446 -0.383032 1300 180 47.722691 6.408231 1120 699 45.415446 5.244014", v, " ")
        x1 = v[1]; y1 = v[2]; x2 = v[5]; y2 = v[6]; x3 = v[9]; y3 = v[10]
        det = (x2 - x1) * (y3 - y1) - (x3 - x1) * (y2 - y1)
        for (k = 0; k < 2; k++) {
            p1 = v[3 + k]; p2 = v[7 + k]; p3 = v[11 + k]
            A[k] = ((p2 - p1) * (y3 - y1) - (p3 - p1) * (y2 - y1)) / det
            B[k] = ((x2 - x1) * (p3 - p1) - (x3 - x1) * (p2 - p1)) / det
            C[k] = p1 - A[k] * x1 - B[k] * y1
        }
        n = split(pts, w, " ")
        for (i = 1; i <= n; i++) { split(w[i], c, ","); X[i] = c[1]; Y[i] = c[2] }
        printf "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        printf "<gpx version=\"1.1\" creator=\"demoreplay\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        printf "<trk><name>%s</name><trkseg>\n", nom
        t = depart; pas = 30; milieu = int((n + 1) / 2)
        for (i = 1; i < n; i++) {
            dx = X[i + 1] - X[i]; dy = Y[i + 1] - Y[i]; l = sqrt(dx * dx + dy * dy)
            m = int(l / (vitesse * pas / 3600)) + 1
            for (j = 0; j < m; j++) {
                f = j / m
                x = X[i] + dx * f + (rand() - 0.5) * 0.6; y = Y[i] + dy * f + (rand() - 0.5) * 0.6
                point(x, y, t); t += pas
            }
            if (i + 1 == milieu && arret > 0)
                for (s = 0; s < arret; s += pas) { point(X[i + 1] + (rand() - 0.5) * 0.3, Y[i + 1] + (rand() - 0.5) * 0.3, t); t += pas }
        }
        point(X[n], Y[n], t)
        printf "</trkseg></trk></gpx>\n"
    }
    function point(x, y, t,   h) {
        h = 8 * 3600 + t
        printf "<trkpt lat=\"%.6f\" lon=\"%.6f\"><time>2024-06-15T%02d:%02d:%02dZ</time></trkpt>\n",
            A[0] * x + B[0] * y + C[0], A[1] * x + B[1] * y + C[1], int(h / 3600), int(h / 60) % 60, h % 60
    }' >"$fichier"
}

trace anne.gpx Anne 0 150 0 1 250,1009 520,860 800,760 1120,699
trace bruno.gpx Bruno 600 165 0 2 250,1009 420,1050 760,980 1000,860 1120,699
trace chloe.gpx Chloé 1800 185 0 3 250,1009 380,820 700,640 950,600 1120,699
trace driss.gpx Driss 300 175 3600 4 250,1009 560,930 700,820 880,780 1120,699
trace emma.gpx Emma 3600 210 0 5 250,1009 300,900 620,700 900,720 1120,699

"$V" gpx carte.bmp anne.gpx bruno.gpx chloe.gpx driss.gpx emma.gpx "${CALAGE[@]}" \
    --depart heure --queue 1800 --pause 120 --classement 20,20 --camera toutes --duree 40
"$V" info carte.bmp
"$V" export carte.bmp --film ../replay.mp4
echo "Le film du rejeu : $(realpath ../replay.mp4)"
