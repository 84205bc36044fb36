#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# fuzz/campaign.sh SECONDS [TARGET...]: builds the fuzz targets (in $FUZZ_BUILD_DIR, build-fuzz
# by default), runs each named target (all of them when none is named) for SECONDS, one after
# the other, and prints the executions each reached.
# The corpora grow in BUILD_DIR/corpus/TARGET, so a second campaign goes on from the first;
# logs land in BUILD_DIR/logs, crashing inputs in BUILD_DIR/artifacts/TARGET.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
seconds=${1:?usage: fuzz/campaign.sh SECONDS [TARGET...]}
shift
build_dir=$(realpath -m "${FUZZ_BUILD_DIR:-build-fuzz}")
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for source in fuzz/*_fuzzer.cpp; do
        targets+=("$(basename "$source" _fuzzer.cpp)")
    done
fi

fuzz/build.sh "$build_dir" || exit $?
mkdir -p "$build_dir/logs"

stat() { # stat NAME LOG: a value of libFuzzer's final statistics
    sed -n "s/^stat::$1: *//p" "$2" | tail -1
}

status=0
results=()
for target in "${targets[@]}"; do
    log=$build_dir/logs/$target.log
    echo "== $target: ${seconds} s" >&2
    FUZZ_CORPUS_DIR=$build_dir/corpus/$target \
        fuzz/run_target.sh "$build_dir" "$target" "$seconds" >"$log" 2>&1
    rc=$?
    [ $rc -ne 0 ] && status=1
    execs=$(stat number_of_executed_units "$log")
    time=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | awk '{print $5}' | tail -1)
    per_second=$([ -n "$execs" ] && [ -n "$time" ] && [ "$time" -gt 0 ] && echo $((execs / time)))
    result=$([ $rc -eq 0 ] && echo ok || echo "FAILED (rc $rc, see $log)")
    results+=("$(printf '%-12s %12s %8s %8s  %s' "$target" "${execs:-?}" "${per_second:-?}" \
        "$(stat peak_rss_mb "$log")" "$result")")
done

printf '%-12s %12s %8s %8s  %s\n' target executions "per s" "RSS MB" result
printf '%s\n' "${results[@]}"
exit $status
