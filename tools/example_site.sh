# Sourced by run.sh and the publishing test: copies the example main folder to
# $work/main, serves the members' pages over HTTP and receives uploads over FTP,
# both on 127.0.0.1 on ports the system picks, and points the example roster and
# settings.dat at them. Needs $root (the repo) and $work (a fresh folder); sets
# main, ftp_root, http_port and ftp_port; stop_servers ends both servers.

# Debian's own python3 carries pyftpdlib; another python3 earlier on PATH may not.
python=/usr/bin/python3
pids=()

stop_servers() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    pids=()
}

# Waits for a server's log to show the line with its port; prints the port.
port_from_log() {
    local log=$1 pattern=$2 pid=$3 port=""
    for _ in $(seq 100); do
        port=$(sed -n "$pattern" "$log" | head -n 1)
        [[ -n $port ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if [[ -z $port ]]; then
        echo "a local server did not start; its log:" >&2
        cat "$log" >&2
        return 1
    fi
    echo "$port"
}

start_example_site() {
    main="$work/main"
    ftp_root="$work/ftp"
    cp -R "$root/examples" "$main"
    mkdir -p "$ftp_root/quenmark"

    # Port 0: the system picks a free port and the server names it in its log.
    "$python" -u -m http.server 0 --bind 127.0.0.1 --directory "$main/members" \
        >"$work/http.log" 2>&1 &
    pids+=($!)
    http_port=$(port_from_log "$work/http.log" \
        's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' $!) || return 1

    "$python" -u -m pyftpdlib -i 127.0.0.1 -p 0 -w -d "$ftp_root" -u quenmark -P zebulons \
        >"$work/ftp-server.log" 2>&1 &
    pids+=($!)
    ftp_port=$(port_from_log "$work/ftp-server.log" \
        's/.*starting FTP server on 127\.0\.0\.1:\([0-9]*\).*/\1/p' $!) || return 1

    # The example files name port 8000 and the server "127.0.0.1 2121"; point them
    # at the servers just started. sed leaves the CR of each CR LF line end in place.
    sed -i "s#http://127\.0\.0\.1:8000/#http://127.0.0.1:$http_port/#" "$main/roster.txt"
    sed -i "1s/.*/127.0.0.1 $ftp_port\r/" "$main/settings.dat"
}
