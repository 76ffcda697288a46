# Sourced by the end-to-end scripts: a scratch folder, counted checks and a small main folder.
# shellcheck shell=bash
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-e2e.XXXXXX")
on_exit() { :; }
trap 'on_exit; rm -rf "$work"' EXIT
passed=0
failed=0
ok() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)) && echo "FAIL: $*"; }
check() { # description of the fault, then the command that must succeed
    local what=$1
    shift
    "$@" && ok && return 0
    fail "$what"
    return 1
}
check_exit() { # description, expected status, command...; output in $work/out and $work/err
    local what=$1 want=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [[ $got -eq $want ]] && ok && return 0
    fail "$what: exit $got, wanted $want"
    cat "$work/out" "$work/err"
    return 1
}
expect_err() { check "$1: stderr was: $(cat "$work/err")" grep -qxF "$2" "$work/err"; }
fails_with() { # description, expected status, the line on standard error, command...
    check_exit "$1" "$2" "${@:4}"
    expect_err "$1" "$3"
}
finish() {
    echo "$passed passed, $failed failed"
    ((failed == 0))
}
# A process gone or ended (a zombie waiting for its parent) within five seconds;
# ps reads the state (procps).
ends_soon() {
    for _ in $(seq 50); do [[ -n $1 && $(ps -o stat= -p "$1") =~ ^(Z.*)?$ ]] && return 0; sleep 0.1; done
    return 1
}
crlf() { printf '%s\r\n' "$@"; }
lynx_says() { printf '#!/bin/sh\n%s\n' "$2" >"$1/lynx/lynx" && chmod +x "$1/lynx/lynx"; }
# A browser that gives every address a page with all 42 times: a run reads it.
whole_page='echo "<table>"; for i in $(seq 14); do echo "<tr><td>Lamplight<td>1:00<td>2:00<td>3:00"; done'
main_folder() { # folder: one member, blank templates and a lynx that prints a whole page
    mkdir -p "$1"/{lynx,download,templates,upload}
    crlf Ann AN red http://127.0.0.1:9/a.html a@x "" >"$1/roster.txt"
    crlf h u p yellow " 0 " " 3 " " 1 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " \
        >"$1/settings.dat"
    : >"$1/times.dat"
    for t in elite elite2 stage diff leaders roster points; do
        crlf '<p>***</p>' >"$1/templates/$t.html"
    done
    lynx_says "$1" "$whole_page"
}
site_arrived() { # main folder, published folder: the example site's 25 pages and its picture
    local page
    for page in "$1"/upload/*.htm; do # a text upload reaches the server on POSIX with LF line ends
        cmp -s <(tr -d '\r' <"$page") "$2/${page##*/}" || fail "${page##*/} did not arrive whole"
    done
    check "tarvo.jpg did not arrive unchanged" cmp -s "$1/upload/tarvo.jpg" "$2/tarvo.jpg"
    check "files arrived: $(ls "$2")" test "$(ls "$2" | wc -l)" -eq 26
}
