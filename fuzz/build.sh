#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# fuzz/build.sh BUILD_DIR: configures the fuzz targets with clang (once) and builds them.
# Exits with 77, which CTest reports as skipped, when clang or its libFuzzer runtime is missing.
set -uo pipefail
source_dir=$(cd "$(dirname "$0")" && pwd)
build_dir=${1:?usage: fuzz/build.sh BUILD_DIR}

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
    echo "clang is not installed: the fuzz targets are skipped" >&2
    exit 77
fi
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer -o /dev/null - 2>/dev/null; then
    echo "clang's libFuzzer runtime (libclang-rt-14-dev) is missing: the fuzz targets are skipped" >&2
    exit 77
fi

if [ ! -f "$build_dir/build.ninja" ]; then
    launcher=()
    command -v ccache >/dev/null &&
        launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" -G Ninja "${launcher[@]}" \
        >/dev/null || exit 1
fi
# At low priority, two compilers at most: the other tests run beside this build.
nice -n 10 cmake --build "$build_dir" -j 2
