#!/usr/bin/env bash
# One whole publication of the example site with real programs on loopback: lynx
# fetches the members' pages from a local HTTP server, `quenmark-updater update`
# ranks them, writes the pages and uploads them to a local FTP server.
#   bash publish_test.sh <quenmark-updater> <repo-root>
set -euo pipefail

updater=$(realpath "$1")
root=$(realpath "$2")
python=/usr/bin/python3 # Debian's python3 carries pyftpdlib

work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-e2e.XXXXXX")
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

port_from_log() {
    local log=$1 pattern=$2 pid=$3 port=""
    for _ in $(seq 100); do
        port=$(sed -n "$pattern" "$log" | head -n 1)
        [[ -n $port ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    [[ -n $port ]] || {
        echo "FAIL: a local server did not start:" >&2
        cat "$log" >&2
        exit 1
    }
    echo "$port"
}

main="$work/main"
ftp_root="$work/ftp"
cp -R "$root/examples" "$main"
mkdir -p "$ftp_root/quenmark"

"$python" -u -m http.server 0 --bind 127.0.0.1 --directory "$main/members" \
    >"$work/http.log" 2>&1 &
pids+=($!)
http_port=$(port_from_log "$work/http.log" 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' $!)
"$python" -u -m pyftpdlib -i 127.0.0.1 -p 0 -w -d "$ftp_root" -u quenmark -P zebulons \
    >"$work/ftp-server.log" 2>&1 &
pids+=($!)
ftp_port=$(port_from_log "$work/ftp-server.log" \
    's/.*starting FTP server on 127\.0\.0\.1:\([0-9]*\).*/\1/p' $!)

sed -i "s#http://127\.0\.0\.1:8000/#http://127.0.0.1:$http_port/#" "$main/roster.txt"
sed -i "1s/.*/127.0.0.1 $ftp_port\r/" "$main/settings.dat"

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

if ((failures)); then
    echo "--- update output" >&2
    cat "$work/update.out" "$work/update.err" >&2
    echo "--- FTP server log" >&2
    tail -n 40 "$work/ftp-server.log" >&2
    exit 1
fi
echo "PASS: 25 pages and tarvo.jpg published"
