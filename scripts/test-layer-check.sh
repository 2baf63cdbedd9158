#!/usr/bin/env bash
# The layer check passes on the tree and fails on a copy of it in which a
# bottom library includes a header from above it, or links a library above it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
check="$root/scripts/check-layers.py"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

python3 "$check" "$root"

copy() {
    rm -rf "$scratch/tree"
    mkdir "$scratch/tree"
    for dir in "$root"/*/; do
        [ -f "$dir/CMakeLists.txt" ] && cp -r "$dir" "$scratch/tree/"
    done
}

copy
echo '#include "KoaPreferences.h"' >> "$scratch/tree/utils/Observer.h"
if python3 "$check" "$scratch/tree" > "$scratch/out"; then
    echo "an upward include was not found"; exit 1
fi
grep -q 'utils/Observer.h:.*KoaPreferences.h of pelloraVavLib' "$scratch/out"

copy
sed -i 's/PUBLIC_LIBS tsMacToolsLib/PUBLIC_LIBS pelloraClientDialogs tsMacToolsLib/' "$scratch/tree/tsQtUiLib/CMakeLists.txt"
if python3 "$check" "$scratch/tree" > "$scratch/out"; then
    echo "an upward link was not found"; exit 1
fi
grep -q 'tsQtUiLib links pelloraClientDialogs' "$scratch/out"
echo "layer check: upward include and upward link both refused"
