#!/bin/bash
# Builds the packages a second time, from a copy of the sources in another folder with nothing of
# the first build, and checks that they are the same as the first build's, byte for byte.
#   SOURCE_DATE_EPOCH=<seconds> tests/packages/package-reproducible.sh <first build folder> \
#       [cmake option...]
set -euo pipefail
first_build=$(readlink -f "$1")
shift
. "$(dirname "$0")/reproducible-lib.sh"
packages=$("$(dirname "$0")/copy-packages.sh" "$work/elsewhere/cv-veyloom" "" "$@")
failed=0
for second in $packages; do
    first="$first_build/$(basename "$second")"
    same_build "$first" "$second" && continue
    failed=1
    rm -rf "$work/first" "$work/second"
    dpkg-deb -R "$first" "$work/first"
    dpkg-deb -R "$second" "$work/second"
    diff -r "$work/first" "$work/second" >&2 || true
    diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") >&2 || true
done
exit $failed
