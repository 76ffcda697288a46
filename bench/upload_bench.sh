#!/usr/bin/env bash
# The upload of the example site (25 pages and the picture) by the program's
# FTP client over plain FTP and over ftpes:// (explicit TLS; each data
# connection resumes the login's TLS session), both to ProFTPD on 127.0.0.1.
# Prints the median of several uploads for each and their ratio.
#
# Usage: bench/upload_bench.sh [path/to/quenmark-updater] [uploads]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(realpath "${1:-$root/build/src/quenmark-updater}")
uploads=${2:-7}
servers=$root/tests/support/test_servers.py
work=$(mktemp -d)
server_pids=()
cleanup() {
    stop_servers
    for pid in "${server_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=../tools/example_site.sh
source "$root/tools/example_site.sh"
[[ -x /usr/sbin/proftpd ]] || { echo "ProFTPD is needed: tools/setup.sh installs it" >&2; exit 1; }

# The pages and ftp.dat of one run of the example site, not uploaded.
start_example_site >/dev/null
"$exe" update --folder "$main" --no-upload >/dev/null 2>&1
stop_servers

# Starts a server (name, then options of test_servers.py proftpd); sets `port`.
# Not in a subshell, so that its process id is kept for the end.
serve() {
    local pid
    read -r port pid < <(/usr/bin/python3 "$servers" proftpd "$work/$1" zebulons "${@:2}")
    server_pids+=("$pid")
    mkdir -p "$work/$1/root/quenmark"
}
serve plain --plain
plain_port=$port
serve tls
tls_port=$port
cp "$work/tls/cert.pem" "$main/trusted.pem"

# Seconds of one upload by `ftp -s:` in the main folder, to the address given.
upload_seconds() {
    sed -i "1s|.*|open $1\r|" "$main/ftp.dat"
    /usr/bin/python3 - "$exe" "$main" <<'PY'
import subprocess, sys, time
exe, folder = sys.argv[1:]
start = time.perf_counter()
status = subprocess.run([exe, "ftp", "-s:ftp.dat"], cwd=folder, stdout=subprocess.DEVNULL).returncode
if status != 0:
    sys.exit("the upload failed; see ftp.log")
print("%.3f" % (time.perf_counter() - start))
PY
}
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

plain=$(for _ in $(seq "$uploads"); do upload_seconds "127.0.0.1 $plain_port"; done | median)
tls=$(for _ in $(seq "$uploads"); do upload_seconds "ftpes://127.0.0.1:$tls_port"; done | median)
files=$(find "$work/tls/root/quenmark" -type f | wc -l)
printf '%s files, median of %s uploads each\n' "$files" "$uploads"
printf 'plain FTP:  %s s\nftpes://:   %s s\n' "$plain" "$tls"
/usr/bin/python3 -c "import sys; print('ratio: %.2f' % (float(sys.argv[2]) / float(sys.argv[1])))" \
    "$plain" "$tls"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
