#!/bin/sh
# Builds every fuzz target and runs each, niced, for SECONDS seconds on a copy of its seed
# corpus; prints executions, coverage and findings per target. Crash files stay in
# build-fuzz/findings/<target>/.
#   fuzz/run-all.sh 1800
set -eu
seconds=${1:?usage: fuzz/run-all.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
cd "$root"
make fuzz FUZZ_BUILD="$build" >/dev/null
printf '%-20s %12s %10s %10s %9s\n' target executions coverage features findings
for target in settings picture_load gif_convert jpeg_encoder; do
    work=$build/corpus/$target
    findings=$build/findings/$target
    mkdir -p "$work" "$findings"
    log=$build/fuzz_$target.log
    nice -n 10 "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    found=$(find "$findings" -type f | wc -l)
    printf '%-20s %12s %10s %10s %9s\n' "$target" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$found"
done
