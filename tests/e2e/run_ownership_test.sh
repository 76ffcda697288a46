#!/usr/bin/env bash
# A run owns its main folder and its downloads: a second run is refused;
# --timeout, or a kill of the run, ends the batch with every process it started
# and the next run works; a missing browser, or a batch that ends without the
# end-of-roster page, or not one member page read, stops the run; ftp.dat that
# cannot be written is exit 3.
#   bash run_ownership_test.sh <quenmark-updater>
set -uo pipefail
exe=$(realpath "$1")
source "$(dirname "$0")/common.sh"
# A process that is gone or has ended (a zombie waiting for its parent).
ended() { local state; state=$(ps -o stat= -p "$1" 2>/dev/null); [[ -z $state || $state == Z* ]]; }
all_ended() { # file of process ids
    local pid
    for pid in $(cat "$1"); do ended "$pid" || return 1; done
}
# A browser that hangs, and a process it started that hangs too; both write
# their process ids to the main folder's file "pids".
slow_lynx='echo $$ >>../pids; sleep 41 & echo $! >>../pids; sleep 20'
nothing_left() { # what, folder
    local f
    for f in download.bat download/EndOfRoster.html download.pid download.done; do
        check "$1: $f left behind" test ! -e "$2/$f"
    done
}
fast_run_works() { # what, folder
    lynx_says "$2" "$whole_page"
    check_exit "$1: the next run" 0 "$exe" update --folder "$2" --no-upload --timeout 30
}

# --timeout ends the batch, the browser and what the browser started.
m="$work/timeout"
main_folder "$m"
lynx_says "$m" "$slow_lynx"
check_exit "timeout" 1 "$exe" update --folder "$m" --timeout 2
expect_err "timeout message" "Error: The downloads did not finish within 2 seconds."
# Standard output is no terminal: the count on lines of its own, the summary last.
grep -qxF "0 of 1 pages" "$work/out" && ok || fail "timeout: no count in $(cat "$work/out")"
tail -n 1 "$work/out" |
    grep -qE '^Last run [0-9]{2}:[0-9]{2}: stopped: The downloads did not finish within 2 seconds\.$' &&
    ok || fail "timeout: summary not last in $(cat "$work/out")"
all_ended "$m/pids" && ok || fail "timeout: a process of the batch still runs"
nothing_left "timeout" "$m"
fast_run_works "timeout" "$m"
# On a terminal the count is one line that rewrites itself.
lynx_says "$m" "$slow_lynx"
script -qec "$exe update --folder $m --timeout 2" /dev/null >"$work/tty" 2>&1
grep -q $'\r0 of 1 pages' "$work/tty" && ! grep -qx "0 of 1 pages" <(tr -d '\r' <"$work/tty") &&
    ok || fail "terminal count: $(cat -A "$work/tty")"

# A run killed while downloading takes its batch with it; the next run ends
# whatever else the batch started.
m="$work/killed"
main_folder "$m"
lynx_says "$m" "$slow_lynx"
"$exe" update --folder "$m" --no-upload >/dev/null 2>&1 &
run=$!
for _ in $(seq 100); do [[ $(cat "$m/pids" 2>/dev/null | wc -l) -ge 2 ]] && break; sleep 0.1; done
kill -9 "$run"
wait "$run" 2>/dev/null
browser=$(head -1 "$m/pids")
for _ in $(seq 50); do ended "$browser" && break; sleep 0.1; done
ended "$browser" && ok || fail "killed run: the browser still runs"
# What the browser started is the next run's to end.
fast_run_works "killed run" "$m"
all_ended "$m/pids" && ok || fail "killed run: a process of the batch still runs after the next run"

# A second run on the folder changes nothing.
m="$work/locked"
main_folder "$m"
check_exit "second run" 1 flock -n "$m/update.lock" "$exe" update --folder "$m" --no-upload
expect_err "second run message" "Error: Another update is running in this folder."
[[ ! -e $m/download.bat && ! -e $m/errors.txt ]] && ok || fail "second run: files written"

# No lynx in the lynx folder nor on the PATH.
m="$work/nolynx"
main_folder "$m"
rm "$m/lynx/lynx"
check_exit "no lynx" 1 env PATH=/nonexistent "$exe" update --folder "$m" --no-upload --timeout 30
expect_err "no lynx message" 'Error: The program "lynx" could not be found. Install it, or put it in the lynx folder.'
[[ ! -e $m/download.bat ]] && ok || fail "no lynx: download.bat written"

# A download folder that cannot be written: the batch ends without the last page.
# Root writes anywhere, so as root the run goes as nobody, with a copy of the
# program in the work folder: the build folder may be closed to others (/root).
m="$work/readonly"
main_folder "$m"
as_run=() runner=$exe skip=
if [[ $(id -u) -eq 0 ]]; then
    mkdir "$work/bin" && cp "$exe" "$work/bin/"
    runner=$work/bin/quenmark-updater
    chown -R 65534:65534 "$work"
    chown 0:0 "$m/download"
    as_run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    "${as_run[@]}" test -x "$runner" -a -w "$m" ||
        skip="user nobody cannot enter $work: a folder above it is closed to others"
else
    chmod a-w "$m/download"
fi
if [[ -n $skip ]]; then
    echo "SKIP: download not writable: $skip"
else
    check_exit "download not writable" 1 "${as_run[@]}" "$runner" update --folder "$m" --no-upload --timeout 30
    expect_err "download not writable message" 'Error: The downloads ended before the last page was fetched. Check that the folder "download" can be written.'
    [[ ! -e $m/download.bat ]] && ok || fail "download not writable: download.bat left behind"
fi
chmod u+w "$m/download"

# Not one page read (the connection down): the run stops.
m="$work/nopage" && main_folder "$m" && lynx_says "$m" 'exit 0'
check_exit "no page read" 1 "$exe" update --folder "$m" --no-upload --timeout 30
expect_err "no page read message" "Error: No member page could be read; check the connection. Nothing was published."

# ftp.dat that cannot be written: the pages are there, the upload did not happen.
m="$work/noscript"
main_folder "$m"
mkdir -p "$m/ftp.dat/in-the-way"
check_exit "ftp.dat not written" 3 "$exe" update --folder "$m" --no-upload --timeout 30
grep -q "The pages were not uploaded." "$work/err" && ok || fail "ftp.dat not written: no message"

finish
