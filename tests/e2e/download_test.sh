#!/usr/bin/env bash
# The real lynx fetching two pages from a local web server saves them byte for byte.
set -uo pipefail
exe=$1
source "$(dirname "$0")/common.sh"
# shellcheck source=../../tools/example_site.sh
source "$2/tools/example_site.sh"
on_exit() { stop_servers; }

mkdir -p "$work/site"
main_folder "$work/main"
rm "$work/main/lynx/lynx"
printf '<html><body><table>\r\n<tr><td>Lamplight<td><b>1:23</b><td>N/A<td>10:05\r\n</table>\xe9\r\n' >"$work/site/ann.html"
printf 'Bob has no table yet\n' >"$work/site/bob lee.html"
"$python" -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" >"$work/http.log" 2>&1 &
pids+=($!)
port=$(port_from_log "$work/http.log" 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' $!) ||
    exit 1

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
