#!/usr/bin/env bash
# The upload belongs to its run: a server that stops answering holds the run,
# and its lock, no longer than the run's time limit; a run killed during the
# upload leaves no FTP client behind, and one that some run left behind is
# ended by the next run.
#   bash upload_bounds_test.sh <quenmark-updater> <repo>
set -uo pipefail
exe=$(realpath "$1")
root=$(realpath "$2")
source "$(dirname "$0")/common.sh"
pids=()
on_exit() { kill "${pids[@]}" 2>/dev/null; }
ends_soon() { # pid: gone, or a zombie, within five seconds
    for _ in $(seq 50); do [[ -n $1 && $(ps -o stat= -p "$1") =~ ^(Z.*)?$ ]] && return 0; sleep 0.1; done
    return 1
}
publishing_folder() { # folder, server options...: a main folder that uploads its pages there
    local port pid
    main_folder "$1"
    mkdir -p "$1.ftp"
    read -r port pid < <(/usr/bin/python3 "$root/tests/support/test_servers.py" ftp "$1.ftp" \
        secret "${@:2}" 2>"$1.log")
    pids+=("$pid")
    crlf "127.0.0.1 $port" ranker secret yellow " 0 " " 3 " " 1 " " 0 " \
        " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 0 " >"$1/settings.dat"
}

# A server that stops answering at the first file: the run's limit, or the
# upload's own, ends the upload once, and the folder is free again.
for option in "--timeout 10" "--upload-timeout 4"; do
    m="$work/silent${option##* }"
    publishing_folder "$m" --stall-at 1
    start=$SECONDS
    check_exit "silent server, $option" 3 "$exe" update --folder "$m" $option
    ((SECONDS - start <= ${option##* } + 3)) && ok || fail "$option: took $((SECONDS - start)) s"
    grep -q "^Upload failed: .*ran out" "$work/err" && ok || fail "$option: $(cat "$work/err")"
    check "silent server, $option: folder still locked" flock -n "$m/update.lock" true
done

# Killed during the upload, the run takes its client with it.
m="$work/killed"
publishing_folder "$m" --stall-at 2
"$exe" update --folder "$m" >/dev/null 2>&1 &
run=$!
for _ in $(seq 100); do grep -q "^ftp> put" "$m/ftp.log" 2>/dev/null && break; sleep 0.1; done
client=$(head -n 1 "$m/ftp.pid" | tr -d ' \r')
kill -9 "$run" && wait "$run" 2>/dev/null
check "killed run: its client still runs" ends_soon "$client"

# A client that some run left running (its marker in its environment, its
# record in ftp.pid) is ended before the next run starts anything.
m="$work/leftover"
main_folder "$m"
setsid env QUENMARK_UPLOAD=0123456789abcdef01234567 sleep 60 &
pids+=($!) && disown
crlf " $! " QUENMARK_UPLOAD=0123456789abcdef01234567 >"$m/ftp.pid"
check_exit "leftover client: the next run" 0 "$exe" update --folder "$m" --no-upload --timeout 30
check "leftover client: still runs" ends_soon "$!"

finish
