#!/usr/bin/env bash
# The download half with --jobs 1 and --jobs 8, in one run: 200 member pages
# served on 127.0.0.1 by a server that answers every request after 100 ms,
# fetched by the real lynx. Prints each run's download half (from the
# "Downloading Member Pages" stage to the sentinel written, and to the stage
# after it, which the run reaches at its next once-a-second poll) and checks
# that both runs leave identical download folders.
#
# Usage: bench/download_bench.sh [path/to/quenmark-updater] [members] [delay]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${1:-$root/build/src/quenmark-updater}
members=${2:-200}
delay=${3:-0.1}
python=/usr/bin/python3
work=$(mktemp -d)
server_pid=""
cleanup() {
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
command -v lynx >/dev/null || { echo "lynx is needed: tools/setup.sh installs it" >&2; exit 1; }

# The members' pages: the example members' pages, taken in turn.
mkdir -p "$work/site"
examples=("$root"/examples/members/*.html)
for ((i = 1; i <= members; i++)); do
    cp "${examples[$(((i - 1) % ${#examples[@]}))]}" "$work/site/m$i.html"
done
"$python" -u "$root/bench/slow_http_server.py" "$work/site" "$delay" >"$work/server.log" 2>&1 &
server_pid=$!
port=""
for _ in $(seq 100); do
    port=$(sed -n 's/^port \([0-9]*\)$/\1/p' "$work/server.log")
    [[ -n $port ]] && break
    sleep 0.1
done
[[ -n $port ]] || { echo "the server did not start:" >&2; cat "$work/server.log" >&2; exit 1; }

make_main() { # folder
    local m=$1
    mkdir -p "$m"/{lynx,download,upload}
    cp -R "$root/examples/templates" "$root/examples/settings.dat" "$root/examples/times.dat" "$m/"
    : >"$m/roster.txt"
    for ((i = 1; i <= members; i++)); do
        printf 'Member %s\r\nM%s\r\nred\r\nhttp://127.0.0.1:%s/m%s.html\r\nm%s@example.org\r\n\r\n' \
            "$i" "$i" "$port" "$i" "$i" >>"$m/roster.txt"
    done
}

# Runs update and prints the download half in seconds (to the sentinel, and to
# the processing stage) and the processor time of the whole run with its
# programs: on a busy machine lynx's own start-up can bound the speed-up.
timed_run() { # jobs
    local m="$work/jobs$1"
    make_main "$m"
    "$python" - "$exe" "$m" "$1" <<'PY'
import os, resource, subprocess, sys, time
exe, folder, jobs = sys.argv[1:]
run = subprocess.Popen([exe, "update", "--folder", folder, "--no-upload", "--jobs", jobs],
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
seen = {}
for line in run.stdout:
    seen.setdefault(line.strip(), time.time())
if run.wait() != 0:
    sys.exit("the run with --jobs %s failed" % jobs)
begin = seen["Downloading Member Pages"]
sentinel = os.stat(os.path.join(folder, "download", "EndOfRoster.html")).st_mtime
used = resource.getrusage(resource.RUSAGE_CHILDREN)
print("%.2f %.2f %.1f" % (sentinel - begin, seen["Doing Scary Calculations"] - begin,
                          used.ru_utime + used.ru_stime))
PY
}

load=$(cut -d' ' -f1-3 /proc/loadavg)
read -r batch1 half1 cpu1 < <(timed_run 1)
read -r batch8 half8 cpu8 < <(timed_run 8)
pages=$(ls "$work/jobs8/download"/Member*.html | wc -l)
diff -r "$work/jobs1/download" "$work/jobs8/download" >/dev/null && same=yes || same=NO
printf '%s member pages, every answer delayed %s s\n' "$pages" "$delay"
printf '%-9s %14s %22s %18s\n' "" "batch (s)" "download half (s)" "processor (s)"
printf '%-9s %14s %22s %18s\n' "--jobs 1" "$batch1" "$half1" "$cpu1" "--jobs 8" "$batch8" "$half8" "$cpu8"
"$python" -c "import sys; b1,b8,h1,h8=map(float,sys.argv[1:]); print('speed-up: batch %.1fx, download half %.1fx' % (b1/b8, h1/h8))" \
    "$batch1" "$batch8" "$half1" "$half8"
echo "identical download folders: $same; load average before: $load"
[[ $same == yes ]]
