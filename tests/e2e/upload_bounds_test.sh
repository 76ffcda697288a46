#!/usr/bin/env bash
# The upload belongs to its run: a server that stops answering holds the run,
# and its lock, no longer than the run's time limit; a run killed during the
# upload leaves no FTP client behind; a client some run left behind is ended by
# the next run.
#   bash upload_bounds_test.sh <quenmark-updater> <repo>
set -uo pipefail
exe=$(realpath "$1")
root=$(realpath "$2")
source "$(dirname "$0")/common.sh"
servers=()
on_exit() {
    local pid
    for pid in "${servers[@]}" ${leftover:-}; do kill "$pid" 2>/dev/null; done
}
# A process that is gone or has ended (a zombie waiting for its parent).
ended() { local state; state=$(ps -o stat= -p "$1" 2>/dev/null); [[ -z $state || $state == Z* ]]; }
ends_soon() { # pid: within five seconds
    local _
    for _ in $(seq 50); do ended "$1" && return 0; sleep 0.1; done
    return 1
}
publishing_folder() { # folder, server options...: a main folder that uploads its pages there
    local m=$1 port pid
    shift
    main_folder "$m"
    mkdir -p "$m.ftp"
    read -r port pid < <(/usr/bin/python3 "$root/tests/support/test_servers.py" ftp "$m.ftp" \
        secret "$@" 2>"$m.server.log")
    servers+=("$pid")
    crlf "127.0.0.1 $port" ranker secret yellow " 0 " " 3 " " 1 " " 0 " \
        " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 0 " >"$m/settings.dat"
}
elapsed_within() { # what, seconds, command...: the command ends in time
    local what=$1 limit=$2 start=$SECONDS
    shift 2
    "$@"
    local status=$?
    ((SECONDS - start <= limit)) && ok || fail "$what: took $((SECONDS - start)) s"
    return $status
}

# A server that stops answering at the first file: the run's limit, or the
# upload's own, ends the upload once, and the folder is free again.
# option | limit | the longest the run may take
while IFS='|' read -r option limit longest; do
    m="$work/silent$limit"
    publishing_folder "$m" --stall-at 1
    elapsed_within "silent server, $option $limit" "$longest" \
        check_exit "silent server, $option $limit" 3 "$exe" update --folder "$m" "$option" "$limit"
    grep -q "^Upload failed: .*ran out" "$work/err" && ok ||
        fail "silent server, $option $limit: $(cat "$work/err")"
    check "silent server, $option $limit: ftp.pid left" test ! -e "$m/ftp.pid"
    check "silent server, $option $limit: folder still locked" flock -n "$m/update.lock" true
done <<'EOF'
--timeout|10|13
--upload-timeout|4|7
EOF

# Killed during the upload, the run takes its client with it.
m="$work/killed"
publishing_folder "$m" --stall-at 2
"$exe" update --folder "$m" >/dev/null 2>&1 &
run=$!
for _ in $(seq 100); do grep -q "^ftp> put" "$m/ftp.log" 2>/dev/null && break; sleep 0.1; done
client=$(head -n 1 "$m/ftp.pid" 2>/dev/null | tr -d ' \r')
check "killed run: no client was running" test -n "$client"
kill -9 "$run"
wait "$run" 2>/dev/null
[[ -n $client ]] && { ends_soon "$client" && ok || fail "killed run: its client still runs"; }

# A client that some run left running (its marker in its environment, its
# record in ftp.pid) is ended before the next run starts anything.
m="$work/leftover"
main_folder "$m"
marker=0123456789abcdef01234567
setsid env "QUENMARK_UPLOAD=$marker" sleep 60 &
leftover=$!
disown # ended by the run, not by us
crlf " $leftover " "QUENMARK_UPLOAD=$marker" >"$m/ftp.pid"
check_exit "leftover client: the next run" 0 "$exe" update --folder "$m" --no-upload --timeout 30
ends_soon "$leftover" && ok || fail "leftover client: still runs"
check "leftover client: ftp.pid left" test ! -e "$m/ftp.pid"

finish
