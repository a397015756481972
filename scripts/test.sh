#!/usr/bin/env bash
# Installs what is missing, builds the presets and runs every test: the
# host unit tests, each fuzz target briefly, then the Windows-side tests
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cmake --preset host
cmake --build --preset host -j2
ctest --preset host

# Each parser's fuzz target, briefly (fuzz/run-long.sh runs them long).
cmake --preset fuzz
cmake --build --preset fuzz -j2
ctest --preset fuzz

cmake --preset win64
cmake --build --preset win64 -j2
trap 'build/win64/wine-run.sh --stop' EXIT
ctest --preset win64
