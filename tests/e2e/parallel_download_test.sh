#!/usr/bin/env bash
# A headless update fetching at once (the default) leaves the same download
# folder as one fetching line by line (--jobs 1): a roster with a slow member
# and two members of the same name, whose later page must win. A stand-in lynx
# notes how many fetches are under way, so the test also sees that the default
# run fetched at once and --jobs 1 did not.
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

make_main() { # folder
    local m=$1
    mkdir -p "$m"/{lynx,download,templates,upload,running}
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
    : >"$m/roster.txt"
    for i in $(seq 10); do
        name="Member $i"
        page="http://127.0.0.1:9/$i:0$i"
        ((i == 3)) && page="http://127.0.0.1:9/slow/1:03"
        ((i == 7)) && name="Member 3"
        printf '%s\r\nM%s\r\nred\r\n%s\r\nm@x\r\n\r\n' "$name" "$i" "$page" >>"$m/roster.txt"
    done
    printf 'h\r\nu\r\np\r\nyellow\r\n 0 \r\n 3 \r\n 1 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n' >"$m/settings.dat"
    : >"$m/times.dat"
    for t in elite elite2 stage diff leaders roster points; do
        printf '<p>***</p>\r\n' >"$m/templates/$t.html"
    done
}

for run in one many; do
    make_main "$work/$run"
done
"$exe" update --folder "$work/one" --no-upload --jobs 1 >/dev/null 2>&1 || fail "--jobs 1 run failed"
"$exe" update --folder "$work/many" --no-upload >/dev/null 2>&1 || fail "default run failed"

diff -r "$work/one/download" "$work/many/download" || fail "the download folders differ"
grep -q "7:07" "$work/many/download/Member 3.html" || fail "the later member of the same name lost"
[[ $(sort -n "$work/one/under-way.txt" | tail -n 1) -eq 1 ]] || fail "--jobs 1 fetched at once"
[[ $(sort -n "$work/many/under-way.txt" | tail -n 1) -gt 1 ]] || fail "the default run fetched line by line"
echo "1 passed, 0 failed"
