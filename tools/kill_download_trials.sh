#!/usr/bin/env bash
# Kills `quenmark-updater update` with SIGKILL at random moments of the download
# half, then runs update again to the end, and checks that this next run
# published only its own downloads: every member's page and time file hold the
# times of the next run's addresses, errors.txt is empty, nothing of the killed
# run's batch runs any more, and no page changes after the run.
#
# The stand-in browser serves, for an address http://gen-G.invalid/NAME, a page
# whose 42 times are all 60 + G seconds, after a short random pause. It also
# leaves a helper behind, as a slow browser might, that appends its page to its
# output again and again for ten seconds once a newer generation is under way:
# a batch of the killed run that is not ended spoils the next run's pages.
#
#   tools/kill_download_trials.sh <quenmark-updater> [kills in the download half, default 100]
# Run it under nice; it takes about five seconds a trial.
set -uo pipefail
updater=$(realpath "$1")
wanted=${2:-100}
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-kills.XXXXXX")
trap 'rm -rf "$work"' EXIT
main="$work/main" site="$work/site"
mkdir -p "$main"/{lynx,download,templates,upload} "$site"
members=(Ann Bob Cy Dee Eve Fay Gil Hal)

crlf() { printf '%s\r\n' "$@"; }
crlf h u p yellow " 0 " " 3 " " 1 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " " 0 " >"$main/settings.dat"
: >"$main/times.dat"
for t in elite elite2 stage diff leaders roster points; do crlf '<p>***</p>' >"$main/templates/$t.html"; done
cat >"$main/lynx/lynx" <<LYNX
#!/bin/sh
gen=\${2#http://gen-}; gen=\${gen%%.invalid/*}
sleep 0.\$(od -An -N1 -tu1 /dev/urandom | tr -d ' ' | cut -c1)
cat "$site/gen-\$gen.html"
"$main/lynx/helper" "\$gen" &
exit 0
LYNX
cat >"$main/lynx/helper" <<HELPER
#!/bin/sh
for i in \$(seq 33); do
    sleep 0.3
    [ "\$(cat "$site/current")" = "\$1" ] || cat "$site/gen-\$1.html"
done
HELPER
chmod +x "$main/lynx/helper"
chmod +x "$main/lynx/lynx"

levels=("Lamplight" "Copper Crown" "Harbour Sprint" "Tunnel Revolt" "Frost Welcome" "Dusk Patrol"
    "Late Platform" "Velvet Gala" "Sky Bridges 1" "Sky Bridges 2" "Broken Oath" "Stone Spire"
    "Flooded Hull" "Reactor Core")
page() { # generation: every cell 60 + G seconds
    local t l
    t=$(printf '%d:%02d' $(((60 + $1) / 60)) $(((60 + $1) % 60)))
    printf '<table>\n'
    for l in "${levels[@]}"; do printf '<tr><td>%s<td>%s<td>%s<td>%s\r\n' "$l" "$t" "$t" "$t"; done
    printf '</table>\n'
}
time_file() { # generation
    local v=$((60 + $1)) l
    for l in $(seq 14); do printf '%-14s%-14s %s \r\n' " $v " " $v " "$v"; done
}
roster() { # generation
    local n
    for n in "${members[@]}"; do crlf "$n" XX white "http://gen-$1.invalid/$n" x@example.invalid ""; done >"$main/roster.txt"
}
stale_helpers() { pgrep -fc "$main/lynx/helper" || true; }

kills=0 trials=0 bad=0
gen=0
while ((kills < wanted && trials < 3 * wanted)); do
    trials=$((trials + 1))
    gen=$((gen + 1))
    page "$gen" >"$site/gen-$gen.html"
    echo "$gen" >"$site/current"
    roster "$gen"
    (cd "$main" && exec "$updater" update --no-upload --timeout 60 >/dev/null 2>&1) &
    run=$!
    sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", 0.05 + r % 1500 / 1000 }')"
    downloading=0
    [[ -e $main/download.pid ]] && downloading=1
    kill -9 "$run" 2>/dev/null
    wait "$run" 2>/dev/null
    ((downloading)) && kills=$((kills + 1))

    gen=$((gen + 1))
    page "$gen" >"$site/gen-$gen.html"
    time_file "$gen" >"$work/expected.txt"
    echo "$gen" >"$site/current"
    roster "$gen"
    status=0
    (cd "$main" && "$updater" update --no-upload --timeout 60 >"$work/out" 2>"$work/err") || status=$?
    problems=()
    ((status == 0)) || problems+=("next run exit $status: $(tr '\n' ' ' <"$work/err")")
    [[ -s $main/errors.txt ]] && problems+=("errors.txt: $(tr '\r\n' '  ' <"$main/errors.txt")")
    sleep 0.7 # long enough for a helper of the killed batch to write
    for n in "${members[@]}"; do
        cmp -s "$main/download/$n.html" "$site/gen-$gen.html" || problems+=("$n.html not this run's")
        cmp -s "$main/download/$n.txt" "$work/expected.txt" || problems+=("$n.txt not this run's")
    done
    [[ $(stale_helpers) -eq 0 ]] || problems+=("helpers of a batch still run")
    if ((${#problems[@]})); then
        bad=$((bad + 1))
        echo "trial $trials (killed while downloading: $downloading): ${problems[*]}"
    fi
done
echo "$trials trials, $kills kills during the downloads, $bad next runs that published other downloads"
((bad == 0 && kills >= wanted))
