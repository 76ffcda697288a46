#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it, and
# names the files.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
if ! command -v git >/dev/null; then
    echo "check_format: git is not installed (tools/setup.sh installs it)" >&2
    exit 1
fi
if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "check_format: not a git checkout; the format check needs the tracked file list" >&2
    exit 1
fi
mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
bad=()
for file in "${files[@]}"; do
    [[ -f $file ]] || continue # deleted in the working tree
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done
if ((${#bad[@]})); then
    echo "Not clang-format clean (run clang-format -i on them):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "Format: ${#files[@]} files clean"
