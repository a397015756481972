#!/usr/bin/env bash
# Runs every fuzz target long, one after the other on one core, and prints
# one line of figures per target. Builds the fuzz preset first.
#   fuzz/run-long.sh [executions per target, default 10000000] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-10000000}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(phone_list user_list number_file stored_values password dial_records online_time)
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 >/dev/null

out=build/fuzz/long
mkdir -p "$out" build/fuzz/fuzz/crashes
printf '%-15s %12s %10s %9s %8s %s\n' target executions seconds exec/s corpus result
for target in "${targets[@]}"; do
  mkdir -p "build/fuzz/fuzz/corpus/$target"
  start=$(date +%s)
  result=clean
  nice -n 10 "build/fuzz/bin/${target}_fuzz" -runs="$runs" -malloc_limit_mb=64 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/fuzz/crashes/$target-" \
    "build/fuzz/fuzz/corpus/$target" "fuzz/corpus/$target" >"$out/$target.log" 2>&1 || result=CRASH
  seconds=$(($(date +%s) - start))
  executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$target.log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/$target.log")
  corpus=$(find "build/fuzz/fuzz/corpus/$target" -type f | wc -l)
  printf '%-15s %12s %10s %9s %8s %s\n' "$target" "${executed:-?}" "$seconds" "${rate:-?}" "$corpus" "$result"
done
