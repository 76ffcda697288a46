#!/usr/bin/env bash
# Installs what the build, the tests and the example run need from Debian's
# packages, and configures and builds the project in build/. Quick when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libcurl4-openssl-dev
          googletest libgtest-dev libbenchmark-dev lynx python3 python3-pyftpdlib
          xvfb xauth clang-format)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja ${QUENMARK_CMAKE_ARGS:-} >/dev/null
cmake --build "$root/build" -j "$(nproc)"
