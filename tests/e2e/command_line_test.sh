#!/usr/bin/env bash
# Messages on standard error as "Title: text", exit statuses 0/1/2, help and version.
set -uo pipefail
exe=$1
source "$(dirname "$0")/common.sh"

mkdir -p "$work/main"
check_exit "no roster" 1 "$exe" update --folder "$work/main"
expect_err "no roster" 'Error: "roster.txt" could not be found. Make sure it is named correctly and in the main folder.'
expect_err "no roster: hint at init" 'Hint: "quenmark-updater init" makes the missing files and folders of a main folder and leaves the others alone.'
check "no-roster summary: $(cat "$work/out")" grep -qE \
    '^Last run [0-9]{2}:[0-9]{2}: stopped: "roster.txt" could not be found' <(tail -n 1 "$work/out")
(cd "$work/main" && check_exit "no roster, current folder" 1 "$exe" update)

check_exit "help" 0 "$exe" --help
check "help text" grep -qF "run-batch [--jobs J] [--done-log LOG] FILE" "$work/out"
check_exit "update --help" 0 "$exe" update --help
check "update help text" grep -q -- "--timeout SEC" "$work/out"
check_exit "version" 0 "$exe" --version
touch "$work/taken"
while read -r want what; do
    eval "args=($what)"
    check_exit "$what" "$want" "$exe" "${args[@]}"
done <<EOF_CASES
2 publish
2 update --fast
2 update --timeout soon
2 update --jobs 0
2 run-batch --jobs 65 download.bat
2 ftp ftp.dat
2 run-batch
2 help publish
2 init "$work/a" "$work/b"
1 init "$work/taken"
EOF_CASES

# The window without a display says what to do instead of aborting in Qt; a
# platform that needs no display opens the window (ended here by timeout).
no_display='quenmark-updater: no display; use `quenmark-updater update` to publish without a window.'
cd "$work"
check_exit "no display" 1 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe"
expect_err "no display" "$no_display"
check_exit "xcb without display" 1 env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM='wayland;xcb' "$exe"
expect_err "xcb without display" "$no_display"
check_exit "offscreen needs no display" 124 env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM='xcb;offscreen' timeout 3 "$exe"
finish
