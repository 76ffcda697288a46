#!/usr/bin/env bash
# A roster mixing good, bad, missing, all-N/A and implausible pages and a number
# from invalidchrs.dat leaves the expected time files and errors.txt, written here
# from the rules, not by the program; a missing times.dat stops the run.
set -uo pipefail
updater=$(realpath "$1")
source "$(dirname "$0")/common.sh"
main="$work/main" site="$work/site" expected="$work/expected"
main_folder "$main"
mkdir -p "$site" "$expected"
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

check_exit "mixed roster" 0 "$updater" update --folder "$main" --no-upload --timeout 60
check "time files: exactly the expected ones" \
    test "$(cd "$main/download" && ls *.txt | tr '\n' ' ')" = "$(cd "$expected" && ls [!e]*.txt | tr '\n' ' ')"
for f in "$expected"/*.txt; do
    name=${f##*/} actual="$main/download/${f##*/}"
    [ "$name" = errors.txt ] && actual="$main/errors.txt"
    check "$name as expected" cmp -s "$actual" "$f"
done
check "--no-upload spoke of uploading: $(cat "$work/err")" test "$(grep -c Upload "$work/err")" -eq 0

rm "$main/times.dat" "$main"/upload/*
check_exit "missing times.dat" 1 "$updater" update --folder "$main" --no-upload --timeout 60
expect_err "missing times.dat" 'Error: "times.dat" was not found. Go into Members, then Enforce Times to have a new file created.'
check "missing times.dat: no page written" test ! -e "$main/upload/elite.htm"

finish
