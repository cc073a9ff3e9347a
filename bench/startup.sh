#!/bin/bash
# Start-up of the program against two floors, each from exec to its window's first paint on a
# virtual X display:
#   - the fair floor: a window of the program's size showing its first screen's texts as plain
#     labels, in the same places and fonts;
#   - an empty window of that size.
#   bench/startup.sh [build folder] [runs]
#       wall time, CPU time and peak memory: medians of RUNS alternating starts of each
#       a Windows build folder (made by make windows) runs its programs under Wine, on Windows'
#       own platform; CPU time and memory are not measured there
#   bench/startup.sh --instructions [build folder]
#       instructions executed, counted by callgrind: the same on every run, however busy the
#       machine is
set -euo pipefail
if [ -z "${DISPLAY:-}" ]; then
    exec "$(dirname "$0")/../tests/e2e/with-xvfb.sh" "$0" "$@"
fi

mode=times
if [ "${1:-}" = --instructions ]; then
    mode=instructions
    shift
    command -v valgrind >/dev/null || { echo "Counting instructions needs valgrind." >&2; exit 1; }
fi
build=${1:-build}
runs=${2:-21}
work=$(mktemp -d)
# The runtime folder, which holds the single-instance lock, is in memory in a desktop session.
runtime=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$runtime"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb
# No session bus on a virtual display: say so, rather than have every start try to launch one.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
chmod 700 "$XDG_RUNTIME_DIR"

# The texts of the program's first screen; this start also stores the reminder date, so that
# no later start asks.
launcher=()
bench="$build/bench"
exe=""
if [ -x "$build/wine-run" ]; then
    launcher=("$build/wine-run")
    bench=$build
    exe=.exe
    unset QT_QPA_PLATFORM
fi
"${launcher[@]}" "$bench/bench_startup$exe" --texts | tr -d '\r' >"$work/texts"
programs=(program floor empty)
program=("${launcher[@]}" "$bench/bench_startup$exe")
floor=("${launcher[@]}" "$bench/bench_bare$exe" "$work/texts")
empty=("${launcher[@]}" "$bench/bench_bare$exe" --empty "$work/texts")

if [ "$mode" = instructions ]; then
    # count PROGRAM [ARGUMENT...]: instructions from exec to the first paint, where it ends.
    count() {
        rm -f "$XDG_RUNTIME_DIR"/*.lock
        valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.%p" \
            "$1" --end-at-first-paint "${@:2}" 2>&1 >/dev/null |
            awk '/Collected/ { print $NF }'
    }
    awk -v p="$(count "${program[@]}")" -v f="$(count "${floor[@]}")" \
        -v e="$(count "${empty[@]}")" 'BEGIN {
        printf "%-30s %16s\n", "to the first paint", "instructions (M)"
        printf "%-30s %16.1f\n", "cv-veyloom", p / 1e6
        printf "%-30s %16.1f\n", "floor: its texts as labels", f / 1e6
        printf "%-30s %16.1f\n", "empty window", e / 1e6
        printf "%-30s %16.2f\n", "cv-veyloom / floor", p / f
        printf "%-30s %16.2f\n", "cv-veyloom / empty window", p / e
    }'
    exit 0
fi

# run PROGRAM [ARGUMENT...]: prints "wall-µs cpu-µs peak-KiB" for one start. The clock is read
# in the child just before it becomes the program; the program reports at its first paint.
run() {
    local line
    line=$(printf '%s ' "${EPOCHREALTIME//[.,]/}" && exec "$@")
    awk '{ print $2 - $1, $3, $4 }' <<<"$line"
}

# One start of each first, so that all find their files in the page cache.
run "${program[@]}" >/dev/null
run "${floor[@]}" >/dev/null
run "${empty[@]}" >/dev/null
for _ in $(seq "$runs"); do
    run "${program[@]}" >>"$work/program"
    run "${floor[@]}" >>"$work/floor"
    run "${empty[@]}" >>"$work/empty"
done

median() { cut -d' ' -f"$2" "$work/$1" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
declare -A wall cpu peak
for p in "${programs[@]}"; do
    wall[$p]=$(median "$p" 1)
    cpu[$p]=$(median "$p" 2)
    peak[$p]=$(median "$p" 3)
done
awk -v n="$runs" \
    -v pw="${wall[program]}" -v pc="${cpu[program]}" -v pm="${peak[program]}" \
    -v fw="${wall[floor]}" -v fc="${cpu[floor]}" -v fm="${peak[floor]}" \
    -v ew="${wall[empty]}" -v ec="${cpu[empty]}" -v em="${peak[empty]}" 'BEGIN {
    printf "%-30s %10s %10s %14s\n", "to the first paint", "wall (ms)", "CPU (ms)", "peak RSS (MB)"
    printf "%-30s %10.1f %10.1f %14.1f\n", "cv-veyloom", pw / 1000, pc / 1000, pm / 1024
    printf "%-30s %10.1f %10.1f %14.1f\n", "floor: its texts as labels", fw / 1000, fc / 1000, fm / 1024
    printf "%-30s %10.1f %10.1f %14.1f\n", "empty window", ew / 1000, ec / 1000, em / 1024
    printf "%-30s %10.2f %10.2f %14.2f\n", "cv-veyloom / floor", pw / fw, pc / fc, pm / fm
    printf "%-30s %10.2f %10.2f %14.2f\n", "cv-veyloom / empty window", pw / ew, pc / ec, pm / em
    printf "(medians of %d alternating runs each)\n", n
}'
