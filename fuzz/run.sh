#!/bin/sh
# Runs each fuzz target for the given time from a copy of its seed corpus.
# Usage: fuzz/run.sh <build-dir> <seconds>
# Exits non-zero when a target crashed or one of its checks failed; the input that did it is
# kept under <build-dir>/fuzz-findings/<target>/.
set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 <build-dir> <seconds>" >&2
    exit 2
fi
case $2 in
'' | *[!0-9]*)
    echo "$0: <seconds> must be a whole number" >&2
    exit 2
    ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd) || exit 2
seconds=$2
targets="fuzz_referral_address fuzz_reminder_settings"

# The settings target writes files on every run, which goes a hundred times faster in memory.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    work=$(mktemp -d /dev/shm/veyloom-fuzz.XXXXXX)
else
    work=$(mktemp -d)
fi
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

status=0
for target in $targets; do
    binary="$build/fuzz/$target"
    if [ ! -x "$binary" ]; then
        echo "$target: not built in $build" >&2
        status=1
        continue
    fi
    # libFuzzer adds what it learns to the corpus it is given, so it gets a copy.
    mkdir -p "$work/$target/corpus" "$work/$target/tmp"
    cp "$here/corpus/$target/"* "$work/$target/corpus/"
    findings="$build/fuzz-findings/$target"
    rm -rf "$findings"
    mkdir -p "$findings"
    log="$work/$target/log"

    echo "$target: running for $seconds s"
    # Qt's settings reader reserves room for as many items as a damaged value claims, gigabytes
    # at times. In the program that reservation stays untouched and costs nothing, but the
    # sanitizer marks every byte of it and counts it as used. Here a request far beyond what a
    # settings value can need is refused, which the reader copes with as it does on a machine
    # that refuses it.
    TMPDIR="$work/$target/tmp" \
        ASAN_OPTIONS="allocator_may_return_null=1:max_allocation_size_mb=1024" \
        UBSAN_OPTIONS="print_stacktrace=1" \
        "$binary" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work/$target/corpus" >"$log" 2>&1
    rc=$?

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    found=$(ls -A "$findings")
    if [ $rc -eq 0 ] && [ -z "$found" ]; then
        echo "$target: ${executions:-?} executions, nothing found"
        rmdir "$findings"
    else
        echo "$target: ${executions:-?} executions, FOUND a problem (exit code $rc)"
        sed -n '/check failed\|runtime error\|^==[0-9]*==/,$p' "$log" | head -n 40
        cp "$log" "$findings/log"
        echo "$target: the input and the full log are in $findings"
        status=1
    fi
done
rmdir "$build/fuzz-findings" 2>/dev/null
exit $status
