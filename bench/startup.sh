#!/bin/bash
# Start-up time and peak memory of the program against an empty Qt main window of the same
# size, each run to its first paint on a virtual X display, alternating, RUNS times each.
#   bench/startup.sh [build folder] [runs]
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec "$(dirname "$0")/../tests/e2e/with-xvfb.sh" "$0" "$@"
fi

build=${1:-build}
runs=${2:-15}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# run PROGRAM: prints "milliseconds kilobytes" for one start.
run() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/memory" "$1"
    end=$(date +%s%N)
    echo "$(((end - start) / 1000)) $(cat "$work/memory")"
}

# One start of each first, so that both find their files in the page cache and the program's
# reminder date is already stored.
run "$build/bench/bench_startup" >/dev/null
run "$build/bench/bench_bare" >/dev/null
for _ in $(seq "$runs"); do
    run "$build/bench/bench_startup" >>"$work/program"
    run "$build/bench/bench_bare" >>"$work/bare"
done

median() { cut -d' ' -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
program_time=$(median "$work/program" 1)
bare_time=$(median "$work/bare" 1)
program_memory=$(median "$work/program" 2)
bare_memory=$(median "$work/bare" 2)
awk -v pt="$program_time" -v bt="$bare_time" -v pm="$program_memory" -v bm="$bare_memory" -v n="$runs" 'BEGIN {
    printf "%-12s %12s %14s\n", "", "wall (ms)", "peak RSS (MB)"
    printf "%-12s %12.1f %14.1f\n", "cv-veyloom", pt / 1000, pm / 1024
    printf "%-12s %12.1f %14.1f\n", "bare window", bt / 1000, bm / 1024
    printf "%-12s %12.2f %14.2f\n", "ratio", pt / bt, pm / bm
    printf "(medians of %d alternating runs each)\n", n
}'
