#!/usr/bin/env bash
# cpack -G DEB builds a package whose dependencies name lynx and the shared
# libraries the program links, found by dpkg-shlibdeps; lintian finds no error
# (E:) nor warning (W:) in it.
set -uo pipefail
build=$(realpath "$1")
cpack=${2:-cpack}
source "$(dirname "$0")/common.sh"

check_exit "cpack -G DEB" 0 "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" || exit 1
deb=$(ls "$work"/quenmark-updater_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for package in lynx libqt6core6 libqt6widgets6 libcurl4 libc6; do
    [[ ",$depends," =~ ,\ ?$package[\ ,] ]] && ok || fail "the package does not depend on $package: $depends"
done
dpkg-deb -c "$deb" >"$work/contents"
for file in bin/quenmark-updater share/man/man1/quenmark-updater.1.gz \
    share/quenmark-updater/templates/elite.html; do
    check "the package lacks $file" grep -q " ./usr/$file$" "$work/contents"
done
version=$(dpkg-deb -f "$deb" Version)
check "the change log has no entry for $version on top" grep -qF "quenmark-updater ($version)" \
    <(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/quenmark-updater/changelog.gz |
        gzip -dc | head -n 1)
if command -v lintian >/dev/null; then
    lintian "$deb" >"$work/lintian.log" 2>&1
    check "lintian finds errors or warnings: $(cat "$work/lintian.log")" \
        test -z "$(grep '^[EW]: ' "$work/lintian.log")"
else
    echo "lintian is not installed (tools/setup.sh installs it): the package went unchecked"
fi
finish
