#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# fuzz/run_target.sh BUILD_DIR TARGET SECONDS [libFuzzer options...]
# Runs one fuzz target for a bounded time over a scratch copy of its seeds (so that the seeds
# in the tree never grow), or over FUZZ_CORPUS_DIR when that is set. Crashing inputs are kept
# in BUILD_DIR/artifacts/TARGET/. The exit status is libFuzzer's: 0 when nothing was found.
set -uo pipefail
source_dir=$(cd "$(dirname "$0")" && pwd)
build_dir=${1:?usage: fuzz/run_target.sh BUILD_DIR TARGET SECONDS}
target=${2:?target name, e.g. http_reply}
seconds=${3:?seconds to run}
shift 3

binary=$build_dir/${target}_fuzzer
if [ ! -x "$binary" ]; then
    echo "$binary is not built: the fuzz target is skipped" >&2
    exit 77
fi

# The settings and favourites targets write a file per execution: tmpfs when there is one.
scratch_parent=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_parent=/dev/shm
scratch=$(mktemp -d -p "$scratch_parent" "fuzz-$target.XXXXXX") || exit 1
trap 'rm -rf "$scratch"' EXIT

corpus=${FUZZ_CORPUS_DIR:-$scratch/corpus}
mkdir -p "$corpus" "$scratch/tmp" "$build_dir/artifacts/$target"
cp -n "$source_dir/corpus/$target/"* "$corpus/" 2>/dev/null

# libFuzzer's own exit status for a finding is 77, which CTest would take for a skip.
options=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
    -error_exitcode=1
    -artifact_prefix="$build_dir/artifacts/$target/")
# A dictionary of the target's own name, or of its family (http for http_get).
for dict in "$source_dir/$target.dict" "$source_dir/${target%%_*}.dict"; do
    if [ -f "$dict" ]; then
        options+=(-dict="$dict")
        break
    fi
done

# Allocation stacks that pass through Qt (built without frame pointers) end in garbage that
# never repeats, and ASan keeps every distinct one: over millions of executions memory grows
# without bound. Two frames keep it flat; replaying a crashing input alone gives full stacks.
# Options already set come later and win.
export ASAN_OPTIONS=malloc_context_size=2:detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}
TMPDIR=$scratch/tmp "$binary" "${options[@]}" "$@" "$corpus"
