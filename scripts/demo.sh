#!/usr/bin/env bash
# The client against the bundled Print Service simulator, on this machine:
# installs what it needs (as root), builds, starts the simulator on loopback,
# points the client at it and plays a scenario. Without a display the client
# runs under Xvfb. Usage: scripts/demo.sh [scenario-file]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target pelloraVav printservicesim pellora_images

app="$build/app"
scenario=${1:-"$root/tools/printservicesim/scenarios/demo.scenario"}
work=$(mktemp -d)
trap 'kill "${client:-}" "${sim:-}" 2>/dev/null || true; rm -rf "$work"' EXIT

# The client's configuration: the Print Service is on this machine.
printf '<?xml version="1.0" encoding="utf-8" ?>\r\n<Settings>\r\n<version>1.1</version>\r\n<type>Mac Printer Connector</type>\r\n<entry name='"'"'Print Service Address'"'"'>127.0.0.1</entry>\r\n</Settings>\r\n' \
    > "$app/printClient.tsp"

# The site's printer scripts only say what they would do.
"$app/printservicesim" --listen 127.0.0.1 --no-stdin --scenario "$scenario" \
    --install-script "echo 'demo: the site printers would be installed here'" \
    --remove-script "echo 'demo: the site printers would be removed here'" \
    --languages "$app/demo-languages" \
    2>&1 | sed -u 's/^/print service | /' &
sim=$!
sleep 1

run_client=("$app/pelloraVav" "-trace=$work/trace.log")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    run_client=(xvfb-run -a "${run_client[@]}")
fi
"${run_client[@]}" 2>&1 | sed -u 's/^/client        | /' &
client=$!

status=0
wait "$sim" || status=$?

echo "== the scenario ended with status $status; asking the client to quit (SIGTERM)"
pkill -TERM -x pelloraVav || true
wait "$client" 2>/dev/null || true
echo "== the last lines of the client's trace (-trace=FILE):"
tail -n 5 "$work/trace.log" 2>/dev/null || true
exit "$status"
