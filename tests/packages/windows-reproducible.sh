#!/bin/bash
# Builds the Windows installer and zip a second time, from a copy of the sources in another
# folder (with a blank in its path) with nothing of the first build, and checks that both are
# the same as the first build's, byte for byte.
#   SOURCE_DATE_EPOCH=<seconds> tests/packages/windows-reproducible.sh <first build folder>
set -euo pipefail
: "${SOURCE_DATE_EPOCH:?the time of the sources, in seconds since 1970, e.g. the commit time}"
export SOURCE_DATE_EPOCH
first_build=$(readlink -f "$1")
. "$(dirname "$0")/reproducible-lib.sh"
copy="$work/another place/cv-veyloom"
"$(dirname "$0")/../copy-sources.sh" "$copy"
# The tests are no part of what is shipped.
quietly "$copy/packaging/windows/build.sh" "$copy/build-windows" -DBUILD_TESTING=OFF
second_build="$copy/build-windows"

failed=0
for first in "$first_build"/cv-veyloom-*-setup.exe "$first_build"/cv-veyloom-*-windows-x64.zip; do
    same_build "$first" "$second_build/$(basename "$first")" || failed=1
done
if [ "$failed" = 1 ]; then
    name=$(basename "$first_build"/cv-veyloom-*-setup.exe -setup.exe)
    diff -r "$first_build/$name" "$second_build/$name" >&2 || true
fi
exit $failed
