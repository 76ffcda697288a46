#!/usr/bin/env bash
# A file the run writes that is not a regular file stops the run at once with
# a message naming it, and is never written over; a full or read-only file
# system is named as the reason.
set -uo pipefail
exe=$(realpath "$1")
source "$(dirname "$0")/common.sh"

# A FIFO in the place of each file a run writes: no reader ever comes, so an
# open that waits would hold the run for ever (timeout's 124).
# name | status | message | option
while IFS='|' read -r name want message option; do
    m="$work/fifo-${name##*/}" && main_folder "$m" && mkfifo "$m/$name"
    fails_with "FIFO at $name" "$want" "Error: $message" timeout 60 "$exe" update --folder "$m" --timeout 30 $option
    [[ -p $m/$name || ! -e $m/$name ]] && ok || fail "FIFO at $name: written over" # or removed
done <<'EOF'
update.lock|1|"update.lock" could not be written.|--no-upload
download.bat|1|"download.bat" could not be written.|--no-upload
download.pid|1|"download.pid" could not be read.|--no-upload
ftp.pid|1|"ftp.pid" could not be read.|--no-upload
errors.txt|1|"errors.txt" could not be written.|--no-upload
download/Ann.html|1|No member page could be read; check the connection. Nothing was published.|--no-upload
upload/elite.htm|1|"upload/elite.htm" could not be written.|--no-upload
ftp.dat|3|"ftp.dat" could not be written. The pages were not uploaded.|--no-upload
ftp.log|3|"ftp.log" could not be written. The pages were not uploaded.|
EOF

# The reason in words, from a small file system of our own: a mount namespace
# of this test's own, so the mount goes with it however the test ends.
if [[ $(id -u) -ne 0 ]] || ! unshare -m true 2>/dev/null; then
    echo "SKIP: full and read-only file systems: mounting needs root and unshare"
else
    # what | options of the upload folder's mount | the reason
    while IFS='|' read -r what options reason; do
        m="$work/$what" && main_folder "$m"
        fails_with "$what upload folder" 1 "Error: \"upload/elite.htm\" could not be written ($reason)." \
            unshare -m bash -c "
            mount -t tmpfs -o size=64k tmpfs '$m/upload' && head -c 1M /dev/zero >'$m/upload/filler' 2>/dev/null
            mount -o remount,$options '$m/upload' && exec '$exe' update --folder '$m' --no-upload"
    done <<'EOF'
full|rw|the disk is full
read-only|ro|read-only file system
EOF
fi
finish
