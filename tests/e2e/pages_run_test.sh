#!/usr/bin/env bash
# The example main folder with a lynx serving its members' pages from files: a run
# writes every page in order; a template missing at the start stops it before the
# downloads; one that goes during them stops it there, keeping the pages before.
set -uo pipefail

updater=$(realpath "$1")
root=$(realpath "$2")
source "$(dirname "$0")/common.sh"

# A fresh copy of the example main folder whose lynx prints the member page
# named by the last part of the address, then runs the update there. The
# template $2 goes while the pages download; $3 is missing from the start.
run_update() {
    main="$work/$1"
    cp -R "$root/examples" "$main"
    [[ -n ${3:-} ]] && rm "$main/templates/$3"
    mkdir -p "$main/lynx"
    {
        echo '#!/bin/sh'
        [[ -n ${2:-} ]] && echo "rm -f '../templates/$2'"
        cat <<'LYNX'
page="../members/${2##*/}"
[ -f "$page" ] && cat "$page"
exit 0
LYNX
    } >"$main/lynx/lynx"
    chmod +x "$main/lynx/lynx"
    status=0
    (cd "$main" && SOURCE_DATE_EPOCH=1800000307 timeout 120 "$updater" update --no-upload \
        >out.txt 2>err.txt) || status=$?
}

# --- A complete run: every page, each no older than the one before it.
run_update complete
check "complete run: exit $status: $(cat "$main/err.txt")" test "$status" -eq 0
check "complete run: --no-upload spoke of uploading" test "$(grep -c Upload "$main/err.txt")" -eq 0
check "complete run: no ftp.dat" test -f "$main/ftp.dat"
previous=0
for page in "${pages[@]}"; do
    file="$main/upload/$page"
    check "$page missing or empty" test -s "$file" || continue
    check "$page: a marker left over" test "$(grep -cF '***' "$file")" -eq 0
    [[ $page == points.htm ]] ||
        check "$page: no date stamp" grep -qE 'Last updated: .*2027 at 08:05' "$file"
    stamp=$(stat -c %.9Y "$file")
    check "$page is older than the page before it" \
        awk -v a="$previous" -v b="$stamp" 'BEGIN { exit !(b >= a) }'
    previous=$stamp
done
check "upload/ holds other files than the 25 pages and the operator's picture" \
    test "$(find "$main/upload" -type f | wc -l)" -eq 26
check "roster.htm: not one row per member" test "$(grep -c '(times)</a>' "$main/upload/roster.htm")" \
    -eq $(($(wc -l <"$main/roster.txt") / 6))

# --- A template missing at the start: nothing is downloaded or written.
run_update missing-at-start "" roster.html
check "missing at start: exit $status" test "$status" -eq 1
check "missing at start: stderr was: $(cat "$main/err.txt")" \
    grep -qxF "Error: \"templates/roster.html\" could not be found." "$main/err.txt"
check "missing at start: the batch ran" test -z "$(find "$main/download" -name '*.html')"
check "missing at start: a page written" test ! -e "$main/upload/elite.htm"

# --- Each template going during the downloads: the run stops at its first page.
for missing in elite.html elite2.html stage.html diff.html leaders.html roster.html points.html; do
    run_update "without-$missing" "$missing"
    check "without $missing: exit $status" test "$status" -eq 1
    check "without $missing: stderr was: $(cat "$main/err.txt")" \
        grep -qxF "Error: \"templates/$missing\" could not be found." "$main/err.txt"
    check "without $missing: ftp.dat written" test ! -e "$main/ftp.dat"
    reached=0
    for i in "${!pages[@]}"; do
        [[ ${templates[$i]} == "$missing" ]] && reached=1
        if ((reached)); then
            check "without $missing: ${pages[$i]} written" test ! -e "$main/upload/${pages[$i]}"
        else
            check "without $missing: ${pages[$i]} not kept" test -s "$main/upload/${pages[$i]}"
        fi
    done
done

finish
