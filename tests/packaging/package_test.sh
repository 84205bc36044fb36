#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build directory and inspects it.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" ||
    fail "cpack: $(cat "$tmp/cpack.log")"
deb=$(ls "$tmp"/orbivist_"$version"_*.deb) || fail "no orbivist_${version}_*.deb"

dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/files"
for f in ./usr/bin/orbivist ./usr/bin/orbivist-tileserver \
    "./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/orbivist/orbivist-gis.so" \
    "./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/orbivist/orbivist-window.so" \
    "./usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/orbivist/orbivist-text.so" \
    ./usr/share/orbivist/ReadMe.txt ./usr/share/orbivist/ReadMe.en.txt ./usr/share/orbivist/Sources.ini \
    ./usr/share/orbivist/translations/orbivist_en.qm \
    ./usr/share/applications/org.orbivist.orbivist.desktop \
    ./usr/share/metainfo/org.orbivist.orbivist.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/orbivist.svg \
    ./usr/share/icons/hicolor/256x256/apps/orbivist.png ./usr/share/man/man1/orbivist.1.gz \
    ./usr/share/doc/orbivist/copyright ./usr/share/doc/orbivist/changelog.gz; do
    grep -qxF "$f" "$tmp/files" || fail "$f is not in the package"
done

# Read whole before a grep -q, which stops early: under pipefail its writer's SIGPIPE would
# fail a check that passed.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)" = science ] && [ -n "$(field Maintainer)" ] || fail "section or maintainer"
# The libraries come from dpkg-shlibdeps, the Qt platform plugins from the package's own list.
for dep in libqt6widgets6 libjpeg62-turbo libc6 libgdal32 libcurl4 qt6-qpa-plugins; do
    grep -q "\b$dep\b" <<<"$(field Depends)" || fail "Depends lacks $dep: $(field Depends)"
done

# Qt's Russian dialog texts, and the outputs named in the description.
grep -q '\bqt6-translations-l10n\b' <<<"$(field Recommends)" || fail "Recommends: $(field Recommends)"
for output in GeoTIFF MBTiles KMZ; do
    grep -q "$output" <<<"$(field Description)" || fail "the description does not name $output"
done
grep -q '^License: GPL-3.0-or-later' \
    <<<"$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/orbivist/copyright)" || fail "the copyright file names no GPL-3.0-or-later"

lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$tmp/lintian.log" ||
    fail "lintian found errors"
echo "lintian: $(grep -c '^W:' "$tmp/lintian.log" || true) warnings"
