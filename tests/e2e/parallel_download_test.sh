#!/usr/bin/env bash
# Fetching at once (the default) leaves the same download folder as --jobs 1, with a
# slow member and two of one name (the later page wins); lynx notes fetches under way.
set -uo pipefail
exe=$1
source "$(dirname "$0")/common.sh"

make_main() { # folder
    local m=$1
    main_folder "$m"
    mkdir "$m/running"
    cat >"$m/lynx/lynx" <<'LYNX'
#!/bin/sh
touch ../running/$$
ls ../running | wc -l >>../under-way.txt
case "$2" in *slow*) sleep 1 ;; esac
printf '<table>\r\n<tr><td>Lamplight<td>%s<td>N/A<td>10:05\r\n' "${2##*/}"
sleep 0.2
printf '</table>\r\n'
rm ../running/$$
LYNX
    chmod +x "$m/lynx/lynx"
    for i in $(seq 10); do
        page="http://127.0.0.1:9/$i:0$i"
        ((i == 3)) && page="http://127.0.0.1:9/slow/1:03"
        crlf "Member $((i == 7 ? 3 : i))" "M$i" red "$page" m@x ""
    done >"$m/roster.txt"
}

for run in one many; do make_main "$work/$run"; done
check_exit "--jobs 1 run" 0 "$exe" update --folder "$work/one" --no-upload --jobs 1
check_exit "default run" 0 "$exe" update --folder "$work/many" --no-upload
check "the download folders differ" diff -r "$work/one/download" "$work/many/download"
check "the later member of the same name lost" grep -q "7:07" "$work/many/download/Member 3.html"
check "--jobs 1 fetched at once" test "$(sort -n "$work/one/under-way.txt" | tail -n 1)" -eq 1
check "the default run fetched line by line" test "$(sort -n "$work/many/under-way.txt" | tail -n 1)" -gt 1
finish
