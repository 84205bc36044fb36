#!/usr/bin/env bash
# Installs what is missing, builds, starts the demo tile server and opens the viewer.
# Extra arguments go to the viewer (for example --home DIR).
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts_common.sh

orbivist_install_packages
ORBIVIST_TARGETS="orbivist orbivist-tileserver" orbivist_build build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display: set DISPLAY (or run under xvfb-run) to open the viewer." >&2
    exit 1
fi

# The default tile cache of the program directory (the build directory, or --home DIR).
home=build
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
    case "${args[i]}" in
    --home) home=${args[i + 1]:-build} ;;
    --home=*) home=${args[i]#--home=} ;;
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
fi
./build/orbivist "$@"
