#!/usr/bin/env bash
# Installs what is missing, builds the presets and runs every test: the
# host unit tests, each fuzz target briefly, then the Windows-side tests
# under Wine. The 32-bit program and its tests are built, not run: this
# machine's kind runs no 32-bit process, so no 32-bit Windows program
# either (docs/decisions.md).
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

# The 32-bit program and the tests its preset names, built; its images'
# import and export names checked on the host, since they cannot run here.
cmake --preset win32
cmake --build --preset win32 -j2
ctest --preset win32

cmake --preset win64
cmake --build --preset win64 -j2
trap 'build/win64/wine-run.sh --stop' EXIT
ctest --preset win64
