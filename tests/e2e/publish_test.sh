#!/usr/bin/env bash
# One publication of the example site with real lynx, an HTTP and an FTP server on loopback.
set -uo pipefail
updater=$(realpath "$1")
root=$(realpath "$2")
source "$(dirname "$0")/common.sh"
# shellcheck source=../../tools/example_site.sh
source "$root/tools/example_site.sh"
on_exit() { stop_servers; }
start_example_site || {
    echo "FAIL: the local servers did not start" >&2
    exit 1
}
# An address with an escape and a page with a byte above 127: lynx saves it byte for byte.
mv "$main/members/borin.html" "$main/members/bo rin.html"
printf '\xe9\r\n' >>"$main/members/bo rin.html"
sed -i 's#/borin\.html#/bo%20rin.html#' "$main/roster.txt"
check_exit "update" 0 "$updater" update --folder "$main" --timeout 120
cmp -s "$main/download/Borin.html" "$main/members/bo rin.html" || fail "Borin's page changed"
published="$ftp_root/quenmark"
pages=(elite.htm elite2.htm stage{1..14}.htm diff{p,t}-{1..3}.htm leaders.htm roster.htm points.htm)
for page in "${pages[@]}"; do
    if [[ ! -s $published/$page ]]; then
        fail "$page did not arrive"
    elif ! cmp -s <(tr -d '\r' <"$main/upload/$page") "$published/$page"; then
        # A text upload reaches pyftpdlib on POSIX with its lines ending LF.
        fail "$page arrived changed"
    fi
done
cmp -s "$main/upload/tarvo.jpg" "$published/tarvo.jpg" ||
    fail "tarvo.jpg did not arrive unchanged"
arrived=$(find "$published" -type f | wc -l)
[[ $arrived -eq 26 ]] || fail "$arrived files arrived, 26 expected"
# Every marker of the example templates is filled; every page but points.htm is dated.
grep -lF '***' "$published"/*.htm && fail "markers left on the pages above"
[[ $(grep -L "Last updated: " "$published"/*.htm) == "$published/points.htm" ]] ||
    fail "pages without a date: $(grep -L "Last updated: " "$published"/*.htm)"

# Members whose page could not be read: one down with a backup, one half written.
[[ $(cat "$main/errors.txt") == $'Fenwick\r\nGale - No backup!\r' ]] ||
    fail "errors.txt holds: $(cat -A "$main/errors.txt")"
# The banned member stays off the pages; the one with an odd name is on them.
grep -qs "Mallory" "$published"/*.htm && fail "the banned member is on the pages"
grep -qs "Dr. Who?" "$published"/*.htm || fail "Dr. Who? is missing from the pages"
# The password stays in ftp.dat.
grep -q "zebulons" "$work/out" "$work/err" && fail "the password was shown"
# The summary closes standard output; the count went before it, a line each.
tail -n 1 "$work/out" | grep -qE \
    '^Last run [0-9]{2}:[0-9]{2}: 12 members, 2 pages could not be read, upload finished$' ||
    fail "summary: $(tail -n 1 "$work/out")"
grep -qxF "12 of 12 pages" "$work/out" || fail "no final count line"

((failed)) && tail -n 40 "$work/ftp-server.log"
finish
