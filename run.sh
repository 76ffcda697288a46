#!/usr/bin/env bash
# Publishes the example site once, on this machine alone: installs what running
# needs (not the tests' tools), builds the program, copies examples/ to a fresh
# temporary main folder, serves the members' pages over HTTP and receives the upload
# over FTP, both on 127.0.0.1, runs `quenmark-updater update` there and reports.
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
    "$root/tools/setup.sh" --run
    updater="$root/build/src/quenmark-updater"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-run.XXXXXX")
# shellcheck source=tools/example_site.sh
source "$root/tools/example_site.sh"
trap stop_servers EXIT
start_example_site || exit 1

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
