#!/usr/bin/env bash
# Builds everything and runs every test, then the tests again under the address
# and undefined-behaviour sanitizers, then every fuzz target for a short while.
# Exits non-zero on any failure.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

jobs=$(nproc)

run() {
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== build and test"
run "$root/build"

echo "== the demo as the README gives it, with no display"
demo_log=$(mktemp)
if ! env -u DISPLAY -u WAYLAND_DISPLAY "$root/scripts/demo.sh" 2>&1 | tee "$demo_log"; then
    echo "FAIL: scripts/demo.sh: a dialog of the print job was not answered as a patron would"
    exit 1
fi
# Each dialog of the job was known by its kind and pictured once.
for role in UserIdDialogView PageCountDialogView JobConfirmationDialogView; do
    [ "$(grep -c "^demo: pictured .*($role)" "$demo_log")" -eq 1 ] ||
        { echo "FAIL: the demo did not picture $role once"; exit 1; }
done
shots=$(sed -n 's/^== pictures of every window shown: //p' "$demo_log")
rm -rf "$demo_log" "${shots:?}"

echo "== Debian package: build, lintian, install, run against the simulator and CUPS, purge"
status=0
"$root/scripts/test-package.sh" "$root/build" || status=$?
if [ "$status" -eq 77 ]; then
    echo "(package test skipped)"
elif [ "$status" -ne 0 ]; then
    exit "$status"
fi

echo "== sanitizer build and test"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run "$root/build-sanitize" -DPELLORA_SANITIZE=ON -DPELLORA_BUILD_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=Debug

echo "== fuzz targets"
"$root/scripts/fuzz.sh" "${PELLORA_FUZZ_SECONDS:-20}"
