#!/bin/sh
# The package's check of the Print Service address, run from the source tree:
# the check is taken out of debian/pellora-vav.config as it stands, without
# debconf and without installing anything.
# Usage: tst_debconf_address.sh DEBIAN_DIR
set -u

config=${1:?usage: $0 DEBIAN_DIR}/pellora-vav.config
check=$(mktemp)
trap 'rm -f "$check"' EXIT
sed -n '/^# --- address check/,/^# --- end of address check/p' "$config" > "$check"
grep -q 'pellora_vav_valid_address()' "$check" || { echo "FAIL: no address check in $config"; exit 1; }
. "$check"

failures=0
# row NAME EXPECTED(valid|invalid) VALUE
row() {
    if pellora_vav_valid_address "$3"; then got=valid; else got=invalid; fi
    if [ "$got" != "$2" ]; then
        echo "FAIL: $1: expected $2, got $got"
        failures=$((failures + 1))
    fi
}

long_label=$(printf 'a%.0s' $(seq 1 64))
long_name=$(printf 'abcdefghi.%.0s' $(seq 1 25))abcd   # 254 characters

row "host name"               valid   printservice.example.org
row "single label"            valid   printserver
row "underscore"              valid   print_srv.lab
row "absolute name"           valid   printservice.example.org.
row "IPv4"                    valid   192.0.2.10
row "IPv6"                    valid   2001:db8::10
row "IPv6 loopback"           valid   ::1
row "IPv6 mapped IPv4"        valid   ::ffff:192.0.2.1
row "IPv6 with a zone"        valid   fe80::1%eth0
row "253 characters"          valid   "$(printf '%s' "$long_name" | cut -c 2-)"
row "254 characters"          invalid "$long_name"
row "label of 64"             invalid "$long_label.example.org"
row "inner blank"             invalid "print service"
row "tab"                     invalid "$(printf 'print\tservice')"
row "control character"       invalid "$(printf 'print\001service')"
row "escape sequence"         invalid "$(printf 'ps\033[2J')"
row "markup"                  invalid "<ps>"
row "ampersand"               invalid "ps&co"
row "apostrophe"              invalid "ps'x"
row "double quote"            invalid 'ps"x'
row "port"                    invalid "ps.example.org:21326"
row "URL"                     invalid "http://ps.example.org"
row "not a quad"              invalid 192.168.1
row "octet above 255"         invalid 192.0.2.300
row "leading hyphen"          invalid -ps.example.org
row "label ending in hyphen"  invalid ps-.example.org
row "empty label"             invalid ps..example.org
row "leading dot"             invalid .example.org
row "two ::"                  invalid 2001::db8::1
row "one colon"               invalid ps:1
row "empty zone"              invalid "fe80::1%"
row "bad zone"                invalid "fe80::1%eth0%1"
row "non-ASCII letter"        invalid "$(printf 'pr\303\251s.example.org')"
row "empty"                   invalid ""

# Blanks around an answer are trimmed before the check.
[ "$(pellora_vav_trim '  ps.example.org	')" = ps.example.org ] ||
    { echo "FAIL: trimmed answer"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "all rows passed"
exit "$failures"
