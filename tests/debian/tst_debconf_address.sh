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

# The CA file and the ports of an encrypted connection, checked the same way.
dir=$(mktemp -d)
trap 'rm -f "$check"; rm -rf "$dir"' EXIT
# check_row NAME EXPECTED(valid|invalid) FUNCTION VALUE
check_row() {
    if "$3" "$4"; then got=valid; else got=invalid; fi
    if [ "$got" != "$2" ]; then
        echo "FAIL: $1: expected $2, got $got"
        failures=$((failures + 1))
    fi
}
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj /CN=ca \
    -keyout "$dir/ca.key" -out "$dir/ca.pem" -days 2 > /dev/null 2>&1 ||
    { echo "FAIL: openssl cannot make a certificate"; exit 1; }
cat "$dir/ca.key" "$dir/ca.pem" > "$dir/key-first.pem"
sed -e 's/^M/X/' "$dir/ca.pem" > "$dir/broken.pem"
printf 'not a certificate\n' > "$dir/text.pem"
{ cat "$dir/ca.pem"; head -c 1048577 /dev/zero | tr '\0' 'x'; } > "$dir/huge.pem"

check_row "CA file"                 valid   pellora_vav_valid_ca_file "$dir/ca.pem"
check_row "CA file, key before"     valid   pellora_vav_valid_ca_file "$dir/key-first.pem"
check_row "CA file missing"         invalid pellora_vav_valid_ca_file "$dir/missing.pem"
check_row "CA file a folder"        invalid pellora_vav_valid_ca_file "$dir"
check_row "CA file not PEM"         invalid pellora_vav_valid_ca_file "$dir/text.pem"
check_row "CA file a private key"   invalid pellora_vav_valid_ca_file "$dir/ca.key"
check_row "CA file broken PEM"      invalid pellora_vav_valid_ca_file "$dir/broken.pem"
check_row "CA file above 1 MiB"     invalid pellora_vav_valid_ca_file "$dir/huge.pem"
check_row "CA file relative"        invalid pellora_vav_valid_ca_file "ca.pem"
check_row "CA file, newline"        invalid pellora_vav_valid_ca_file "$(printf '%s\nx' "$dir/ca.pem")"
check_row "port"                    valid   pellora_vav_valid_port 21327
check_row "port 65535"              valid   pellora_vav_valid_port 65535
check_row "port 65536"              invalid pellora_vav_valid_port 65536
check_row "port 0"                  invalid pellora_vav_valid_port 0
check_row "port, leading zero"      invalid pellora_vav_valid_port 021327
check_row "port, not digits"        invalid pellora_vav_valid_port 2132x
check_row "port, empty"             invalid pellora_vav_valid_port ""

# Blanks around an answer are trimmed before the check.
[ "$(pellora_vav_trim '  ps.example.org	')" = ps.example.org ] ||
    { echo "FAIL: trimmed answer"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "all rows passed"
exit "$failures"
