#!/usr/bin/env bash
# Kills `quenmark-updater update` with SIGKILL at random moments of the upload,
# against a local FTP server (pyftpdlib) that takes its time over each file,
# then runs update again to the end, and checks:
# - the killed run's FTP client ends with it (none is left running);
# - no file of the site on the server is empty or torn: each is the last
#   published one or the killed run's, whole (files go up under a part name
#   and are renamed into place);
# - the next run publishes the whole site, leaves no part file on the server
#   and no client behind.
# Each trial publishes a site of its own (every time on every page changes),
# so an old file is told from a new one.
#
#   tools/kill_upload_trials.sh <quenmark-updater> [kills during the upload, default 200]
# Run it under nice; it takes about six seconds a trial.
set -uo pipefail
updater=$(realpath "$1")
wanted=${2:-200}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-upload-kills.XXXXXX")
server_pid=""
cleanup() {
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
main="$work/main" site="$work/site" published="$work/server"
mkdir -p "$main"/{lynx,download,upload} "$site" "$published"
cp -R "$root/examples/templates" "$main/"
cp "$root/examples/upload/tarvo.jpg" "$main/upload/"
: >"$main/times.dat"
members=(Ann Bob Cy Dee Eve Fay Gil Hal)

read -r port server_pid < <(/usr/bin/python3 "$root/tests/support/test_servers.py" ftp \
    "$published" secret --slow 0.08 2>"$work/server.log")
[[ -n ${port:-} ]] || { echo "the FTP server did not start: $(cat "$work/server.log")" >&2; exit 1; }

crlf() { printf '%s\r\n' "$@"; }
crlf "127.0.0.1 $port" ranker secret yellow " 0 " " 3 " " 1 " " 0 " \
    " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " " 1 " >"$main/settings.dat"
cat >"$main/lynx/lynx" <<LYNX
#!/bin/sh
gen=\${2#http://gen-}; gen=\${gen%%.invalid/*}
cat "$site/gen-\$gen.html"
LYNX
chmod +x "$main/lynx/lynx"

levels=("Lamplight" "Copper Crown" "Harbour Sprint" "Tunnel Revolt" "Frost Welcome" "Dusk Patrol"
    "Late Platform" "Velvet Gala" "Sky Bridges 1" "Sky Bridges 2" "Broken Oath" "Stone Spire"
    "Flooded Hull" "Reactor Core")
generation() { # G: pages whose times are 60 + G seconds, and a roster that fetches them
    local t l n
    t=$(printf '%d:%02d' $(((60 + $1) / 60)) $(((60 + $1) % 60)))
    {
        printf '<table>\n'
        for l in "${levels[@]}"; do printf '<tr><td>%s<td>%s<td>%s<td>%s\r\n' "$l" "$t" "$t" "$t"; done
        printf '</table>\n'
    } >"$site/gen-$1.html"
    for n in "${members[@]}"; do crlf "$n" XX white "http://gen-$1.invalid/$n" x@example.invalid ""; done \
        >"$main/roster.txt"
}
site_files() { (cd "$main/upload" && ls); }
# The file as the server keeps it: pages go up as text, stored with LF line ends.
as_sent() { # name
    if [[ $1 == *.jpg ]]; then cat "$main/upload/$1"; else tr -d '\r' <"$main/upload/$1"; fi
}
ended() { local state; state=$(ps -o stat= -p "$1" 2>/dev/null); [[ -z $state || $state == Z* ]]; }

trials=0 kills=0 bad=0 gen=0 midway=0
mkdir -p "$work/last"
while ((kills < wanted && trials < 2 * wanted)); do
    trials=$((trials + 1))
    problems=()
    gen=$((gen + 1))
    generation "$gen"
    "$updater" update --folder "$main" --timeout 120 >/dev/null 2>&1 &
    run=$!
    for _ in $(seq 500); do [[ -s $main/ftp.pid ]] && break; sleep 0.02; done
    # Somewhere in the upload: 26 files at 0.08 s and more each.
    sleep "$(awk -v r="$RANDOM" 'BEGIN { printf "%.3f", r % 2500 / 1000 }')"
    client=$(head -n 1 "$main/ftp.pid" 2>/dev/null | tr -d ' \r')
    uploading=0
    [[ -n $client ]] && ! ended "$client" && uploading=1
    kill -9 "$run" 2>/dev/null
    wait "$run" 2>/dev/null
    ((uploading)) && kills=$((kills + 1))
    if [[ -n $client ]]; then
        for _ in $(seq 50); do ended "$client" && break; sleep 0.02; done
        ended "$client" || problems+=("the killed run's client $client still runs")
    fi
    sent=0 kept=0
    for name in $(site_files); do
        [[ -e $published/$name ]] || continue
        if [[ ! -s $published/$name ]]; then
            problems+=("$name empty on the server")
        elif cmp -s "$published/$name" <(as_sent "$name"); then
            sent=$((sent + 1))
        elif cmp -s "$published/$name" "$work/last/$name" 2>/dev/null; then
            kept=$((kept + 1))
        else
            problems+=("$name torn on the server")
        fi
    done
    # The picture is the same in every run: only pages tell old from new.
    ((sent > 1 && kept > 0)) && midway=$((midway + 1))

    gen=$((gen + 1))
    generation "$gen"
    status=0
    "$updater" update --folder "$main" --timeout 120 >"$work/out" 2>"$work/err" || status=$?
    ((status == 0)) || problems+=("next run exit $status: $(tr '\n' ' ' <"$work/err")")
    for name in $(site_files); do
        cmp -s "$published/$name" <(as_sent "$name") || problems+=("$name not published")
    done
    parts=$(find "$published" -name '*.quenmark-part' | wc -l)
    ((parts == 0)) || problems+=("$parts part files left on the server")
    [[ -e $main/ftp.pid ]] && problems+=("ftp.pid left after the next run")
    rm -rf "$work/last" && cp -R "$published" "$work/last"
    if ((${#problems[@]})); then
        bad=$((bad + 1))
        echo "trial $trials (killed while uploading: $uploading): ${problems[*]}"
    fi
done
echo "$trials trials, $kills kills during the upload ($midway with the server holding old and new" \
    "files at the kill), $bad trials with a problem"
((bad == 0 && kills >= wanted))
