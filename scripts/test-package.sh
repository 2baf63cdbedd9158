#!/usr/bin/env bash
# The Debian package from end to end, on this machine (as root): builds it
# with dpkg-buildpackage, checks it with lintian, installs it with apt-get and
# debconf preseeded to the Print Service simulator, starts the installed
# launcher as an unprivileged patron under Xvfb against the simulator and a
# private CUPS daemon, quits it with SIGTERM, purges the package and looks for
# anything it left. The site's printer scripts are real lpadmin calls: the
# client must note the patron's default printer with lpstat and put it back
# at quit, and the removal script must leave no queue.
#
# Usage: scripts/test-package.sh [build-folder]
#   build-folder holds the built simulator (app/printservicesim); default build/.
#   PELLORA_DEB=FILE tests that package instead of building one.
# Exit status 77: skipped (not root). Without cupsd the printer scripts only
# write logs and the CUPS checks are skipped, saying so.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
simulator="$build/app/printservicesim"
package=pellora-vav

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing a package needs root"
    exit 77
fi
[ -x "$simulator" ] || { echo "FAIL: no simulator at $simulator (build first)"; exit 1; }
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
[ -x "$cupsd" ] || cupsd=

work=
patron=
fail() {
    echo "FAIL: $*"
    for log in "$patron/client.log" "$work/simulator.log" "$work/cups/log/error_log"; do
        [ -s "$log" ] && { echo "--- $log"; tail -n 40 "$log"; }
    done
    exit 1
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local seconds=$1; shift
    for _ in $(seq $((seconds * 10))); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Whether no process of user $1 that a patron's session starts is left: the
# client, its launcher, and the session bus.
patron_gone() {
    ! pgrep -u "$1" -f 'pelloraVav|dbus-' >/dev/null
}

work=$(mktemp -d "${TMPDIR:-/tmp}/pellora-package.XXXXXX")
# The patron, nobody, must reach its folder inside.
chmod 755 "$work"
patron="$work/patron"
cleanup() {
    local pid
    [ -z "${client:-}" ] || kill "$client" 2>/dev/null || true
    for pid in "${session:-}" "${sim:-}" "${xvfb:-}" "${cups:-}" "${terminator:-}"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if id pellora-test-patron >/dev/null 2>&1; then
        pkill -KILL -u pellora-test-patron 2>/dev/null || true
        wait_for 10 patron_gone pellora-test-patron || true
        userdel pellora-test-patron 2>/dev/null || true
    fi
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q installed; then
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$package" >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if [ -n "${PELLORA_DEB:-}" ]; then
    cp "$PELLORA_DEB" "$work/"
else
    echo "== package: build with the command of docs/administration.md on a fresh clone"
    git clone --quiet --no-hardlinks "$root" "$work/src"
    # Uncommitted work is what is being tested: it goes over the clone, as a
    # commit would bring it. Ignored files (build folders) stay behind.
    if [ -n "$(git -C "$root" status --porcelain)" ]; then
        echo "(with the working tree's uncommitted changes)"
        git -C "$root" ls-files -co --exclude-standard -z | tar -C "$root" --null -T - -cf - |
            tar -C "$work/src" -xf -
        git -C "$root" ls-files -d -z | (cd "$work/src" && xargs -0 -r rm -f --)
    fi
    started=$SECONDS
    (cd "$work/src" && env -u DEB_BUILD_OPTIONS -u DEB_BUILD_PROFILES \
        dpkg-buildpackage -us -uc -b >"$work/build.log" 2>&1) ||
        { tail -n 40 "$work/build.log"; fail "dpkg-buildpackage -us -uc -b"; }
    echo "built in $((SECONDS - started)) s"
fi
deb=$(ls "$work"/${package}_*_*.deb)

metainfo=/usr/share/metainfo/org.example.tessaly.pellora_vav.metainfo.xml
echo "== package: contents"
dpkg-deb -c "$deb" | awk '{print $6, $7, $8}' | sed 's|^\./|/|' >"$work/contents"
cat "$work/contents"
echo "size: $(stat -c %s "$deb") bytes, installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
if grep -E 'printservicesim|dialogshots|/tst_|/bench_|demo-languages' "$work/contents"; then
    fail "tests or developer tools in the package"
fi
for needed in /usr/lib/pellora-vav/pelloraVav /usr/lib/pellora-vav/languages/en_us.qm \
    /usr/lib/pellora-vav/images/button1.jpg /usr/bin/pelloraVav \
    /etc/xdg/autostart/pellora-vav.desktop /usr/share/applications/pellora-vav.desktop \
    /usr/share/icons/hicolor/48x48/apps/pellora-vav.png /usr/share/man/man1/pelloraVav.1.gz \
    "$metainfo"; do
    grep -q "^$needed " "$work/contents" || fail "$needed missing from the package"
done

echo "== package: lintian"
lintian --fail-on error --display-info "$deb" 2>/dev/null | tee "$work/lintian.log" || fail "lintian errors"
[ -s "$work/lintian.log" ] || echo "(lintian: nothing to report)"

echo "== package: install, debconf preseeded"
debconf-set-selections <<'EOF'
pellora-vav pellora-vav/print-service-address string 127.0.0.1
pellora-vav pellora-vav/dedicated-mode boolean false
EOF
(cd "$work" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$(basename "$deb")") \
    >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install"; }
conf=/etc/pellora-vav/printClient.tsp
grep -q "<entry name='Print Service Address'>127.0.0.1</entry>" "$conf" ||
    fail "$conf does not name the preseeded address"
grep -q "<entry name='Dedicated Mode'>0</entry>" "$conf" || fail "$conf is not a shared computer's"
[ "$(readlink -f /usr/lib/pellora-vav/printClient.tsp)" = "$conf" ] ||
    fail "the application folder does not lead to $conf"
dpkg -L "$package" >"$work/files"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log"; fail "appstreamcli does not accept $metainfo"; }
echo "appstream: $(tail -n 1 "$work/appstream.log")"

# An administrator's edit survives a reconfiguration and an upgrade.
sed -i 's|>127.0.0.1<|>127.0.0.3<|' "$conf"
DEBIAN_FRONTEND=noninteractive dpkg-reconfigure "$package" >/dev/null 2>&1 ||
    fail "dpkg-reconfigure"
(cd "$work" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall \
    "./$(basename "$deb")") >"$work/install.log" 2>&1 || fail "apt-get install --reinstall"
grep -q ">127.0.0.3<" "$conf" || fail "the administrator's edit of $conf was not kept"
debconf-show "$package" | grep -q "print-service-address: 127.0.0.3" ||
    fail "debconf does not offer the edited address"
sed -i 's|>127.0.0.3<|>127.0.0.1<|' "$conf"

echo "== package: the installed client against the simulator"
# Two patrons: one set up as "Install on a patron PC" in docs/administration.md says (a
# member of lpadmin, which Debian's CUPS policy names as its SystemGroup), made
# for this test; and nobody, who is not.
patron_user=pellora-test-patron
if id "$patron_user" >/dev/null 2>&1; then userdel "$patron_user" 2>/dev/null || true; fi
useradd --system --user-group --no-create-home --home-dir /nonexistent \
    --shell /usr/sbin/nologin "$patron_user"
adduser --quiet "$patron_user" lpadmin
# With PATRON_EXEC=exec in a subshell, the subshell becomes the patron's program.
as_patron() {
    local user=${PATRON_USER:-$patron_user}
    ${PATRON_EXEC:-} setpriv --reuid="$user" --regid="$(id -g "$user")" --init-groups \
        env -i HOME="$patron/home" USER="$user" LOGNAME="$user" XDG_RUNTIME_DIR="$patron/run" \
        LANG=C.UTF-8 PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin \
        ${CUPS_SERVER:+CUPS_SERVER=$CUPS_SERVER} ${DISPLAY:+DISPLAY=$DISPLAY} "$@"
}
# A patron's own folder, fresh for each run.
new_patron() {
    patron="$work/patron-$1"
    mkdir -p "$patron/home" "$patron/run"
    chmod 700 "$patron/run"
    chown -R "$1:$(id -g "$1")" "$patron"
}

install_script="echo installed >> \"\$HOME/../printers.log\""
remove_script="echo removed >> \"\$HOME/../printers.log\""
if [ -n "$cupsd" ]; then
    # A CUPS daemon of its own with Debian's stock policy (cups-daemon's
    # default cupsd.conf and cups-files.conf): only the listening socket and
    # the daemon's own folders differ.
    c="$work/cups"
    mkdir -p "$c/etc" "$c/spool" "$c/cache" "$c/state" "$c/tmp" "$c/log"
    stock=/usr/share/cups
    sed -e '/^Listen /d' -e "1i Listen $c/cups.sock" "$stock/cupsd.conf.default" >"$c/cupsd.conf"
    sed -e '/^\(ServerRoot\|RequestRoot\|CacheDir\|StateDir\|TempDir\|ErrorLog\|AccessLog\|PageLog\) /d' \
        "$stock/cups-files.conf.default" >"$c/cups-files.conf"
    printf '%s\n' "ServerRoot $c/etc" "RequestRoot $c/spool" "CacheDir $c/cache" \
        "StateDir $c/state" "TempDir $c/tmp" "ErrorLog $c/log/error_log" \
        "AccessLog $c/log/access_log" "PageLog $c/log/page_log" >>"$c/cups-files.conf"
    grep -q '^SystemGroup .*lpadmin' "$c/cups-files.conf" ||
        fail "Debian's stock cups-files.conf no longer names lpadmin"
    "$cupsd" -f -c "$c/cupsd.conf" -s "$c/cups-files.conf" &
    cups=$!
    export CUPS_SERVER="$c/cups.sock"
    wait_for 30 sh -c 'lpstat -r 2>/dev/null | grep -qx "scheduler is running"' ||
        fail "cupsd did not start"
    lpadmin -p Patron_Laser -E -v file:/dev/null && lpadmin -d Patron_Laser
    install_script="$install_script; lpadmin -p Pellora_Site -E -v file:/dev/null && lpadmin -d Pellora_Site"
    remove_script="$remove_script; lpadmin -x Pellora_Site 2>/dev/null; true"
else
    echo "SKIP: no cupsd (Debian's cups-daemon); the printer scripts only write a log"
fi

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
xvfb=$!
wait_for 10 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

"$simulator" --listen 127.0.0.1 --no-stdin --install-script "$install_script" \
    --remove-script "$remove_script" >"$work/simulator.log" 2>&1 &
sim=$!
wait_for 30 grep -q '^LISTEN http' "$work/simulator.log" || fail "the simulator did not start"

# Starts the launcher as the desktop's autostart entry runs it, as patron $1,
# in a session with a bus of its own as a desktop gives one (without it, Qt's
# D-Bus library autolaunches a daemon that outlives the client and holds the
# account), and waits for its registration.
start_client() {
    new_patron "$1"
    registration="RECV register:$1:$(hostname)"
    # A new one: the same patron may have registered in an earlier run.
    local seen
    seen=$(grep -cxF "$registration" "$work/simulator.log" || true)
    (PATRON_USER=$1 PATRON_EXEC=exec; as_patron dbus-run-session -- pelloraVav \
        "-trace=$patron/trace.log" >"$patron/client.log" 2>&1) &
    session=$!
    wait_for 10 pgrep -P "$session" -x pelloraVav >/dev/null || fail "the launcher of $1 did not start"
    client=$(pgrep -P "$session" -x pelloraVav)
    client_user=$1
    wait_for 120 sh -c '[ "$(grep -cxF "$1" "$2")" -gt "$3" ]' - "$registration" \
        "$work/simulator.log" "$seen" || fail "no registration of $1"
    echo "registered: $registration"
    [ "$(cat "$patron/printers.log")" = "$(printf 'removed\ninstalled')" ] ||
        fail "the printer scripts did not run in order (removal, installation)"
}
# A logout's SIGTERM to the launcher; the session ends with it, and with the
# session its bus. None of the patron's processes may be left.
stop_client() {
    kill -TERM "$client"
    status=0
    wait "$session" || status=$?
    client= session=
    [ "$status" -eq 0 ] || fail "the client ended with status $status after SIGTERM"
    wait_for 30 patron_gone "$client_user" || fail "processes of $client_user outlived the session:" \
        "$(pgrep -a -u "$client_user" -f 'pelloraVav|dbus-')"
    [ "$(tail -n 1 "$patron/printers.log")" = removed ] || fail "the removal script did not run at quit"
    echo "quit on SIGTERM with status 0; printer scripts: $(tr '\n' ' ' <"$patron/printers.log")"
}
default_of() {
    PATRON_USER=$1 as_patron lpstat -d 2>&1
}

# The patron set up as docs/administration.md says: the site's queue comes and goes.
new_patron "$patron_user"
if [ -n "$cupsd" ]; then
    [ "$(default_of "$patron_user")" = "system default destination: Patron_Laser" ] ||
        fail "the patron's default printer was not set up"
fi
start_client "$patron_user"
grep -qx 'HTTP GET /printers/ 200' "$work/simulator.log" || fail "the printer scripts were not fetched"
if [ -n "$cupsd" ]; then
    lpstat -v Pellora_Site >/dev/null 2>&1 || fail "the installation script made no queue"
    [ "$(default_of "$patron_user")" = "system default destination: Pellora_Site" ] ||
        fail "the site's queue is not the default while the client runs"
fi
stop_client
if grep 'Printer script failed' "$patron/trace.log"; then
    fail "a printer script of the patron set up as docs/administration.md says failed"
fi
if [ -n "$cupsd" ]; then
    grep -qx 'setting default printer to Patron_Laser' "$patron/client.log" ||
        fail "the client did not note the patron's default printer"
    [ "$(default_of "$patron_user")" = "system default destination: Patron_Laser" ] ||
        fail "the patron's default printer was not put back: $(default_of "$patron_user")"
    if lpstat -v Pellora_Site >/dev/null 2>&1; then fail "the removal script left its queue"; fi
    [ "$(lpstat -p | awk '{print $2}')" = Patron_Laser ] || fail "queues left: $(lpstat -p)"
    echo "stock CUPS policy, patron in lpadmin: default Patron_Laser noted and restored, Pellora_Site added and removed"

    # A patron not set up: CUPS refuses, and the refusal is traced, not lost.
    start_client nobody
    if lpstat -v Pellora_Site >/dev/null 2>&1; then fail "CUPS let a patron outside lpadmin add a queue"; fi
    stop_client
    refusal=$(grep 'Warning.*Printer script failed with status 1: lpadmin: Forbidden' \
        "$patron/trace.log") || fail "the refused installation script was not traced at the Warning level"
    echo "stock CUPS policy, patron outside lpadmin: traced: ${refusal#*Warning}"
fi
echo "== package: a kiosk whose site encrypts, preseeded through debconf"
# The site's CA and the terminator's certificate for the Print Service
# address; stunnel4 with the configuration of docs/administration.md, only its paths
# replaced, in front of the simulator.
tls="$work/tls"
mkdir -p "$tls"
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
    -subj "/CN=Package Test CA" -addext basicConstraints=critical,CA:TRUE \
    -addext keyUsage=critical,keyCertSign -keyout "$tls/ca.key" -out "$tls/ca.pem" \
    >/dev/null 2>&1 || fail "openssl: the site CA"
openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj /CN=127.0.0.1 \
    -keyout "$tls/server.key" -out "$tls/server.csr" >/dev/null 2>&1 || fail "openssl: the request"
printf 'subjectAltName=IP:127.0.0.1\n' >"$tls/san.ext"
openssl x509 -req -in "$tls/server.csr" -CA "$tls/ca.pem" -CAkey "$tls/ca.key" -CAcreateserial \
    -days 2 -extfile "$tls/san.ext" -out "$tls/server.crt" >/dev/null 2>&1 ||
    fail "openssl: the terminator's certificate"
chmod 755 "$tls"
chmod 644 "$tls/ca.pem"
sed -e "s|^cert = /etc/stunnel/print-service.crt$|cert = $tls/server.crt|" \
    -e "s|^key = /etc/stunnel/print-service.key$|key = $tls/server.key|" \
    -e "s|^pid = /run/stunnel4/print-service.pid$|pid = $tls/stunnel.pid|" \
    -e 's|^foreground = no$|foreground = yes|' "$root/docs/stunnel-print-service.conf" >"$tls/stunnel.conf"
[ "$(grep -c "$tls" "$tls/stunnel.conf")" = 3 ] || fail "docs/stunnel-print-service.conf changed its paths"
stunnel4 "$tls/stunnel.conf" >"$work/stunnel.log" 2>&1 &
terminator=$!
wait_for 30 grep -q 'Configuration successful' "$work/stunnel.log" || fail "stunnel4 did not start"

# The fleet's way: a fresh installation with TLS preseeded. A CA file that
# holds no certificate is refused as a bad address is, and nothing is written.
printf 'not a certificate\n' >"$tls/not.pem"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$package" >"$work/purge.log" 2>&1 ||
    fail "apt-get purge"
printf '%s\n' 'pellora-vav pellora-vav/print-service-address string 127.0.0.1' \
    'pellora-vav pellora-vav/dedicated-mode boolean false' \
    'pellora-vav pellora-vav/print-service-tls boolean true' \
    "pellora-vav pellora-vav/print-service-ca-file string $tls/not.pem" | debconf-set-selections
if (cd "$work" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$(basename "$deb")") \
    >"$work/install.log" 2>&1; then
    fail "a CA file without a certificate was accepted"
fi
grep -q 'CA file' "$work/install.log" || fail "the refusal does not name the CA file"
[ ! -e "$conf" ] || fail "$conf was written with a refused CA file"
printf '%s\n' "pellora-vav pellora-vav/print-service-ca-file string $tls/ca.pem" |
    debconf-set-selections
DEBIAN_FRONTEND=noninteractive dpkg --configure "$package" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "dpkg --configure with TLS"; }
for entry in "Print Service TLS'>1" "Print Service TLS Port'>21327" \
    "Print Service HTTPS Port'>30045" "Print Service CA File'>$tls/ca.pem"; do
    grep -qF "<entry name='$entry</entry>" "$conf" || fail "$conf lacks $entry"
done
rm -rf "$work/patron-$patron_user"
fetched=$(grep -c '^HTTP GET /printers/ 200$' "$work/simulator.log")
start_client "$patron_user"
[ "$(grep -c '^HTTP GET /printers/ 200$' "$work/simulator.log")" -gt "$fetched" ] ||
    fail "the printer scripts were not fetched over TLS"
for service in print-service-messages print-service-https; do
    grep -q "Service \[$service\] accepted connection" "$work/stunnel.log" ||
        fail "nothing went through the terminator's $service"
done
stop_client
if grep 'No encrypted connection' "$patron/trace.log"; then
    fail "the kiosk traced a refused connection"
fi
echo "TLS kiosk: registered and fetched its printer scripts through stunnel4"

kill "$terminator" 2>/dev/null || true
wait "$terminator" 2>/dev/null || true
terminator=

kill "$sim" "$xvfb" ${cups:+"$cups"} 2>/dev/null || true
wait "$sim" "$xvfb" ${cups:+"$cups"} 2>/dev/null || true
sim= xvfb= cups=
wait_for 30 patron_gone "$patron_user" || fail "processes of $patron_user left: $(pgrep -a -u "$patron_user")"
userdel "$patron_user"

# The user unit of GNOME and KDE Plasma sessions, enabled for every user, and
# the autostart entry that keeps out of its way there. No systemd user session
# runs here: the unit is checked, not started.
user_unit=/usr/lib/systemd/user/pellora-vav.service
user_unit_link=/etc/systemd/user/graphical-session.target.wants/pellora-vav.service
check_user_unit() {
    echo "== package: the systemd user unit"
    [ -f "$user_unit" ] || fail "$user_unit missing"
    [ "$(readlink -f "$user_unit_link")" = "$user_unit" ] ||
        fail "the user unit is not enabled for every user ($user_unit_link)"
    grep -qx 'X-systemd-skip=true' /etc/xdg/autostart/pellora-vav.desktop ||
        fail "the autostart entry would start a second client where the unit runs"
    if ! command -v systemd-analyze >/dev/null; then
        echo "SKIP: no systemd-analyze; the unit's syntax is not checked"
        return
    fi
    local output
    output=$(XDG_RUNTIME_DIR="$work" systemd-analyze --user verify "$user_unit" 2>&1) ||
        fail "systemd-analyze verify: $output"
    [ -z "$output" ] || fail "systemd-analyze verify: $output"
    echo "installed and enabled for every user: $user_unit; systemd-analyze accepts it"
}
check_user_unit

echo "== package: purge"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "$package" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "apt-get purge"; }
left=$(while read -r file; do
    # Folders the package shares with others stay; its own go.
    if [ -d "$file" ] && [ ! -L "$file" ]; then
        case "$file" in */pellora-vav) echo "$file" ;; esac
    elif [ -e "$file" ] || [ -L "$file" ]; then
        echo "$file"
    fi
done <"$work/files")
[ -e /etc/pellora-vav ] && left="$left /etc/pellora-vav"
[ -L "$user_unit_link" ] && left="$left $user_unit_link"
[ -z "$left" ] || fail "left after purge: $left"
[ -z "$(debconf-show "$package" 2>/dev/null)" ] || fail "debconf still holds the answers"
echo "purged: none of the $(wc -l <"$work/files") paths of the package is left"
echo "== package: passed"
