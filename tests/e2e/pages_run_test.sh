#!/usr/bin/env bash
# Whole runs of `quenmark-updater update --no-upload` on the example main folder,
# with a stand-in lynx that serves the example members' pages from files: the
# run writes every page of the site, in the run's order; a missing template
# stops the run with its message, keeping the pages written before it.
#   bash pages_run_test.sh <quenmark-updater> <repo-root>
set -uo pipefail

updater=$(realpath "$1")
root=$(realpath "$2")
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-pages.XXXXXX")
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
    failed=$((failed + 1))
    echo "FAIL: $*"
}

# The pages in the order a run writes them, and the template of each.
pages=(elite.htm elite2.htm)
templates=(elite.html elite2.html)
for n in $(seq 14); do pages+=("stage$n.htm"); templates+=(stage.html); done
for kind in diffp difft; do
    for n in 1 2 3; do pages+=("$kind-$n.htm"); templates+=(diff.html); done
done
pages+=(leaders.htm roster.htm points.htm)
templates+=(leaders.html roster.html points.html)

# A fresh copy of the example main folder whose lynx prints the member page
# named by the last part of the address, and nothing for any other address.
new_main() {
    local main="$work/$1"
    cp -R "$root/examples" "$main"
    mkdir -p "$main/lynx"
    cat >"$main/lynx/lynx" <<'LYNX'
#!/bin/sh
page="../members/${2##*/}"
[ -f "$page" ] && cat "$page"
exit 0
LYNX
    chmod +x "$main/lynx/lynx"
    echo "$main"
}

run_update() { # main folder; leaves status in $status, output in out.txt/err.txt
    status=0
    (cd "$1" && SOURCE_DATE_EPOCH=1800000307 timeout 120 "$updater" update --no-upload \
        >out.txt 2>err.txt) || status=$?
}

# --- A complete run.
main=$(new_main complete)
run_update "$main"
[[ $status -eq 0 ]] && pass || fail "complete run: exit $status: $(cat "$main/err.txt")"
grep -qxF "Almost done!: Uploading now - Have a nice day!" "$main/err.txt" && pass ||
    fail "complete run: no closing message"
[[ -f $main/ftp.dat ]] && pass || fail "complete run: no ftp.dat"

written=0
previous=0
for i in "${!pages[@]}"; do
    page="$main/upload/${pages[$i]}"
    if [[ ! -s $page ]]; then
        fail "${pages[$i]} missing or empty"
        continue
    fi
    written=$((written + 1))
    # Every line ends CR LF, no marker of the example templates is left over,
    # and every page but the points page carries the stamp of the run's moment.
    if [[ $(tr -cd '\n' <"$page" | wc -c) -ne $(grep -c $'\r$' "$page") ]] ||
        [[ $(tail -c 2 "$page" | od -An -c | tr -d ' ') != '\r\n' ]]; then
        fail "${pages[$i]}: a line without CR LF"
    fi
    grep -qF '***' "$page" && fail "${pages[$i]}: a marker left over"
    if [[ ${pages[$i]} != points.htm ]]; then
        grep -qE 'Last updated: .*2027 at 08:05' "$page" || fail "${pages[$i]}: no date stamp"
    fi
    # Written one after the other: modification times never go back.
    stamp=$(stat -c %.9Y "$page")
    if awk -v a="$previous" -v b="$stamp" 'BEGIN { exit !(b < a) }'; then
        fail "${pages[$i]} is older than the page before it"
    fi
    previous=$stamp
done
[[ $written -eq 25 ]] && pass || fail "complete run wrote $written of the 25 pages"
# With the operator's picture, upload/ holds the 26 files the upload sends.
[[ $(find "$main/upload" -type f | wc -l) -eq 26 ]] && pass || fail "upload/ does not hold 26 files"

members=$(($(wc -l <"$main/roster.txt") / 6))
rows=$(grep -c '^<tr align=.*(times)</a>' "$main/upload/roster.htm")
[[ $rows -eq $members ]] && pass || fail "roster.htm has $rows rows for $members members"
grep -qF '<td>1st</td><td><font color=yellow>200</font></td>' "$main/upload/points.htm" && pass ||
    fail "points.htm lacks the first place of the scale"
grep -qF '<title>Quenmark Rankings - Reactor Core</title>' "$main/upload/stage14.htm" && pass ||
    fail "stage14.htm is not the page of the fourteenth level"
grep -qF '<h2>Master Time Standings</h2>' "$main/upload/difft-3.htm" && pass ||
    fail "difft-3.htm is not the Master time page"

# --- Each template missing in turn: the run stops at its first page.
for missing in elite.html elite2.html stage.html diff.html leaders.html roster.html points.html; do
    main=$(new_main "without-$missing")
    rm "$main/templates/$missing"
    run_update "$main"
    [[ $status -eq 1 ]] && pass || fail "without $missing: exit $status"
    grep -qxF "Error: \"templates/$missing\" could not be found." "$main/err.txt" && pass ||
        fail "without $missing: stderr was: $(cat "$main/err.txt")"
    grep -qF "Almost done!" "$main/err.txt" && fail "without $missing: the run went on"
    [[ -f $main/ftp.dat ]] && fail "without $missing: ftp.dat written"
    reached=0
    for i in "${!pages[@]}"; do
        [[ ${templates[$i]} == "$missing" ]] && reached=1
        if ((reached)); then
            [[ -e $main/upload/${pages[$i]} ]] && fail "without $missing: ${pages[$i]} written"
        else
            [[ -s $main/upload/${pages[$i]} ]] || fail "without $missing: ${pages[$i]} not kept"
        fi
    done
    pass
done

echo "$passed passed, $failed failed"
((failed == 0))
