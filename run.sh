#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, starts the demo tile server and opens the viewer.
# Extra arguments go to the viewer (for example --home DIR).
set -euo pipefail
caller_dir=$PWD
cd "$(dirname "$0")"
source ./scripts_common.sh

orbivist_install_packages
ORBIVIST_TARGETS="orbivist orbivist-tileserver" orbivist_build build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: set DISPLAY (or run under xvfb-run) to open the viewer." >&2
    exit 1
fi

# A relative --home names a directory of the caller's; the viewer gets it absolute, and
# the default tile cache of that program directory (or of build/) is prepared.
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$caller_dir/$1" ;; esac; }
home=build
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
    case "${args[i]}" in
    --home)
        if [ $((i + 1)) -lt ${#args[@]} ]; then
            args[i + 1]=$(absolute "${args[i + 1]}")
            home=${args[i + 1]}
        fi
        ;;
    --home=*)
        home=$(absolute "${args[i]#--home=}")
        args[i]="--home=$home"
        ;;
    esac
done
mkdir -p "$home/Cash"
server_pid=""
if ! (exec 3<>/dev/tcp/127.0.0.1/"$(./build/orbivist --default-port)") 2>/dev/null; then
    ./build/orbivist-tileserver >build/tileserver.log 2>&1 &
    server_pid=$!
    trap '[ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null' EXIT
    trap 'exit 130' INT TERM
    for _ in $(seq 50); do
        grep -q listening build/tileserver.log 2>/dev/null && break
        kill -0 "$server_pid" 2>/dev/null || { cat build/tileserver.log >&2; exit 1; }
        sleep 0.1
    done
    grep -q listening build/tileserver.log ||
        echo "The demo tile server is slow to start; tiles may come from the cache only." >&2
fi
./build/orbivist ${args[@]+"${args[@]}"}
