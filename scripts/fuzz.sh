#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) in build-fuzz/ and runs each for the given number of seconds,
# two at a time, from its seeds in fuzz/corpus/<name>/. New inputs and any
# crashing input go under build-fuzz/, never into the source tree. Further
# arguments go to every target (e.g. -runs=10000000). Exits non-zero when a
# target fails.
#   scripts/fuzz.sh [seconds-per-target] [libFuzzer option ...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
shift || true
build=$root/build-fuzz

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DCMAKE_CXX_COMPILER=clang++ -DPELLORA_FUZZ=ON \
    -DPELLORA_BUILD_TESTS=OFF -DPELLORA_BUILD_BENCHMARKS=OFF ${PELLORA_FUZZ_CMAKE_ARGS:-}
cmake --build "$build" -j "$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

run_target() {
    local target=$1; shift
    local name=${target#fuzz_}
    local work=$build/fuzz-work/$name
    mkdir -p "$work/corpus" "$work/artifacts"
    if "$build/fuzz/$target" "$work/corpus" "$root/fuzz/corpus/$name" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" "$@" >"$work/log" 2>&1; then
        status=ok
    else
        status=FAILED
    fi
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
    echo "$target: $status, ${runs:-?} executions, log $work/log"
    [ "$status" = ok ]
}
export -f run_target
export build root seconds

targets=$(find "$build/fuzz" -maxdepth 1 -type f -executable -name "fuzz_*" -printf "%f\n" | sort)
echo "$targets" | xargs -P 2 -I{} bash -c 'run_target "$@"' _ {} "$@"
