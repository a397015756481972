#!/usr/bin/env bash
# Builds the benchmarks optimised (no sanitizers) in their own build folder
# and runs them; extra arguments go to the benchmark binary
# (e.g. --benchmark_filter=DropDown, --benchmark_repetitions=5).
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${CORVANE_BENCH_BUILD:-$source_dir/build/bench}"
cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANE_SANITIZE=OFF >/dev/null
cmake --build "$build_dir" -j2 --target corvane_bench
"$build_dir/bin/corvane_bench" "$@"
