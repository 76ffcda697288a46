#!/usr/bin/env bash
# An installation, moved after installing: its desktop entry, metainfo and manual pass
# their checkers, and the program makes a main folder with init and publishes it.
set -uo pipefail
build=$(realpath "$1")
source "$(dirname "$0")/common.sh"

check_exit "cmake --install" 0 cmake --install "$build" --prefix "$work/staged" || exit 1
# The program finds its templates relative to itself, so a moved tree still works.
mv "$work/staged" "$work/prefix"
exe=$work/prefix/bin/quenmark-updater
share=$work/prefix/share
app=org.quenmark.Updater
check "icon installed" test -s "$share/icons/hicolor/scalable/apps/$app.svg"
check "desktop entry valid" desktop-file-validate "$share/applications/$app.desktop"
check "metainfo valid" appstreamcli validate --no-net "$share/metainfo/$app.metainfo.xml" \
    >"$work/appstream.log"
version=$("$exe" --version | cut -d' ' -f2)
check "the metainfo lists no release $version" \
    grep -q "<release version=\"$version\"" "$share/metainfo/$app.metainfo.xml"

man=$work/quenmark-updater.1
gzip -dc "$share/man/man1/quenmark-updater.1.gz" >"$man"
check "the manual page is not compressed" test -s "$man"
check "the manual page does not name the installed templates" \
    grep -qF "$work/staged/share/quenmark-updater" "$man"
LC_ALL=C.UTF-8 groff -man -ww -z "$man" 2>"$work/groff.log"
check "manual page has no troff warnings: $(cat "$work/groff.log")" test ! -s "$work/groff.log"
for heading in COMMANDS OPTIONS FILES "EXIT STATUS"; do check "manual lacks $heading" grep -qx "\.SH \"\?$heading\"\?" "$man"; done
for command in init update run-batch ftp help; do check "manual lacks $command" grep -q "^\.B.* $command\b\|^\.B $command" "$man"; done
# Every option that `update --help` lists must be in the manual, in its roff spelling.
check_exit "update --help" 0 "$exe" update --help
check "help update differs from update --help" cmp -s "$work/out" <("$exe" help update)
options=$(grep -o '^  --[a-z-]*' "$work/out" | grep -v -- '--help' | tr -d ' ')
check "update --help lists no options" test -n "$options"
for option in $options; do check "the manual lacks $option" grep -qF -- "${option//-/\\-}" "$man"; done

# init takes the installed templates: mark one and look for the mark.
printf '<!-- installed -->\r\n' >>"$share/quenmark-updater/templates/roster.html"
site=$work/site
check_exit "init" 0 "$exe" init "$site"
check "init took the installed templates" grep -q "installed" "$site/templates/roster.html"
for name in lynx download templates upload; do check "init made no $name folder" test -d "$site/$name"; done
for name in roster.txt banned.txt invalidchrs.dat times.dat; do
    check "init made no empty $name" test -f "$site/$name" -a ! -s "$site/$name"
done
check "settings.dat is not the 16 default lines" test "$(wc -l <"$site/settings.dat")" -eq 16
check "settings.dat readable by others" test "$(stat -c %a "$site/settings.dat")" = 600
check "no tarvo.jpg" test -s "$site/upload/tarvo.jpg"
# A second init replaces nothing and lists what it left alone, and not what it made.
printf 'Ann\r\n' >"$site/roster.txt"
rm "$site/templates/points.html"
check_exit "second init" 0 "$exe" init "$site"
check "second init replaced roster.txt" test "$(cat "$site/roster.txt")" = $'Ann\r'
check "second init did not list roster.txt as left alone" grep -qx "  roster.txt" "$work/out"
check "second init did not make the missing template" grep -q "made templates/points.html" "$work/out"
check "second init listed a file it made as left alone" test "$(grep -c "points.html" "$work/out")" -eq 1

# A run from the installed program: one member, whose page is the sample that
# init put beside the main folder's files, read whole.
crlf Sam SA red http://127.0.0.1:9/sam.html "???" "" >"$site/roster.txt"
lynx_says "$site" 'cat ../sample-member-page.html'
check_exit "update in the new folder" 0 timeout 120 "$exe" update --folder "$site" --no-upload
check "the sample member page was not read whole: $(cat "$site/errors.txt")" test ! -s "$site/errors.txt"
check "no points page" test -s "$site/upload/points.htm"
check "no ftp.dat" test -s "$site/ftp.dat"
finish
