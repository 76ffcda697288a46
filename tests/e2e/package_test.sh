#!/usr/bin/env bash
# cpack -G DEB builds a package whose dependencies name lynx and the shared
# libraries the program links, found by dpkg-shlibdeps.
#   bash package_test.sh <build-folder> <cpack>
set -uo pipefail

build=$(realpath "$1")
cpack=${2:-cpack}
work=$(mktemp -d "${TMPDIR:-/tmp}/quenmark-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack -G DEB"
    exit 1
fi
deb=$(ls "$work"/quenmark-updater_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
failed=0
for package in lynx libqt6core6 libqt6widgets6 libcurl4 libc6; do
    [[ ",$depends," =~ ,\ ?$package[\ ,] ]] || {
        echo "FAIL: the package does not depend on $package"
        failed=1
    }
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/quenmark-updater ./usr/share/man/man1/quenmark-updater.1.gz \
    ./usr/share/quenmark-updater/templates/elite.html; do
    grep -q " $file$" <<<"$contents" || {
        echo "FAIL: the package lacks $file"
        failed=1
    }
done
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/quenmark-updater/changelog.gz |
    gzip -dc | head -n 1 | grep -qF "quenmark-updater ($version)" || {
    echo "FAIL: the change log has no entry for $version on top"
    failed=1
}
# Debian's own checks of a package: no error (E:) and no warning (W:).
if command -v lintian >/dev/null; then
    lintian "$deb" >"$work/lintian.log" 2>&1
    if grep -q '^[EW]: ' "$work/lintian.log"; then
        cat "$work/lintian.log"
        echo "FAIL: lintian finds errors or warnings"
        failed=1
    fi
else
    echo "lintian is not installed (tools/setup.sh installs it): the package went unchecked"
fi
exit "$failed"
