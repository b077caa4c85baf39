#!/usr/bin/env bash
# Builds the program and opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/src/vialume "$@"
