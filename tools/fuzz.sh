#!/usr/bin/env bash
# Builds the fuzz targets with clang (libraries instrumented, ASan+UBSan) in
# build-fuzz/ and runs each for SECONDS (default 600), two at a time, at low
# priority. Work corpora and findings go to OUT (default /tmp/quenmark-fuzz);
# each target's log is OUT/<target>.log. Needs Debian's clang and
# libclang-rt-14-dev. Usage: tools/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-600}
shift || true
out=${OUT:-/tmp/quenmark-fuzz}
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=()
    for dir in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DQUENMARK_FUZZ=ON \
    -DQUENMARK_TESTS=OFF >/dev/null
nice -n 19 cmake --build "$root/build-fuzz" -j 2 --target "${targets[@]}"

run() {
    local target=$1
    mkdir -p "$out/$target/corpus" "$out/$target/findings"
    cp -n "$root/fuzz/corpus/$target/"* "$out/$target/corpus/" 2>/dev/null || true
    nice -n 19 "$root/build-fuzz/fuzz/$target" "$out/$target/corpus" \
        -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$out/$target/findings/" >"$out/$target.log" 2>&1 || true
    grep -E '^#[0-9]+ *DONE|^Done|^==[0-9]+==ERROR|^SUMMARY' "$out/$target.log" |
        sed "s/^/$target: /" || true
}

for ((i = 0; i < ${#targets[@]}; i += 2)); do
    run "${targets[i]}" &
    if ((i + 1 < ${#targets[@]})); then run "${targets[i + 1]}" & fi
    wait
done
