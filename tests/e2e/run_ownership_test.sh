#!/usr/bin/env bash
# What only the whole program shows of a run owning its folder, its downloads and
# its upload: its processes end with it, however it ends, or with the next run; a
# second run is refused; a silent server holds the run no longer than its limit.
set -uo pipefail
exe=$(realpath "$1")
root=$(realpath "$2")
source "$(dirname "$0")/common.sh"
servers=()
on_exit() { kill "${servers[@]}" 2>/dev/null; }
# A browser that hangs, and a process it started that hangs too; both write
# their process ids to the main folder's file "pids".
slow_lynx='echo $$ >>../pids; sleep 41 & echo $! >>../pids; sleep 20'
all_end() { # what, folder
    for pid in $(cat "$2/pids"); do check "$1: process $pid of the batch still runs" ends_soon "$pid"; done
}
publishing_folder() { # folder, server options...: a main folder that uploads its pages there
    local port pid
    main_folder "$1" && mkdir -p "$1.ftp"
    read -r port pid < <(/usr/bin/python3 "$root/tests/support/test_servers.py" ftp "$1.ftp" \
        secret "${@:2}" 2>"$1.log")
    servers+=("$pid")
    crlf "127.0.0.1 $port" ranker secret yellow " 0 " " 3 " " 1 " " 0 " \
        " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 0 " >"$1/settings.dat"
}

# The time limit ends the browser and what it started. On a terminal the count
# is one line that rewrites itself.
m="$work/timeout" && main_folder "$m" && lynx_says "$m" "$slow_lynx"
check_exit "timeout on a terminal" 1 script -qec "$exe update --folder $m --timeout 2" /dev/null
check "timeout message: $(cat "$work/out")" grep -qF \
    "Error: The downloads did not finish within 2 seconds." "$work/out"
grep -q $'\r0 of 1 pages' "$work/out" && ! grep -qx "0 of 1 pages" <(tr -d '\r' <"$work/out") &&
    ok || fail "terminal count: $(cat -A "$work/out")"
all_end "timeout" "$m"

# A second run while one runs is refused and leaves that run's batch alone.
m="$work/killed" && main_folder "$m" && lynx_says "$m" "$slow_lynx"
"$exe" update --folder "$m" --no-upload >/dev/null 2>&1 &
run=$!
for _ in $(seq 100); do [[ $(cat "$m/pids" 2>/dev/null | wc -l) -ge 2 ]] && break; sleep 0.1; done
fails_with "second run" 1 "Error: Another update is running in this folder." \
    "$exe" update --folder "$m" --no-upload
browser=$(head -1 "$m/pids") && sleep 0.2
check "second run: the first run's browser ended" grep -q '^[^Z]' <(ps -o stat= -p "$browser")
kill -9 "$run" && wait "$run" 2>/dev/null
check "killed run: the browser still runs" ends_soon "$browser"
# What the browser started is the next run's to end, and so is a client that
# some run left running (its marker in its environment, its record in ftp.pid).
setsid env QUENMARK_UPLOAD=0123456789abcdef01234567 sleep 60 &
servers+=($!) && disown
crlf " $! " QUENMARK_UPLOAD=0123456789abcdef01234567 >"$m/ftp.pid"
lynx_says "$m" "$whole_page"
check_exit "killed run: the next run" 0 "$exe" update --folder "$m" --no-upload --timeout 30
all_end "killed run" "$m"
check "leftover client: still runs" ends_soon "$!"

# A server that stops answering at the first file: the run's limit, or the
# upload's own, ends the upload once, and the folder is free again.
for option in "--timeout 10" "--upload-timeout 4"; do
    m="$work/silent${option##* }"
    publishing_folder "$m" --stall-at 1
    start=$SECONDS
    check_exit "silent server, $option" 3 "$exe" update --folder "$m" $option
    check "$option: took $((SECONDS - start)) s" test $((SECONDS - start)) -le $((${option##* } + 3))
    check "$option: $(cat "$work/err")" grep -q "^Upload failed: .*ran out" "$work/err"
    check "silent server, $option: folder still locked" flock -n "$m/update.lock" true
done
# Killed during the upload, the run takes its client with it.
m="$work/killed-upload"
publishing_folder "$m" --stall-at 2
"$exe" update --folder "$m" >/dev/null 2>&1 &
run=$!
for _ in $(seq 100); do grep -q "^ftp> put" "$m/ftp.log" 2>/dev/null && break; sleep 0.1; done
client=$(head -n 1 "$m/ftp.pid" | tr -d ' \r')
kill -9 "$run" && wait "$run" 2>/dev/null
check "killed upload: its client still runs" ends_soon "$client"

# A download folder that cannot be written: the batch ends without the last page.
# Root writes anywhere, so as root the run goes as nobody, with a copy of the
# program in the work folder: the build folder may be closed to others (/root).
m="$work/readonly" && main_folder "$m" && chmod a-w "$m/download"
as_run=() runner=$exe
if [[ $(id -u) -eq 0 ]]; then
    mkdir "$work/bin" && cp "$exe" "$work/bin/" && runner=$work/bin/quenmark-updater
    chown -R 65534:65534 "$work" && chown 0:0 "$m/download"
    as_run=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
if ! "${as_run[@]}" test -x "$runner" -a -w "$m"; then
    echo "SKIP: download not writable: the user nobody cannot enter $work (a folder above is closed)"
else
    fails_with "download not writable" 1 'Error: The downloads ended before the last page was fetched. Check that the folder "download" can be written.' \
        "${as_run[@]}" "$runner" update --folder "$m" --no-upload --timeout 30
    check "download not writable: download.bat left behind" test ! -e "$m/download.bat"
fi
finish
