#!/usr/bin/env bash
# Publishes the example site once, on this machine alone: installs what is missing,
# builds, copies examples/ to a fresh temporary main folder, serves the members'
# pages over HTTP and receives the upload over FTP, both on 127.0.0.1, and runs
# `quenmark-updater update` there. Then it reports what arrived.
#
#   ./run.sh          one headless publication
#   ./run.sh --gui    the main window on such a folder, servers running, to press Update!
#
# QUENMARK_UPDATER=/path/to/quenmark-updater skips the install and build and runs that one.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
gui=0
for arg in "$@"; do
    case $arg in
        --gui) gui=1 ;;
        -h | --help)
            sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
            exit 0
            ;;
        *)
            echo "run.sh: unknown option $arg (try --help)" >&2
            exit 2
            ;;
    esac
done

if ((gui)) && [[ -z ${DISPLAY:-}${WAYLAND_DISPLAY:-} ]]; then
    echo "run.sh: --gui needs a desktop (DISPLAY is not set)." >&2
    exit 1
fi

if [[ -n ${QUENMARK_UPDATER:-} ]]; then
    updater=$QUENMARK_UPDATER
else
    "$root/tools/setup.sh"
    updater="$root/build/quenmark-updater"
fi

# Debian's own python3 carries pyftpdlib; another python3 earlier on PATH may not.
python=/usr/bin/python3

work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-run.XXXXXX")
main="$work/main"
ftp_root="$work/ftp"
cp -R "$root/examples" "$main"
mkdir -p "$ftp_root/quenmark"

pids=()
stop_servers() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    pids=()
}
trap stop_servers EXIT

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
        echo "run.sh: a local server did not start; its log:" >&2
        cat "$log" >&2
        exit 1
    fi
    echo "$port"
}

# Port 0: the system picks a free port and the server names it in its log.
"$python" -u -m http.server 0 --bind 127.0.0.1 --directory "$main/members" \
    >"$work/http.log" 2>&1 &
pids+=($!)
http_port=$(port_from_log "$work/http.log" 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' $!)

"$python" -u -m pyftpdlib -i 127.0.0.1 -p 0 -w -d "$ftp_root" -u quenmark -P zebulons \
    >"$work/ftp-server.log" 2>&1 &
pids+=($!)
ftp_port=$(port_from_log "$work/ftp-server.log" \
    's/.*starting FTP server on 127\.0\.0\.1:\([0-9]*\).*/\1/p' $!)

# The example files name port 8000 and the server "127.0.0.1 2121"; point them at
# the servers just started. sed leaves the CR of each CR LF line end in place.
sed -i "s#http://127\.0\.0\.1:8000/#http://127.0.0.1:$http_port/#" "$main/roster.txt"
sed -i "1s/.*/127.0.0.1 $ftp_port\r/" "$main/settings.dat"

echo "Main folder:   $main"
echo "Member pages:  http://127.0.0.1:$http_port/"
echo "FTP server:    127.0.0.1 port $ftp_port, receiving into $ftp_root"
echo

status=0
if ((gui)); then
    echo "Press \"Update!\" in the window; close it when the upload is done."
    (cd "$main" && "$updater") || status=$?
    # The window starts the upload and does not wait for it: wait until its
    # transcript has stopped growing before the FTP server goes.
    if [[ -f $main/ftp.dat ]]; then
        last=-1
        for _ in $(seq 60); do
            size=$(stat -c %s "$main/ftp.log" 2>/dev/null || echo 0)
            ((size > 0 && size == last)) && break
            last=$size
            sleep 2
        done
    fi
else
    "$updater" update --folder "$main" --timeout 120 || status=$?
fi
stop_servers

published="$ftp_root/quenmark"
expected=(elite.htm elite2.htm)
for n in $(seq 14); do expected+=("stage$n.htm"); done
for n in 1 2 3; do expected+=("diffp-$n.htm" "difft-$n.htm"); done
expected+=(leaders.htm roster.htm points.htm tarvo.jpg)
arrived=0
missing=()
for file in "${expected[@]}"; do
    if [[ -s $published/$file ]]; then
        arrived=$((arrived + 1))
    else
        missing+=("$file")
    fi
done

echo
echo "Published pages: $published"
echo "Arrived: $arrived of ${#expected[@]} files${missing:+ (missing: ${missing[*]})}"
if [[ -f $main/ftp.log ]]; then
    echo "Upload transcript: $main/ftp.log"
fi
echo "Error log (errors.txt, members whose pages could not be read):"
if [[ -s $main/errors.txt ]]; then
    tr -d '\r' <"$main/errors.txt" | sed 's/^/  /'
else
    echo "  (none)"
fi
if ((status != 0)); then
    echo "quenmark-updater ended with status $status."
fi
exit "$status"
