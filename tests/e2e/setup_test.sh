#!/usr/bin/env bash
# A fresh machine for ./test.sh: tools/setup.sh installs every tool the tests and
# the house checks use, and a user without sudo learns in one line what to install
# as root; the format check without git says so.
set -uo pipefail
src=$2
source "$(dirname "$0")/common.sh"

# A PATH of this machine's programs less sudo and git, as a user (id -u is 1000)
# on whose machine no package is installed yet.
bin=$work/bin
mkdir "$bin"
for program in /usr/local/bin/* /usr/bin/* /usr/sbin/*; do
    case ${program##*/} in sudo | git | id | dpkg-query) ;; *) ln -sf "$program" "$bin/" ;; esac
done
printf '#!/bin/sh\necho 1000\n' >"$bin/id"
printf '#!/bin/sh\nexit 1\n' >"$bin/dpkg-query"
chmod +x "$bin/id" "$bin/dpkg-query"
check_exit "setup without sudo" 1 env PATH="$bin" bash "$src/tools/setup.sh"
check "setup without sudo: one line: $(cat "$work/err")" test "$(wc -l <"$work/err")" -eq 1
for package in git lintian procps clang-format; do
    check "setup without sudo does not name $package: $(cat "$work/err")" \
        grep -q "as root, run: apt-get install .*\b$package\b" "$work/err"
done

fails_with "format check without git" 1 "check_format: git is not installed (tools/setup.sh installs it)" \
    env PATH="$bin" bash "$src/tools/check_format.sh"
finish
