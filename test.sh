#!/usr/bin/env bash
# Installs what is missing (what running needs and the tests' tools), builds
# everything, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$root/tools/setup.sh"
cd "$root/build"
ctest --output-on-failure -j 2 --timeout 600
