#!/usr/bin/env bash
# Installs what is missing (what running needs and the tests' tools), checks
# the house rules (clang-format, the layers' includes), builds everything, and
# runs every test.
#   --sanitize  then also builds in build-sanitize/ with ASan and UBSan and runs
#               the core, platform, command-line and fuzz-corpus tests there
#               (the window tests run in the normal build only).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
sanitize=0
for arg in "$@"; do
    case $arg in
    --sanitize) sanitize=1 ;;
    *)
        echo "usage: $0 [--sanitize]" >&2
        exit 2
        ;;
    esac
done

"$root/tools/setup.sh"
"$root/tools/check_format.sh"
"$root/tools/check_includes.sh"
cd "$root/build"
ctest --output-on-failure -j 2 --timeout 600

if ((sanitize)); then
    targets=(quenmark-updater test_core test_platform)
    for dir in "$root"/fuzz/corpus/*/; do targets+=("replay_$(basename "$dir")"); done
    cmake -S "$root" -B "$root/build-sanitize" -G Ninja -DQUENMARK_SANITIZE=address,undefined \
        ${QUENMARK_CMAKE_ARGS:-} >/dev/null
    cmake --build "$root/build-sanitize" -j "$(nproc)" --target "${targets[@]}"
    cd "$root/build-sanitize"
    ctest --output-on-failure -j 2 --timeout 900 -L '^(core|platform|cli|fuzz)$'
fi
