#!/usr/bin/env bash
# One whole publication of the example site with real programs on loopback: lynx
# fetches the members' pages from a local HTTP server, `quenmark-updater update`
# ranks them, writes the pages and uploads them to a local FTP server.
#   bash publish_test.sh <quenmark-updater> <repo-root>
set -euo pipefail

updater=$(realpath "$1")
root=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-e2e.XXXXXX")
# shellcheck source=../../tools/example_site.sh
source "$root/tools/example_site.sh"
cleanup() {
    stop_servers
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

start_example_site || {
    echo "FAIL: the local servers did not start" >&2
    exit 1
}

status=0
"$updater" update --folder "$main" --timeout 120 >"$work/update.out" 2>"$work/update.err" ||
    status=$?
[[ $status -eq 0 ]] || fail "quenmark-updater update ended with status $status"

published="$ftp_root/quenmark"
pages=(elite.htm elite2.htm)
for n in $(seq 14); do pages+=("stage$n.htm"); done
for n in 1 2 3; do pages+=("diffp-$n.htm" "difft-$n.htm"); done
pages+=(leaders.htm roster.htm points.htm)

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

# Members whose page could not be read: one down with a backup, one half written.
[[ $(cat "$main/errors.txt") == $'Fenwick\r\nGale - No backup!\r' ]] ||
    fail "errors.txt holds: $(cat -A "$main/errors.txt")"
# The banned member stays off the pages; the one with an odd name is on them.
grep -qs "Mallory" "$published"/*.htm && fail "the banned member is on the pages"
grep -qs "Dr. Who?" "$published"/*.htm || fail "Dr. Who? is missing from the pages"
# The password stays in ftp.dat.
grep -q "zebulons" "$work/update.out" "$work/update.err" && fail "the password was shown"
# The summary closes standard output; the count went before it, a line each.
tail -n 1 "$work/update.out" | grep -qE \
    '^Last run [0-9]{2}:[0-9]{2}: 12 members, 2 pages could not be read, upload finished$' ||
    fail "summary: $(tail -n 1 "$work/update.out")"
grep -qxF "12 of 12 pages" "$work/update.out" || fail "no final count line"

if ((failures)); then
    echo "--- update output" >&2
    cat "$work/update.out" "$work/update.err" >&2
    echo "--- FTP server log" >&2
    tail -n 40 "$work/ftp-server.log" >&2
    exit 1
fi
echo "PASS: 25 pages and tarvo.jpg published"
