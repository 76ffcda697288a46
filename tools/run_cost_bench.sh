#!/usr/bin/env bash
# What a whole run costs for N members: `update --no-upload` on a main folder
# of N members whose browser is a local stand-in (a shell script that prints
# an example member's page), so no network is timed. Prints the time of each
# half of the run, the time per member, the memory the run needed at most,
# and, for comparison, the time of starting the stand-in browser N times in
# a row, which is the bulk of the download half.
#
# Usage: tools/run_cost_bench.sh [members...]   (default: 1000)
#   QUENMARK_EXE    the program (default: build/src/quenmark-updater)
#   QUENMARK_JOBS   pages fetched at once (default: the program's own default)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=${QUENMARK_EXE:-$root/build/src/quenmark-updater}
[[ -x $exe ]] || { echo "no program at $exe: build it first" >&2; exit 1; }
jobs=()
[[ -n ${QUENMARK_JOBS:-} ]] && jobs=(--jobs "$QUENMARK_JOBS")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

main_folder() { # folder members
    local m=$1 n=$2 i
    mkdir -p "$m"/{lynx,download,upload}
    cp -R "$root/examples/templates" "$root/examples/settings.dat" "$root/examples/times.dat" \
        "$root/examples/upload/tarvo.jpg" "$m/"
    mv "$m/tarvo.jpg" "$m/upload/"
    : >"$m/invalidchrs.dat"
    # The stand-in browser: one page for every address.
    printf '#!/bin/sh\nexec cat %s\n' \
        "$root/examples/members/aria.html" >"$m/lynx/lynx"
    chmod +x "$m/lynx/lynx"
    for ((i = 1; i <= n; i++)); do
        printf 'Member%s\r\nM%s\r\nred\r\nhttp://127.0.0.1:9/m%s.html\r\n???\r\n\r\n' "$i" "$i" "$i"
    done >"$m/roster.txt"
}

printf '%8s %10s %10s %10s %12s %12s %14s\n' members "total (s)" "download" "processing" \
    "per member" "memory (MB)" "browser alone"
for members in "${@:-1000}"; do
    m="$work/m$members"
    main_folder "$m" "$members"
    # Each stage's start as the run prints it, and the run's largest resident size.
    /usr/bin/python3 - "$exe" "$m" "$members" "${jobs[@]}" <<'PY'
import resource, subprocess, sys, time
exe, folder, members, *jobs = sys.argv[1:]
members = int(members)
start = time.monotonic()
run = subprocess.Popen([exe, "update", "--folder", folder, "--no-upload", *jobs],
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
seen = {}
for line in run.stdout:
    seen.setdefault(line.strip(), time.monotonic())
status = run.wait()
end = time.monotonic()
if status != 0:
    sys.exit("the run of %d members ended with status %d" % (members, status))
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
download = seen["Doing Scary Calculations"] - seen["Downloading Member Pages"]
processing = end - seen["Doing Scary Calculations"]
# The stand-in started once per member, one after the other, without the run.
browser = [folder + "/lynx/lynx", "-source", "http://127.0.0.1:9/m.html"]
alone = time.monotonic()
for _ in range(members):
    subprocess.run(browser, stdout=subprocess.DEVNULL, check=True)
alone = time.monotonic() - alone
print("%8d %10.1f %10.1f %10.1f %10.1f ms %12.0f %12.1f s" %
      (members, end - start, download, processing, (end - start) * 1000 / members, peak, alone))
PY
    rm -rf "$m"
done
echo "$(nproc) processors; load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
