#!/bin/bash
# Checks that the built and the installed program carry the hardening of a release build.
#   tests/packages/hardening.sh <program> <build folder>
set -u
program=$1
build=$2
failed=0
installed=$(mktemp -d)
trap 'rm -rf "$installed"' EXIT
cmake --install "$build" --prefix "$installed" >/dev/null || { echo "FAIL: install"; exit 1; }
check() {
    if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failed=1; fi
}
check "position-independent executable" \
    "readelf -h '$program' | grep -q 'Type:.*DYN'"
check "read-only relocations (RELRO)" \
    "readelf -l '$program' | grep -q GNU_RELRO"
check "immediate binding (full RELRO)" \
    "readelf -d '$program' | grep -Eq 'BIND_NOW|FLAGS_1.*NOW'"
check "stack protector" \
    "readelf --dyn-syms -W '$program' | grep -q __stack_chk_fail"
check "no executable stack" \
    "readelf -l -W '$program' | grep GNU_STACK | grep -qv RWE"
# An empty entry would mean the current folder; Qt comes from the system's library folders.
check "no library search path (RPATH, RUNPATH) in the built program" \
    "! readelf -d '$program' | grep -Eq 'RPATH|RUNPATH'"
check "none in the installed program" \
    "! readelf -d '$installed/bin/cv-veyloom' | grep -Eq 'RPATH|RUNPATH'"
# _FORTIFY_SOURCE shows in the binary only where a call's buffer size is known; the program has
# none such, so the compile commands of its sources are checked instead.
check "_FORTIFY_SOURCE in every compile of the program's code" \
    "awk '/^build [^:]*(app|report|content|chakratest)\\/[^ :]*\\.cpp\\.o:/ { want = 1; n++; next }
          want && /^  FLAGS = / { if (/-D_FORTIFY_SOURCE=2/) ok++; want = 0 }
          END { exit !(n > 0 && ok == n) }' '$build/build.ninja'"
exit $failed
