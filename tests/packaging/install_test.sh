#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses the installed program as a user would.
# Usage: install_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
tmp=$(mktemp -d)
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
bin=$tmp/usr/bin share=$tmp/usr/share
for f in bin/orbivist bin/orbivist-tileserver share/orbivist/ReadMe.txt \
    share/applications/org.orbivist.Orbivist.desktop share/metainfo/org.orbivist.Orbivist.metainfo.xml \
    share/icons/hicolor/scalable/apps/orbivist.svg share/icons/hicolor/48x48/apps/orbivist.png \
    share/man/man1/orbivist.1.gz share/man/man1/orbivist-tileserver.1.gz; do
    [ -e "$tmp/usr/$f" ] || fail "not installed: $f"
done
desktop-file-validate "$share/applications/org.orbivist.Orbivist.desktop"
appstreamcli validate --no-net "$share/metainfo/org.orbivist.Orbivist.metainfo.xml" >/dev/null
# Every manual page renders without a warning from groff.
for page in "$share"/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -k -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
done

[ "$("$bin/orbivist" --version)" = "orbivist $version" ] || fail "orbivist --version"
[ "$("$bin/orbivist-tileserver" --version)" = "orbivist-tileserver $version" ] ||
    fail "orbivist-tileserver --version"

"$bin/orbivist-tileserver" --port 0 >"$tmp/server.out" 2>"$tmp/server.log" &
server_pid=$!
for _ in $(seq 100); do
    grep -q listening "$tmp/server.out" && break
    sleep 0.1
done
port=$(sed -n 's/^listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$tmp/server.out")
[ -n "$port" ] || fail "the demo tile server did not start: $(cat "$tmp/server.log")"

# ORB.ini whose view is the level-1 world of the demo server, stitched 2 by 2.
write_settings() {
    local prefix="http://127.0.0.1:$port/kh?v=5&n=404&t=t"
    mkdir -p "$1"
    printf '%s\r\n' "${prefix}q" "${prefix}r" "${prefix}s" "${prefix}t" - - ci - - - - - - \
        "${#prefix}" 0 1 - 0 2 2 90 2 1 3 3 3 "" - 1 >"$1/ORB.ini"
}

# With --home: everything lands in that directory.
write_settings "$tmp/home"
mkdir "$tmp/home/Cash"
"$bin/orbivist" stitch --home "$tmp/home" --output "$tmp/world.jpg" 2>"$tmp/stitch.log" ||
    fail "stitch --home: $(cat "$tmp/stitch.log")"
[ -s "$tmp/world.jpg" ] && [ -s "$tmp/world.map" ] || fail "stitch wrote no picture and map"
[ "$(find "$tmp/home/Cash" -name '*.jpg' | wc -l)" -eq 4 ] || fail "the tiles are not in --home"

# Without --home the installed program keeps its files in the user's data folder and makes
# the cache folder there itself; the home directory stays untouched.
write_settings "$tmp/xdg/orbivist"
mkdir "$tmp/user"
XDG_DATA_HOME=$tmp/xdg HOME=$tmp/user "$bin/orbivist" stitch --output "$tmp/xdg.jpg" \
    2>"$tmp/stitch.log" || fail "stitch without --home: $(cat "$tmp/stitch.log")"
[ "$(find "$tmp/xdg/orbivist/Cash" -name '*.jpg' | wc -l)" -eq 4 ] ||
    fail "the tiles are not in \$XDG_DATA_HOME/orbivist/Cash"
[ -z "$(ls -A "$tmp/user")" ] || fail "files appeared in \$HOME"
echo "installed program works from $tmp/usr"
