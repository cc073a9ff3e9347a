#!/bin/bash
# Builds the program's Debian packages from a copy of the sources in DEST (copy-sources.sh),
# with nothing of any other build; given a VERSION, the copy builds as that later version, as a
# publisher's next release would. The build's output is shown only if it fails; prints the
# packages' paths.
#   SOURCE_DATE_EPOCH=<seconds> tests/packages/copy-packages.sh DEST [VERSION [cmake option...]]
set -euo pipefail
dest=$1
version=${2:-}
shift "$(($# < 2 ? $# : 2))"
. "$(dirname "$0")/reproducible-lib.sh"
"$(dirname "$0")/../copy-sources.sh" "$dest" ${version:+"$version"}
quietly cmake -S "$dest" -B "$dest/build" "$@"
quietly cmake --build "$dest/build" --target cv-veyloom
"$dest/packaging/build-deb.sh" "$dest/build"
