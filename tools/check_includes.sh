#!/usr/bin/env bash
# The layers' include rule: the core (standard C++) includes nothing of the
# platform, the command line, the windows or Qt, and only its model/os_file.cpp
# calls the operating system; the platform includes nothing of the command line
# or the windows; the command line nothing of the windows.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
qt='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]|qt)'
status=0
check() { # folder, pattern, what is forbidden
    local found
    found=$(grep -rnE --include='*.cpp' --include='*.h' "$2" "$1" || true)
    if [[ -n $found ]]; then
        echo "$1 must not include $3:" >&2
        echo "$found" >&2
        status=1
    fi
}
layer() { echo "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($1)/"; }
check src/core "$(layer 'platform|cli|gui')" "platform, cli or gui headers"
check src/core "$qt" "a Qt header"
posix='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd|fcntl|dirent|signal|poll|spawn|sys/)'
found=$(grep -rnE --include='*.cpp' --include='*.h' "$posix" src/core | grep -v '^src/core/model/os_file.cpp:' || true)
if [[ -n $found ]]; then
    echo "src/core must call the operating system only in model/os_file.cpp:" >&2
    echo "$found" >&2
    status=1
fi
check src/platform "$(layer 'cli|gui')" "cli or gui headers"
check src/cli "$(layer gui)" "gui headers"
if ((status == 0)); then echo "Includes: the layers keep to their rule"; fi
exit "$status"
