#!/usr/bin/env bash
# The real lynx fetching two pages from a local web server saves them byte for byte.
set -uo pipefail
exe=$1
source "$(dirname "$0")/common.sh"
server_pid=""
on_exit() { [[ -z $server_pid ]] || kill "$server_pid" 2>/dev/null; }

mkdir -p "$work/site"
main_folder "$work/main"
rm "$work/main/lynx/lynx"
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
{
    crlf Ann AN red "http://127.0.0.1:$port/ann.html" ann@example.org ""
    crlf "Bob Lee" BL blue "http://127.0.0.1:$port/bob%20lee.html" "???" ""
} >roster.txt
check_exit "update" 0 "$exe" update --no-upload --timeout 120
check "Ann's page differs from the served file" cmp -s download/Ann.html "$work/site/ann.html"
check "Bob's page differs from the served file" cmp -s "download/Bob Lee.html" "$work/site/bob lee.html"
check "no sentinel" test -f download/EndOfRoster.html
check "download.bat left behind" test ! -f download.bat
check "--no-upload spoke of uploading" test "$(cat "$work/out" "$work/err" | grep -c Upload)" -eq 0
check "summary: $(tail -n 1 "$work/out")" grep -q "upload skipped$" <(tail -n 1 "$work/out")
finish
