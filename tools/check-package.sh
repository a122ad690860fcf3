#!/usr/bin/env bash
# Builds the .deb from a finished build and checks what it holds and needs.
#   tools/check-package.sh BUILD_DIR
# Run by ./test.sh (CTest); `cpack --config BUILD_DIR/CPackConfig.cmake`
# alone builds the package.
# Needs: cpack dpkg-shlibdeps file dpkg-deb grep sed awk tr mktemp
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/kobalto_*.deb)
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
fail=0
problem() { echo "$(basename "$deb"): $*" >&2; fail=1; }

[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || problem "version is not $version"
contents=$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for file in /usr/bin/kobalto /usr/bin/kobalto-cli \
            /usr/share/applications/kobalto.desktop \
            /usr/share/icons/hicolor/32x32/apps/kobalto.png \
            /usr/share/icons/hicolor/scalable/apps/kobalto.svg \
            /usr/share/metainfo/org.example.kobalto.metainfo.xml \
            /usr/share/man/man1/kobalto-cli.1; do
  grep -qxF "$file" <<<"$contents" || problem "lacks $file"
done
# Nothing else: no test program, header or static library slips in.
extra=$(grep -v '/$' <<<"$contents" | grep -vxE '/usr/bin/kobalto(-cli)?|/usr/share/(applications|icons|metainfo|man)/.*' || true)
[ -z "$extra" ] || problem "holds more than the programs and their files: $extra"

# The libraries the programs link, found by dpkg-shlibdeps, and the faces.
depends=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo zlib1g libdeflate0 \
               fonts-ipafont-gothic fonts-ipafont-mincho; do
  grep -qxF "$package" <<<"$depends" || problem "Depends lacks $package"
done
[ $fail = 0 ] && echo "$(basename "$deb"): contents and Depends as expected"
exit $fail
