#!/usr/bin/env bash
# Installs what is missing from Debian's packages, then configures and builds the
# project in build/. Quick when all is there.
#   tools/setup.sh          everything: the program, every test and the tests' tools
#   tools/setup.sh --run    only what building and running the program needs, and
#                           only the program
set -euo pipefail

run_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgl-dev libcurl4-openssl-dev
              lynx python3 python3-pyftpdlib)
# The tests' tools and what ./test.sh runs: the format check reads git's file
# list; the ownership test reads process states with ps; the package test runs
# lintian on the package; the publishing tests start ProFTPD with TLS and
# OpenSSH's server, with keys and certificates made by openssl and ssh-keygen.
test_packages=(googletest libgtest-dev libbenchmark-dev xvfb xauth clang-format git procps
               desktop-file-utils appstream dpkg-dev groff-base lintian
               proftpd-basic proftpd-mod-crypto openssh-server openssl)

run_only=0
case ${1:-} in
    --run) run_only=1 ;;
    "") ;;
    *)
        echo "setup.sh: unknown option $1 (--run, or nothing)" >&2
        exit 2
        ;;
esac

packages=("${run_packages[@]}")
((run_only)) || packages+=("${test_packages[@]}")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    # sudo starts with a clean environment: env carries the setting through it.
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        if ! command -v sudo >/dev/null; then
            echo "setup.sh: no sudo to install the missing packages; as root, run:" \
                "apt-get install ${missing[*]}" >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
# shellcheck disable=SC2206 # the extra arguments are split on purpose
cmake_args=(${QUENMARK_CMAKE_ARGS:-})
if ((run_only)); then
    # A new build folder leaves the tests out, as their packages may be missing;
    # one that tests were built in keeps them.
    [[ -f $build/CMakeCache.txt ]] || cmake_args+=(-DQUENMARK_TESTS=OFF)
    cmake -S "$root" -B "$build" -G Ninja "${cmake_args[@]}" >/dev/null
    cmake --build "$build" -j "$(nproc)" --target quenmark-updater
else
    # The benchmarks are built, not run: a change that breaks them shows here.
    cmake -S "$root" -B "$build" -G Ninja -DQUENMARK_TESTS=ON -DQUENMARK_BENCH=ON \
        "${cmake_args[@]}" >/dev/null
    cmake --build "$build" -j "$(nproc)"
fi
