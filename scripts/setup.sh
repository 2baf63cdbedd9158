#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on Debian 12 (as root),
# skipping what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libgl-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool x11-utils cups-client psmisc curl python3 procps fonts-dejavu-core
    openssl
    debhelper lintian ucf cups-daemon appstream
    systemd man-db dbus-bin dbus-daemon
    stunnel4
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}; run this script as root to install them." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
