#!/usr/bin/env bash
# Messages on standard error as "Title: text", exit statuses 0/1/2, help and version.
set -uo pipefail
exe=$1
source "$(dirname "$0")/common.sh"

mkdir -p "$work/main"
fails_with "no roster" 1 'Error: "roster.txt" could not be found. Make sure it is named correctly and in the main folder.' \
    "$exe" update --folder "$work/main"
expect_err "no roster: hint at init" 'Hint: "quenmark-updater init" makes the missing files and folders of a main folder and leaves the others alone.'
(cd "$work/main" && check_exit "no roster, current folder" 1 "$exe" update)
check_exit "help" 0 "$exe" --help
check "help text" grep -qF "run-batch [--jobs J] [--done-log LOG] FILE" "$work/out"
check_exit "version" 0 "$exe" --version
touch "$work/taken"
check_exit "init on a file" 1 "$exe" init "$work/taken"
# Bad usage: one line naming the problem as typed, then the command's help to
# try, which works; status 2.
while IFS='|' read -r what problem; do
    eval "args=($what)"
    program=${problem%%: *}
    check_exit "$what" 2 "$exe" "${args[@]}" || continue
    check "$what: stderr was: $(cat "$work/err")" \
        test "$(cat "$work/err")" = "$problem"$'\n'"Try '$program --help'."
    # shellcheck disable=SC2086 # the command, or nothing
    check "$program --help" grep -q '^Usage:' <("$exe" ${program#quenmark-updater} --help)
done <<'EOF_CASES'
update --bogus|quenmark-updater update: unknown option "--bogus".
update -bogus=1|quenmark-updater update: unknown option "-bogus".
update --timeout|quenmark-updater update: --timeout needs a value (SEC).
update --no-upload=yes|quenmark-updater update: --no-upload takes no value.
update --timeout soon|quenmark-updater update: --timeout takes a whole number of seconds above 0.
update --jobs 0|quenmark-updater update: --jobs takes a whole number from 1 to 64.
update extra|quenmark-updater update: unexpected argument "extra".
init a b|quenmark-updater init: unexpected argument "b".
run-batch|quenmark-updater run-batch: no batch file given.
ftp ftp.dat|quenmark-updater ftp: unexpected argument "ftp.dat".
help publish|quenmark-updater help: no command "publish".
publish|quenmark-updater: unknown command "publish".
--version extra|quenmark-updater: unexpected argument "extra".
--bogus|quenmark-updater: unknown option "--bogus".
EOF_CASES
# Every help fits a terminal, a long option name on a line of its own.
for command in "" init update trust run-batch ftp help; do
    # shellcheck disable=SC2086 # the command, or nothing
    check "${command:-usage} --help: a line past 79 columns" \
        test -z "$("$exe" $command --help | awk 'length > 79')"
done
check "--upload-timeout on a line of its own" grep -qx '  --upload-timeout SEC' <("$exe" update --help)
# An answer that cannot be written is no success.
for what in --help "update --help" --version; do
    # shellcheck disable=SC2086 # the arguments
    check "$what >/dev/full: not exit 1" test "$("$exe" $what 2>/dev/null >/dev/full; echo $?)" -eq 1
done

# The window without a display says what to do instead of aborting in Qt; a
# platform that needs no display opens the window (ended here by timeout).
no_display='quenmark-updater: no display; use `quenmark-updater update` to publish without a window.'
cd "$work"
fails_with "no display" 1 "$no_display" env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe"
fails_with "xcb without display" 1 "$no_display" \
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM='wayland;xcb' "$exe"
check_exit "offscreen needs no display" 124 \
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM='xcb;offscreen' timeout 3 "$exe"
finish
