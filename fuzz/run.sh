#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each on a scratch copy
# of its seed corpus in fuzz/corpus/<target>/.
#   FUZZ_SECONDS  time per target (default 40)
#   FUZZ_RUNS     run this many inputs per target instead of a time
#   FUZZ_TARGETS  the targets to run (default: routes numbers settings)
# A crash, hang or sanitizer report stops the script with the input saved in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=build-fuzz EXTRA_PACKAGES="clang libclang-rt-14-dev" \
    CMAKE_ARGS="-DCMAKE_CXX_COMPILER=clang++ -DPELUMO_FUZZ=ON" scripts/setup.sh

if [ -n "${FUZZ_RUNS:-}" ]; then
    limit="-runs=$FUZZ_RUNS"
else
    limit="-max_total_time=${FUZZ_SECONDS:-40}"
fi
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The targets run side by side: a timed run then takes its time once, not once a target.
run_target()
{
    local target=$1 asan="halt_on_error=1"
    # Each input of the settings target makes many small strings: with the
    # sanitizer's usual quarantine and allocation traces its bookkeeping costs more than
    # the work, and the memory it holds grows towards libFuzzer's limit over a long run.
    [ "$target" = settings ] && asan="$asan:malloc_context_size=2:quarantine_size_mb=16"
    mkdir -p "$scratch/$target"
    ASAN_OPTIONS="$asan" "build-fuzz/fuzz/fuzz_$target" $limit -timeout=30 \
        -print_final_stats=1 -artifact_prefix="build-fuzz/$target-" \
        "$scratch/$target" "fuzz/corpus/$target" >"build-fuzz/fuzz_$target.log" 2>&1
}

targets=(${FUZZ_TARGETS:-routes numbers settings})
pids=()
for target in "${targets[@]}"; do
    run_target "$target" &
    pids+=($!)
done
failed=0
printf '%-10s %12s %8s\n' target runs seconds
for i in "${!targets[@]}"; do
    target=${targets[$i]}
    log="build-fuzz/fuzz_$target.log"
    if ! wait "${pids[$i]}"; then
        tail -n 40 "$log"
        echo "fuzz_$target failed; the input is in build-fuzz/$target-*" >&2
        failed=1
        continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
    printf '%-10s %12s %8s\n' "$target" "$runs" "$secs"
done
exit $failed
