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

# run PROGRAM [ARGUMENT]: prints "microseconds kilobytes" for one start.
run() {
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f '%M' -o "$work/memory" "$@"
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
    run "$build/bench/bench_bare" --text >>"$work/text"
done

median() { cut -d' ' -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
program_time=$(median "$work/program" 1)
bare_time=$(median "$work/bare" 1)
text_time=$(median "$work/text" 1)
program_memory=$(median "$work/program" 2)
bare_memory=$(median "$work/bare" 2)
text_memory=$(median "$work/text" 2)
awk -v pt="$program_time" -v bt="$bare_time" -v tt="$text_time" \
    -v pm="$program_memory" -v bm="$bare_memory" -v tm="$text_memory" -v n="$runs" 'BEGIN {
    printf "%-26s %10s %14s\n", "", "wall (ms)", "peak RSS (MB)"
    printf "%-26s %10.1f %14.1f\n", "cv-veyloom", pt / 1000, pm / 1024
    printf "%-26s %10.1f %14.1f\n", "bare window", bt / 1000, bm / 1024
    printf "%-26s %10.1f %14.1f\n", "bare window, one label", tt / 1000, tm / 1024
    printf "%-26s %10.2f %14.2f\n", "cv-veyloom / bare", pt / bt, pm / bm
    printf "%-26s %10.2f %14.2f\n", "cv-veyloom / one label", pt / tt, pm / tm
    printf "(medians of %d alternating runs each)\n", n
}'
