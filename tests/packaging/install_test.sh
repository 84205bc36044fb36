#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and uses the installed program as a user would.
# Usage: install_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
tmp=$(mktemp -d)
server_pid=""
trap '[ -z "$server_pid" ] || kill "$server_pid"; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
bin=$tmp/usr/bin share=$tmp/usr/share
desktop-file-validate "$share/applications/org.orbivist.orbivist.desktop"
appstreamcli validate --no-net "$share/metainfo/org.orbivist.orbivist.metainfo.xml" >/dev/null
for program in orbivist orbivist-tileserver; do
    [ "$("$bin/$program" --version)" = "$program $version" ] || fail "$program --version"
done

: >"$tmp/server.out" # before the server's shell opens it, which may come after the loop's sed
"$bin/orbivist-tileserver" --port 0 >"$tmp/server.out" 2>"$tmp/server.log" &
server_pid=$!
for _ in $(seq 100); do
    port=$(sed -n 's/^listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$tmp/server.out")
    [ -n "$port" ] && break
    sleep 0.1
done
[ -n "$port" ] || fail "the demo tile server did not start: $(cat "$tmp/server.log")"

# ORB.ini whose view is the level-1 world of the demo server, stitched 2 by 2.
write_settings() {
    local prefix="http://127.0.0.1:$port/kh?v=5&n=404&t=t"
    mkdir -p "$1"
    printf '%s\r\n' "${prefix}q" "${prefix}r" "${prefix}s" "${prefix}t" - - ci - - - - - - \
        "${#prefix}" 0 1 - 0 2 2 90 2 1 3 3 3 "" - 1 >"$1/ORB.ini"
}
tiles_in() { find "$1" -name '*.jpg' | wc -l; }

# With --home everything lands in that directory.
write_settings "$tmp/home"
mkdir "$tmp/home/Cash"
"$bin/orbivist" stitch --home "$tmp/home" --output "$tmp/world.jpg" 2>"$tmp/stitch.log" ||
    fail "stitch --home: $(cat "$tmp/stitch.log")"
[ -s "$tmp/world.jpg" ] && [ -s "$tmp/world.map" ] || fail "stitch wrote no picture and map"
[ "$(tiles_in "$tmp/home/Cash")" -eq 4 ] || fail "the tiles are not in --home"
# The shipped sources file is found where it was installed, with every source it lists.
! grep -q 'Sources.ini' "$tmp/stitch.log" || fail "shipped sources: $(cat "$tmp/stitch.log")"
printf '[shipped-xyz]\nurl = http://127.0.0.1:%s/{z}/{x}/{y}.jpg\nbulk-download = yes\n' "$port" \
    >>"$share/orbivist/Sources.ini"
"$bin/orbivist" stitch --home "$tmp/home" --source shipped-xyz --output "$tmp/xyz.jpg" \
    2>"$tmp/stitch.log" || fail "stitch --source shipped-xyz: $(cat "$tmp/stitch.log")"

# The installed English texts are found.
"$bin/orbivist" stitch --lang en --home "$tmp/home" --output "$tmp/en.jpg" 2>"$tmp/stitch.log" ||
    fail "stitch --lang en: $(cat "$tmp/stitch.log")"
grep -q 'starting\.\.\.' "$tmp/stitch.log" || fail "not in English: $(cat "$tmp/stitch.log")"
# The program itself links neither GDAL nor libcurl; a GeoTIFF loads the installed plugin.
! grep -qE 'libgdal|libcurl|libQt6Widgets' <<<"$(ldd "$bin/orbivist")" ||
    fail "orbivist links GDAL, libcurl or Qt Widgets"
# The window comes from its installed plugin: still up when it is stopped, not ended by a
# plugin it could not load.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 "$bin/orbivist" --home "$tmp/home" 2>"$tmp/window.log" ||
    status=$?
[ "$status" -eq 124 ] || fail "the window did not start ($status): $(cat "$tmp/window.log")"
"$bin/orbivist" stitch --home "$tmp/home" --output "$tmp/world.tif" 2>"$tmp/stitch.log" ||
    fail "stitch to a GeoTIFF: $(cat "$tmp/stitch.log")"
[ -s "$tmp/world.tif" ] || fail "stitch wrote no GeoTIFF"

# Without it the installed program keeps its files in the user's data folder, making the
# cache folder there itself, and leaves $HOME alone.
write_settings "$tmp/xdg/orbivist"
mkdir "$tmp/user"
XDG_DATA_HOME=$tmp/xdg HOME=$tmp/user "$bin/orbivist" stitch --output "$tmp/xdg.jpg" \
    2>"$tmp/stitch.log" || fail "stitch without --home: $(cat "$tmp/stitch.log")"
[ "$(tiles_in "$tmp/xdg/orbivist/Cash")" -eq 4 ] || fail "the tiles are not in \$XDG_DATA_HOME"
[ -z "$(ls -A "$tmp/user")" ] || fail "files appeared in \$HOME"
