#!/usr/bin/env bash
# A headless update with the real lynx fetching two pages from a local web
# server: the saved pages are the served files byte for byte, the sentinel
# exists, and the run ends with exit status 0.
set -euo pipefail
exe=$1
work=$(mktemp -d)
server_pid=""
cleanup() {
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/site" "$work/main"/{lynx,download,templates,upload}
printf '<html><body><table>\r\n<tr><td>Lamplight<td><b>1:23</b><td>N/A<td>10:05\r\n</table>\xe9\r\n' >"$work/site/ann.html"
printf 'Bob has no table yet\n' >"$work/site/bob lee.html"

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
/usr/bin/python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/site" >/dev/null 2>&1 &
server_pid=$!
for _ in $(seq 50); do
    /usr/bin/python3 -c "import socket; socket.create_connection(('127.0.0.1',$port),1)" 2>/dev/null && break
    sleep 0.1
done

cd "$work/main"
printf 'Ann\r\nAN\r\nred\r\nhttp://127.0.0.1:%s/ann.html\r\nann@example.org\r\n\r\n' "$port" >roster.txt
printf 'Bob Lee\r\nBL\r\nblue\r\nhttp://127.0.0.1:%s/bob%%20lee.html\r\n???\r\n\r\n' "$port" >>roster.txt
printf 'h\r\nu\r\np\r\nyellow\r\n 0 \r\n 3 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n' >settings.dat
: >times.dat
for t in elite elite2 stage diff leaders roster points; do printf '<p>***</p>\r\n' >"templates/$t.html"; done

status=0
"$exe" update --no-upload --timeout 120 >out.txt 2>err.txt || status=$?
fail() { echo "FAIL: $*"; echo "--- stdout"; cat out.txt; echo "--- stderr"; cat err.txt; exit 1; }
[[ $status -eq 0 ]] || fail "exit status $status"
cmp -s download/Ann.html "$work/site/ann.html" || fail "Ann's page differs from the served file"
cmp -s "download/Bob Lee.html" "$work/site/bob lee.html" || fail "Bob's page differs from the served file"
[[ -f download/EndOfRoster.html ]] || fail "no sentinel"
[[ ! -f download.bat ]] || fail "download.bat left behind"
grep -qx "Doing Scary Calculations" out.txt || fail "no processing stage"
grep -q "Almost done!: Uploading now - Have a nice day!" err.txt || fail "no closing message"
echo "1 passed, 0 failed"
