#!/usr/bin/env bash
# Builds the Windows side in its own build folder and prints the table of
# whole-process figures under Wine: the program against the floor program,
# as ratios. Arguments: [runs, at least 5] [seconds of each processor
# window, default 20] [phone-list lines, default 10000].
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${CORVANE_BENCH_WIN64_BUILD:-$source_dir/build/bench-win64}"
# A display of its own: a test run ending elsewhere must not take it away.
export CORVANE_XVFB_DISPLAY="${CORVANE_XVFB_DISPLAY:-79}"
cmake --preset win64 -S "$source_dir" -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2 --target program_bench corvane_setup
status=0
"$build_dir/wine-run.sh" "$build_dir/bin/program_bench.exe" "$@" || status=$?
"$build_dir/wine-run.sh" --stop
exit $status
