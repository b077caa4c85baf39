#!/usr/bin/env bash
# Builds and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${BUILD:-build}" --output-on-failure -j"$(nproc)"
