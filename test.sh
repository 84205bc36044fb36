#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds with the sanitizers and runs every test.
set -uo pipefail
cd "$(dirname "$0")"
source ./scripts_common.sh

orbivist_install_packages "${ORBIVIST_TEST_PACKAGES[@]}" || exit 1
orbivist_build build-test -DORBIVIST_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug || exit 1

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/support/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
cd build-test && ctest --output-on-failure -j2 --timeout 300
