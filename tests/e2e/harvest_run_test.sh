#!/usr/bin/env bash
# Whole runs of `quenmark-updater update --no-upload` with a stand-in lynx that
# prints local files by the last part of the address: a roster mixing good,
# bad, missing, all-N/A and implausible pages and a number from invalidchrs.dat
# leaves the expected time files and errors.txt; a missing times.dat stops the
# run with its message. Expected files are written here from the rules for
# time files and the error log, not produced by the program.
#   bash harvest_run_test.sh <quenmark-updater> <repo-root>
set -uo pipefail

updater=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-harvest.XXXXXX")
trap 'rm -rf "$work"' EXIT
main="$work/main" site="$work/site" expected="$work/expected"
mkdir -p "$main"/{lynx,download,templates,upload} "$site" "$expected"

failed=0
check() { # description, condition...
    local what=$1
    shift
    "$@" || { failed=$((failed + 1)) && echo "FAIL: $what"; }
}
crlf() { printf '%s\r\n' "$@"; }
clock() { printf '%d:%02d' $(($1 / 60)) $(($1 % 60)); }

# A member page: cell c (level l + 14 d) holds the text "$1 c" prints.
page() {
    local names=("Lamplight" "Copper Crown" "Harbour Sprint" "Tunnel Revolt" "Frost Welcome"
        "Dusk Patrol" "Late Platform" "Velvet Gala" "Sky Bridges 1" "Sky Bridges 2"
        "Broken Oath" "Stone Spire" "Flooded Hull" "Reactor Core") l d
    printf '<html><body>\n<h1>My times</h1>\n<table border=1>\n'
    printf '<tr><th>Level</th><th>Rookie</th><th>Veteran</th><th>Master</th></tr>\n'
    for l in $(seq 0 13); do
        printf '<tr><td>%s</td>' "${names[$l]}"
        for d in 0 1 2; do printf '<td>%s</td>' "$($1 $((l + 14 * d)))"; done
        printf '</tr>\r\n'
    done
    printf '</table>\n</body></html>\n'
}
good() { clock $((100 + $1)); }
all_na() { printf 'N/A'; }
implausible() { if (($1 == 20)); then printf '0:02'; else clock $((200 + $1)); fi; }

# A time file: zones of 14 characters at positions 1, 15, 29; cell c holds "$1 c".
time_file() {
    local l
    for l in $(seq 0 13); do
        printf '%-14s%-14s %s \r\n' " $($1 $l) " " $($1 $((l + 14))) " "$($1 $((l + 28)))"
    done
}
v_good() { echo $((100 + $1)); }
v_old() { echo $((2000 + $1)); }
v_penalty() { echo 1200; }

cat >"$main/lynx/lynx" <<LYNX
#!/bin/sh
page="$site/\${2##*/}"
[ -f "\$page" ] && cat "\$page"
exit 0
LYNX
chmod +x "$main/lynx/lynx"
crlf ftp.example.invalid user secret yellow " 0 " " 3 " " 1 " " 0 " \
    " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " >"$main/settings.dat"
for t in elite elite2 stage diff leaders roster points; do
    crlf '<p>***</p>' >"$main/templates/$t.html"
done
: >"$main/times.dat"
crlf Zed/Ex " 5 " >"$main/invalidchrs.dat"
for m in Ann:good Bob: Cy: Dee:all_na Eve:implausible Zed/Ex:good Gil:all_na; do
    name=${m%%:*} kind=${m#*:} file=$(echo "${name%%/*}" | tr A-Z a-z).html
    [ -n "$kind" ] && page "$kind" >"$site/$file"
    crlf "$name" XX white "http://members.invalid/$file" "x@example.invalid" ""
done >"$main/roster.txt"
printf '<html><body><h1>404 Not Found</h1></body></html>\n' >"$site/bob.html"
time_file v_old >"$main/download/Bob.txt"
time_file v_old >"$main/download/Dee.txt"

# Good pages become time files, also by a member's number; bad, missing, all-N/A
# and implausible pages leave the old file or none; all-N/A without one: penalties.
time_file v_good >"$expected/Ann.txt"
time_file v_old >"$expected/Bob.txt"
time_file v_old >"$expected/Dee.txt"
time_file v_good >"$expected/5.txt"
time_file v_penalty >"$expected/Gil.txt"
crlf Bob "Cy - No backup!" >"$expected/errors.txt"

run() {
    status=0
    (cd "$main" && "$updater" update --no-upload --timeout 60 >out.txt 2>err.txt) || status=$?
}
run
check "mixed roster: exit status 0 (was $status)" test "$status" -eq 0
check "time files: exactly the expected ones" \
    test "$(cd "$main/download" && ls *.txt | tr '\n' ' ')" = "$(cd "$expected" && ls [!e]*.txt | tr '\n' ' ')"
for f in "$expected"/*.txt; do
    name=${f##*/} actual="$main/download/${f##*/}"
    [ "$name" = errors.txt ] && actual="$main/errors.txt"
    check "$name as expected" cmp -s "$actual" "$f"
done
check "the run ends with its closing message" grep -q "Almost done!: Uploading now - Have a nice day!" "$main/err.txt"

rm "$main/times.dat" "$main"/upload/*
run
check "missing times.dat: exit status 1 (was $status)" test "$status" -eq 1
check "missing times.dat: the message" grep -qxF \
    'Error: "times.dat" was not found. Go into Members, then Enforce Times to have a new file created.' "$main/err.txt"
check "missing times.dat: no page written" test ! -e "$main/upload/elite.htm"

echo "$failed failed"
((failed == 0))
