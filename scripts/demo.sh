#!/usr/bin/env bash
# The client against the bundled Print Service simulator, on this machine:
# installs what it needs (as root), builds, starts the simulator on loopback,
# points the client at it and plays a whole print job. Without a display the
# client runs under an Xvfb of its own and the demo answers every dialog
# itself, as a patron would. A picture of every window shown goes into a
# folder named at the end. Usage: scripts/demo.sh [scenario-file]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

build="$root/build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target pelloraVav printservicesim pellora_images dialogshots

app="$build/app"
scenario=${1:-"$root/tools/printservicesim/scenarios/demo.scenario"}
work=$(mktemp -d)
shots=$(mktemp -d "${TMPDIR:-/tmp}/pellora-demo-shots.XXXXXX")
cleanup() {
    kill "${answerer:-}" "${client:-}" "${sim:-}" 2>/dev/null || true
    wait "${client:-}" 2>/dev/null || true
    kill "${xvfb:-}" "${bus:-}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The client's configuration: the Print Service is on this machine; a shared
# computer, so that the demo's own quit needs no staff password.
printf '<?xml version="1.0" encoding="utf-8" ?>\r\n<Settings>\r\n<version>1.1</version>\r\n<type>Mac Printer Connector</type>\r\n<entry name='"'"'Print Service Address'"'"'>127.0.0.1</entry>\r\n<entry name='"'"'Dedicated Mode'"'"'>0</entry>\r\n</Settings>\r\n' \
    > "$app/printClient.tsp"

answer=false
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(cat "$work/display")"
    # A session bus of its own, as a desktop gives one: without it Qt's D-Bus
    # library would autolaunch a daemon that outlives the demo.
    dbus-daemon --session --fork --print-address=3 --print-pid=4 \
        3>"$work/bus" 4>"$work/bus.pid" 2>/dev/null
    bus=$(cat "$work/bus.pid")
    DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
    answer=true
fi

# The site's printer scripts only say what they would do.
"$app/printservicesim" --listen 127.0.0.1 --no-stdin --scenario "$scenario" \
    --install-script "echo 'demo: the site printers would be installed here'" \
    --remove-script "echo 'demo: the site printers would be removed here'" \
    --languages "$app/demo-languages" \
    2>&1 | sed -u 's/^/print service | /' &
sim=$!
sleep 1

"$app/pelloraVav" "-trace=$work/trace.log" > >(sed -u 's/^/client        | /') 2>&1 &
client=$!

# Every window that comes up is pictured once it has settled, once for each
# kind of window and caption; without a person at the screen the demo then
# answers it as a patron would. A dialog is known by its window role (the
# class of dialog, whatever the language of its caption): the identification
# gets a user ID and PIN, the "Please Wait..." window and the main window no
# answer, any other dialog Return. A window may vanish at any moment (a
# dialog that times out, the client's own close): a failed look-up skips it,
# and a window still there is looked at again at the next round.
answer_windows() {
    set +e
    local seen="" kept shown id name props role file count=0 status
    local -A pictured=()
    local x=(timeout 10 xdotool)
    while kill -0 "$client" 2>/dev/null; do
        shown=$("${x[@]}" search --onlyvisible --name . 2>/dev/null)
        status=$?
        # 1: no window at all; anything else but 0: try again, keeping what was seen.
        [ "$status" -le 1 ] || { sleep 0.3; continue; }
        kept=""
        for id in $shown; do
            case " $seen " in *" $id "*) kept="$kept $id"; continue ;; esac
            sleep 0.5
            name=$("${x[@]}" getwindowname "$id" 2>/dev/null) || continue
            props=$(timeout 10 xprop -id "$id" WM_WINDOW_ROLE 2>/dev/null) || continue
            role=$(printf '%s\n' "$props" | sed -n 's/^WM_WINDOW_ROLE(STRING) = "\(.*\)"$/\1/p')
            kept="$kept $id"
            if [ -z "${pictured["$role|$name"]:-}" ]; then
                pictured["$role|$name"]=1
                count=$((count + 1))
                file="$shots/$(printf '%02d' "$count")-$(printf '%s' "$name" | tr -c 'A-Za-z0-9' '_' | tr -s '_').png"
                "$app/dialogshots" --grab "$file" "$id" 2>/dev/null &&
                    echo "demo: pictured \"$name\" (${role:-main window}) in $file"
            fi
            [ "$answer" = true ] || continue
            case "$role" in
                "" | ClientProcessingDialog) ;;
                UserIdDialogView)
                    "${x[@]}" windowfocus --sync "$id" type --delay 40 jsmith &&
                        "${x[@]}" key Tab type --delay 40 1234 &&
                        "${x[@]}" key Return ;;
                *) sleep 0.5; "${x[@]}" windowfocus --sync "$id" key Return ;;
            esac
        done
        # A window that goes and comes back is a new appearance.
        seen=$kept
        sleep 0.3
    done
}
answer_windows &
answerer=$!

status=0
wait "$sim" || status=$?

echo "== the scenario ended with status $status; asking the client to quit (SIGTERM)"
kill -TERM "$client" 2>/dev/null || true
wait "$client" 2>/dev/null || true
kill "$answerer" 2>/dev/null || true
echo "== the last lines of the client's trace (-trace=FILE):"
tail -n 5 "$work/trace.log" 2>/dev/null || true
echo "== pictures of every window shown: $shots"
exit "$status"
