#!/usr/bin/env bash
# The command line's promises: messages on standard error as "Title: text", exit
# statuses 0/1/2, --help and --version, and --timeout giving up on a download
# that never ends.
set -uo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
check() { # description, expected status, command...
    local what=$1 want=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [[ $got -eq $want ]]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what: exit $got, wanted $want"
        cat "$work/out" "$work/err"
    fi
}
expect_err() { # description, exact line expected on stderr
    if grep -qxF "$2" "$work/err"; then passed=$((passed + 1)); else
        failed=$((failed + 1))
        echo "FAIL: $1: stderr was:"
        cat "$work/err"
    fi
}

mkdir -p "$work/main"
check "no roster" 1 "$exe" update --folder "$work/main"
expect_err "no roster message" 'Error: "roster.txt" could not be found. Make sure it is named correctly and in the main folder.'
expect_err "no roster: hint at init" 'Hint: "quenmark-updater init" makes the missing files and folders of a main folder and leaves the others alone.'
tail -n 1 "$work/out" | grep -qE '^Last run [0-9]{2}:[0-9]{2}: stopped: "roster.txt" could not be found' &&
    passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: no-roster summary"; cat "$work/out"; }
(cd "$work/main" && check "no roster, current folder" 1 "$exe" update)

check "help" 0 "$exe" --help
grep -qF "run-batch [--jobs J] [--done-log LOG] FILE" "$work/out" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: help text"; }
check "version" 0 "$exe" --version
check "unknown command" 2 "$exe" publish
check "unknown option" 2 "$exe" update --fast
check "bad timeout" 2 "$exe" update --timeout soon
check "no jobs" 2 "$exe" update --jobs 0
check "run-batch, too many jobs" 2 "$exe" run-batch --jobs 65 download.bat
check "ftp without script" 2 "$exe" ftp ftp.dat
check "run-batch without file" 2 "$exe" run-batch
check "update --help" 0 "$exe" update --help
grep -q -- "--timeout SEC" "$work/out" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL: update help text"; }
check "help on an unknown command" 2 "$exe" help publish
check "init with two folders" 2 "$exe" init "$work/a" "$work/b"
touch "$work/taken"
check "init where a file stands" 1 "$exe" init "$work/taken"

# The window without a display says what to do instead of aborting in Qt; a
# platform that needs no display opens the window (ended here by timeout).
no_display='quenmark-updater: no display; use `quenmark-updater update` to publish without a window.'
(cd "$work" && check "no display" 1 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe")
expect_err "no display message" "$no_display"
(cd "$work" && check "xcb without display" 1 env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM='wayland;xcb' "$exe")
expect_err "xcb without display message" "$no_display"
(cd "$work" && check "offscreen needs no display" 124 env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM='xcb;offscreen' timeout 3 "$exe")

echo "$passed passed, $failed failed"
((failed == 0))
