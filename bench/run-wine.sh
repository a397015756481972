#!/usr/bin/env bash
# Builds the Windows side in its own build folder and runs the whole-process
# drop-down measurement under Wine; arguments: [lines] [repetitions].
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${CORVANE_BENCH_WIN64_BUILD:-$source_dir/build/bench-win64}"
cmake --preset win64 -S "$source_dir" -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2 --target number_list_bench corvane corvane_setup
"$build_dir/wine-run.sh" "$build_dir/bin/number_list_bench.exe" "$@"
