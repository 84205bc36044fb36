# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by run.sh and test.sh: Debian packages and the incremental build.
# shellcheck shell=bash

ORBIVIST_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libjpeg62-turbo-dev
    libgtest-dev libcpp-httplib-dev libgdal-dev libsqlite3-dev fonts-dejavu-core xplanet-images tinyproxy ppp
    qt6-translations-l10n qt6-l10n-tools librsvg2-bin libcurl4-openssl-dev libpng-dev)
# Only the tests need these: the reference encoder and map reader, clang with its libFuzzer
# runtime for the fuzz targets, a TLS server with its certificate tool and curl, and what checks the installed files and the Debian package.
ORBIVIST_TEST_PACKAGES=(libjpeg-turbo-progs gdal-bin sqlite3 unzip clang libclang-rt-14-dev
    nginx-light openssl curl desktop-file-utils appstream dpkg-dev lintian)

orbivist_install_packages() {
    local missing=()
    local p
    for p in "${ORBIVIST_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages. Run as root:" >&2
        echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
}

# orbivist_build DIR [cmake options...]: configures once, then builds incrementally.
# ORBIVIST_TARGETS, when set, limits the build to those targets.
orbivist_build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        # ccache, where installed, makes rebuilds of other checkouts on this machine cheap.
        local launcher=()
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
        cmake -S . -B "$dir" -G Ninja ${launcher[@]+"${launcher[@]}"} "$@" >/dev/null || return 1
    fi
    export CCACHE_BASEDIR=$PWD
    # Debug builds name their directory in the debug information, which would keep a clone
    # elsewhere from ever hitting the cache; the names stay relative to it instead.
    export CCACHE_NOHASHDIR=1
    local targets=()
    [ -n "${ORBIVIST_TARGETS:-}" ] && read -r -a targets <<<"$ORBIVIST_TARGETS"
    cmake --build "$dir" ${targets[@]:+--target "${targets[@]}"}
}
