#!/usr/bin/env bash
# The package's systemd user unit and autostart entry, checked from the tree:
# systemd-analyze must accept the unit without a word (it reports most faults
# as warnings and still ends with 0), and the autostart entry must keep out of
# the sessions the unit starts the client in. The unit's ExecStart names the
# installed launcher; here it is pointed at the tree's, and the manual page
# the unit names is found in debian/.
# Exit status 77: skipped (no systemd-analyze).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
unit="$root/debian/pellora-vav.user.service"
autostart="$root/debian/pellora-vav.autostart"

command -v systemd-analyze >/dev/null || { echo "SKIP: no systemd-analyze (systemd)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/man/man1" "$work/run" "$work/units"
cp "$root/debian/pelloraVav.1" "$work/man/man1/"
grep -qx 'ExecStart=/usr/bin/pelloraVav' "$unit" || { echo "FAIL: the unit does not start /usr/bin/pelloraVav"; exit 1; }
sed "s|^ExecStart=/usr/bin/pelloraVav|ExecStart=$root/debian/bin/pelloraVav|" "$unit" \
    >"$work/units/pellora-vav.service"

output=$(cd "$work/units" && MANPATH="$work/man" XDG_RUNTIME_DIR="$work/run" \
    systemd-analyze --user verify ./pellora-vav.service 2>&1) || status=$?
if [ "${status:-0}" -ne 0 ] || [ -n "$output" ]; then
    echo "FAIL: systemd-analyze verify (status ${status:-0}):"
    echo "$output"
    exit 1
fi
echo "systemd-analyze --user verify: the unit is accepted"

# The generator of GNOME and KDE Plasma skips the entry for X-systemd-skip,
# gnome-session for X-GNOME-HiddenUnderSystemd; Xfce, LXQt and MATE read neither.
for key in X-systemd-skip=true X-GNOME-HiddenUnderSystemd=true; do
    grep -qx "$key" "$autostart" || { echo "FAIL: $autostart lacks $key"; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then
    cp "$autostart" "$work/pellora-vav.desktop"
    desktop-file-validate "$work/pellora-vav.desktop"
fi
echo "autostart entry: skipped where the unit starts the client"
