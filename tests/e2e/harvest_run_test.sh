#!/usr/bin/env bash
# Whole runs of `quenmark-updater update --no-upload` with a stand-in lynx that
# prints local files by the last part of the address: a roster mixing good,
# bad, missing, all-N/A and implausible pages, an unusable name and a number
# from invalidchrs.dat leaves the expected time files and errors.txt; a
# missing times.dat stops the run after the first member; an empty roster
# needs no times.dat. Expected files are written here from the rules for
# time files and the error log, not produced by the program.
#   bash harvest_run_test.sh <quenmark-updater> <repo-root>
set -uo pipefail

updater=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-harvest.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
check() { # description, condition...
    local what=$1
    shift
    if "$@"; then passed=$((passed + 1)); else
        failed=$((failed + 1))
        echo "FAIL: $what"
    fi
}
same() { cmp -s "$1" "$2"; }

crlf() { printf '%s\r\n' "$@"; }
clock() { printf '%d:%02d' $(($1 / 60)) $(($1 % 60)); }

# A member page: cell c (level l + 14 d) holds the text "$1 c" prints.
page() {
    local cell=$1 l d
    printf '<html><head><title>Times</title></head><body>\n<h1>My Quenmark times</h1>\n'
    printf '<table border=1>\n<tr><th>Level</th><th>Rookie</th><th>Veteran</th><th>Master</th></tr>\n'
    local names=("Lamplight" "Copper Crown" "Harbour Sprint" "Tunnel Revolt" "Frost Welcome"
        "Dusk Patrol" "Late Platform" "Velvet Gala" "Sky Bridges 1" "Sky Bridges 2"
        "Broken Oath" "Stone Spire" "Flooded Hull" "Reactor Core")
    for l in $(seq 0 13); do
        printf '<tr><td>%s</td>' "${names[$l]}"
        for d in 0 1 2; do printf '<td>%s</td>' "$($cell $((l + 14 * d)))"; done
        printf '</tr>\r\n'
    done
    printf '</table>\n</body></html>\n'
}
good() { clock $((100 + $1)); }
good_bold() { printf '<b>%s</b>' "$(clock $((300 + $1)))"; }
all_na() { printf 'N/A'; }
implausible() { if (($1 == 20)); then printf '0:02'; else clock $((200 + $1)); fi; }

# A time file by the format: zones of 14 characters at positions 1, 15, 29;
# value of cell c is what "$1 c" prints.
time_file() {
    local value=$1 l
    for l in $(seq 0 13); do
        printf '%-14s%-14s %s \r\n' " $($value $l) " " $($value $((l + 14))) " "$($value $((l + 28)))"
    done
}
plus() { echo $(($1 + $2)); }
v_good() { plus 100 "$1"; }
v_bold() { plus 300 "$1"; }
v_old() { plus 2000 "$1"; }
v_penalty() { echo 1200; }

new_main() {
    local main="$work/$1" site="$work/$1-site"
    mkdir -p "$main"/{lynx,download,templates,upload} "$site"
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
    : >"$main/invalidchrs.dat"
    : >"$main/times.dat"
    echo "$main"
}

member() { # name, page file
    crlf "$1" XX white "http://members.invalid/$2" "x@example.invalid" ""
}

run() { # main folder; sets status
    status=0
    (cd "$1" && "$updater" update --no-upload --timeout 60 >out.txt 2>err.txt) || status=$?
}

# --- A mixed roster -------------------------------------------------------
main=$(new_main mixed)
site="$work/mixed-site"
page good >"$site/ann.html"
printf '<html><body><h1>404 Not Found</h1></body></html>\n' >"$site/bob.html"
page all_na >"$site/dee.html"
page implausible >"$site/eve.html"
page good_bold >"$site/fay.html"
page good >"$site/zed.html"
page all_na >"$site/gil.html"
page good >"$site/roster.html"
{
    member Ann ann.html
    member Bob bob.html
    member Cy cy.html
    member Dee dee.html
    member Eve eve.html
    member ../roster roster.html
    member Zed/Ex zed.html
    member Fay fay.html
    member Gil gil.html
} >"$main/roster.txt"
cp "$main/roster.txt" "$work/roster-before"
crlf Zed/Ex " 5 " >"$main/invalidchrs.dat"
crlf Fay " 0 " " 0 " "0:03" "" Fay " 13 " " 2 " "n/a" "" >"$main/times.dat"
time_file v_old >"$main/download/Bob.txt"
time_file v_old >"$main/download/Dee.txt"
cp "$main/download/Bob.txt" "$work/old"

run "$main"
check "mixed roster: exit status 0 (was $status)" test "$status" -eq 0
time_file v_good >"$work/ann"
check "Ann's good page becomes her time file" same "$main/download/Ann.txt" "$work/ann"
check "Bob's bad page leaves his time file" same "$main/download/Bob.txt" "$work/old"
check "Cy has no page and gets no time file" test ! -e "$main/download/Cy.txt"
check "Dee's all-N/A page leaves her time file" same "$main/download/Dee.txt" "$work/old"
check "Eve's implausible time writes no time file" test ! -e "$main/download/Eve.txt"
check "Zed/Ex's page and time file go by his number" same "$main/download/5.txt" "$work/ann"
time_file v_bold >"$work/fay"
check "Fay's time file holds the page, not the enforced times" same "$main/download/Fay.txt" "$work/fay"
time_file v_penalty >"$work/gil"
check "Gil's all-N/A page without a backup is written as penalties" same "$main/download/Gil.txt" "$work/gil"
check "../roster touches no file outside download" same "$main/roster.txt" "$work/roster-before"
check "no page fetched for ../roster" test ! -e "$main/roster.html"
check "time files written: exactly the expected ones" \
    test "$(cd "$main/download" && ls *.txt | sort | tr '\n' ' ')" = "5.txt Ann.txt Bob.txt Dee.txt Fay.txt Gil.txt "
crlf Bob "Cy - No backup!" "../roster - Invalid file name!" >"$work/errors"
check "errors.txt lists the bad pages in roster order" same "$main/errors.txt" "$work/errors"
check "the run ends with its closing message" grep -q "Almost done!: Uploading now - Have a nice day!" "$main/err.txt"

# --- times.dat missing: the run stops after the first member ---------------
rm "$main/times.dat" "$main/download/Ann.txt" "$main/download/Fay.txt" "$main"/upload/*
run "$main"
check "missing times.dat: exit status 1 (was $status)" test "$status" -eq 1
check "missing times.dat: the message" grep -qxF \
    'Error: "times.dat" was not found. Go into Members, then Enforce Times to have a new file created.' "$main/err.txt"
check "missing times.dat: the first member was handled" same "$main/download/Ann.txt" "$work/ann"
check "missing times.dat: later members were not" test ! -e "$main/download/Fay.txt"
check "missing times.dat: errors.txt emptied, Ann's page was good" test ! -s "$main/errors.txt"
check "missing times.dat: no page written" test ! -e "$main/upload/elite.htm"

# --- An empty roster needs no times.dat -----------------------------------
main=$(new_main empty)
: >"$main/roster.txt"
rm "$main/times.dat"
run "$main"
check "empty roster without times.dat: exit status 0 (was $status)" test "$status" -eq 0
check "empty roster: errors.txt empty" test ! -s "$main/errors.txt"

echo "$passed passed, $failed failed"
((failed == 0))
