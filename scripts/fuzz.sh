#!/usr/bin/env bash
# Builds one fuzz target (fuzz/fuzz_TARGET.cpp) with clang, libFuzzer and the address and
# undefined-behaviour checks, then runs it for SECONDS from its seeds in fuzz/corpus/TARGET/.
# What the run adds to the corpus stays in the build folder; a crashing input is written to
# build-fuzz/artefacts/TARGET/ and belongs in fuzz/regressions/TARGET/ once mended.
#   bash scripts/fuzz.sh langue 600
#   JOBS=1 bash scripts/fuzz.sh image 600 -max_len=100000   (more options go to libFuzzer)
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET SECONDS [libFuzzer options...]" >&2
    exit 2
fi
cible=$1
duree=$2
shift 2
[ -f "fuzz/fuzz_$cible.cpp" ] || { echo "no fuzz/fuzz_$cible.cpp" >&2; exit 2; }

BUILD=${BUILD:-build-fuzz}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVIALUME_FUZZ=ON -DVIALUME_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j"${JOBS:-2}" --target "fuzz_$cible"

travail="$BUILD/corpus/$cible"
artefacts="$BUILD/artefacts/$cible/"
mkdir -p "$travail" "$artefacts"
export QT_QPA_PLATFORM=offscreen
# The targets whose readers open files write each input to a temporary folder: in memory, a disk
# under load would set the pace.
[ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
# Undefined behaviour stops the run like a crash does.
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
# The legend's font lookups: fontconfig keeps memory for every pattern, which is not a leak of ours.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp}
# A run slower than TIMEOUT seconds counts as a hang; on a shared machine under load the picture
# loads can stall for seconds in the allocator, hence the margin.
# No load may peak at 2 GB or more: the limit leaves room for the fuzzer's own memory.
# Parameters files with full tables run to a few hundred kilobytes: inputs that large reach them.
longueur=()
[ "$cible" = parametres ] && longueur=(-max_len=400000)
exec "$BUILD/fuzz/fuzz_$cible" -max_total_time="$duree" -timeout=${TIMEOUT:-30} -rss_limit_mb=2560 \
     -print_final_stats=1 -artifact_prefix="$artefacts" "${longueur[@]}" "$@" "$travail" \
     "fuzz/corpus/$cible"
