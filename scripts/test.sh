#!/usr/bin/env bash
# Builds everything and runs every test, then the tests again under the address
# and undefined-behaviour sanitizers. Exits non-zero on any failure.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

jobs=$(nproc)

run() {
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    # moc is not always rerun for headers that a folder glob picked up since
    # the last build; forgetting its time stamps makes it look again.
    find "$dir" -path '*_autogen/timestamp' -delete
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== build and test"
run "$root/build"

echo "== sanitizer build and test"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run "$root/build-sanitize" -DPELLORA_SANITIZE=ON -DPELLORA_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug
