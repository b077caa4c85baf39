#!/usr/bin/env bash
# The demo map with a GPS track instead of its painted route: the demo project is copied to
# out/demogps/, the map placed by three towns, the track examples/demo/tour.gpx imported at its own
# pace (a two-hour stop at Vaudreuil shown as five minutes), the view set to follow it, and the
# film written to out/demogps/film.mp4. The track leaves the map in the north-east and comes back.
set -euo pipefail
cd "$(dirname "$0")/.."
CIBLES=vialume bash scripts/setup.sh
V=$(realpath build/src/vialume)
rm -rf out/demogps
mkdir -p out/demogps
cp examples/demo/* out/demogps/
cd out/demogps
# Port-Sable, Hautevive and Vaudreuil, where the track passes.
"$V" gpx carte.bmp tour.gpx --calage 250,1009=43.990446,-0.383032 \
    --calage 1300,180=47.722691,6.408231 --calage 1120,699=45.415446,5.244014 \
    --temps --pause 300 --distance
"$V" camera carte.bmp --suivre
"$V" export carte.bmp --film film.mp4
echo "Le film du tracé GPS : $(pwd)/film.mp4"
