#!/usr/bin/env bash
# update hands its page limit to the batch: by default it fetches pages at once,
# with --jobs 1 one after another. What fetching at once leaves (the same files,
# slow pages, two of one name) is the batch's own test.
set -uo pipefail
exe=$1
source "$(dirname "$0")/common.sh"

for run in one many; do
    m="$work/$run" && main_folder "$m" && mkdir "$m/running"
    lynx_says "$m" 'touch ../running/$$; ls ../running | wc -l >>../under-way.txt; sleep 0.3
rm ../running/$$; '"$whole_page"
    for i in $(seq 8); do crlf "Member $i" "M$i" red "http://127.0.0.1:9/$i" m@x ""; done >"$m/roster.txt"
done
check_exit "--jobs 1 run" 0 "$exe" update --folder "$work/one" --no-upload --jobs 1
check_exit "default run" 0 "$exe" update --folder "$work/many" --no-upload
check "--jobs 1 fetched at once" test "$(sort -n "$work/one/under-way.txt" | tail -n 1)" -eq 1
check "the default run fetched one by one" test "$(sort -n "$work/many/under-way.txt" | tail -n 1)" -gt 1
finish
