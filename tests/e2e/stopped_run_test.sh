#!/usr/bin/env bash
# A run that stops in its processing half says why, exits 1 and goes no further:
# without times.dat it writes no page; with a template gone during the downloads,
# no ftp.dat. What each stop keeps and writes is the core tests' part.
set -uo pipefail
exe=$1
source "$(dirname "$0")/common.sh"

m="$work/no-times" && main_folder "$m" && rm "$m/times.dat"
check_exit "missing times.dat" 1 "$exe" update --folder "$m" --no-upload --timeout 60
expect_err "missing times.dat" 'Error: "times.dat" was not found. Go into Members, then Enforce Times to have a new file created.'
check "missing times.dat: a page written" test ! -e "$m/upload/elite.htm"

m="$work/no-template" && main_folder "$m" && lynx_says "$m" "rm -f ../templates/stage.html; $whole_page"
check_exit "template gone" 1 "$exe" update --folder "$m" --no-upload --timeout 60
expect_err "template gone" 'Error: "templates/stage.html" could not be found.'
check "template gone: ftp.dat written" test ! -e "$m/ftp.dat"
finish
