#!/usr/bin/env bash
# The example site published with real lynx from an HTTP server on loopback, over
# FTP with TLS to ProFTPD, whose self-signed certificate the test makes: refused
# with its fingerprint (exit 3) until `trust --yes` records it; then the site
# arrives whole. (Plain FTP is the client test's and the window test's.)
set -uo pipefail
updater=$(realpath "$1")
root=$(realpath "$2")
source "$(dirname "$0")/common.sh"
# shellcheck source=../../tools/example_site.sh
source "$root/tools/example_site.sh"
on_exit() { stop_servers && [[ -n ${ftpd_pid-} ]] && kill "$ftpd_pid" 2>/dev/null; }
start_example_site || { echo "FAIL: the local servers did not start" >&2 && exit 1; }
# An address with an escape and a page with a byte above 127: lynx saves it byte for byte.
mv "$main/members/borin.html" "$main/members/bo rin.html"
printf '\xe9\r\n' >>"$main/members/bo rin.html"
sed -i 's#/borin\.html#/bo%20rin.html#' "$main/roster.txt"
read -r ftpd_port ftpd_pid < <(/usr/bin/python3 "$root/tests/support/test_servers.py" proftpd \
    "$work/ftpd" zebulons 2>"$work/ftpd.err")
[[ -n $ftpd_pid ]] || { echo "FAIL: ProFTPD did not start: $(cat "$work/ftpd.err")" >&2 && exit 1; }
published="$work/ftpd/root/quenmark" && mkdir -p "$published"
sed -i "1s|.*|ftpes://127.0.0.1:$ftpd_port\r|" "$main/settings.dat"
fingerprint=$(openssl x509 -noout -fingerprint -sha256 -in "$work/ftpd/cert.pem" | sed 's/.*=//')
check_exit "update to a server not yet trusted" 3 "$updater" update --folder "$main" --timeout 120
check "the fingerprint is named: $(cat "$work/out" "$work/err")" \
    grep -q "fingerprint is $fingerprint\." "$work/out" "$work/err"
check "the failure is a message on standard error: $(cat "$work/err")" \
    grep -q "^Upload failed: Login to 127.0.0.1 port $ftpd_port failed: The certificate" "$work/err"
grep -q "Uploading now" "$work/err" && fail "an uploading message after the upload had ended"
check_exit "trust, answered no" 1 "$updater" trust --folder "$main" </dev/null
check "trust shows the fingerprint" grep -qxF "SHA-256 fingerprint: $fingerprint" "$work/out"
check "nothing recorded without yes" test ! -e "$main/trusted.pem"
check_exit "trust --yes" 0 "$updater" trust --folder "$main" --yes
check "trusted.pem lacks the certificate" grep -qF "$(sed -n 2p "$work/ftpd/cert.pem")" "$main/trusted.pem"
check_exit "trust once more" 0 "$updater" trust --folder "$main"
check "trusted already" grep -qxF "The server is trusted already." "$work/out"
check_exit "update after trust" 0 "$updater" update --folder "$main" --timeout 120
check "the files are counted" grep -qxF "26 of 26 files" "$work/out"
check "Borin's page changed" cmp -s "$main/download/Borin.html" "$main/members/bo rin.html"
site_arrived "$main" "$published"
# Every marker of the example templates is filled; every page but points.htm is dated.
grep -lF '***' "$published"/*.htm && fail "markers left on the pages above"
check "pages without a date: $(grep -L "Last updated: " "$published"/*.htm)" \
    test "$(grep -L "Last updated: " "$published"/*.htm)" == "$published/points.htm"
# Members whose page could not be read: one down with a backup, one half written.
check "errors.txt holds: $(cat -A "$main/errors.txt")" \
    test "$(cat "$main/errors.txt")" == $'Fenwick\r\nGale - No backup!\r'
grep -q "zebulons" "$work/out" "$work/err" && fail "the password was shown"
# The summary closes standard output; the count went before it, a line each.
check "summary: $(tail -n 1 "$work/out")" grep -qE \
    '^Last run [0-9]{2}:[0-9]{2}: 12 members, 2 pages could not be read, upload finished$' \
    <(tail -n 1 "$work/out")
check "no final count line" grep -qxF "12 of 12 pages" "$work/out"
finish
