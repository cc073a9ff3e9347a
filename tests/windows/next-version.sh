#!/bin/bash
# The later version the upgrade checks install over a build: 1.0.1, built from a copy of the
# sources whose history names it (BUILD_DIR-next-sources) in BUILD_DIR-next, its folder without
# the styles plugin so that an upgrade has a file to remove. The build's output is shown only if
# it fails; prints the folder the build is in.
#   tests/windows/next-version.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
next=$(realpath "$1")-next
sources="$next-sources"
mkdir -p "$next"
rm -rf "$sources"
tests/copy-sources.sh "$sources" 1.0.1
"$sources/packaging/windows/build.sh" "$next" -DBUILD_TESTING=OFF \
    >"$next/build.log" 2>&1 || { cat "$next/build.log" >&2; exit 1; }
rm -r "$next/cv-veyloom-1.0.1/styles"
"$sources/packaging/windows/package.sh" "$next" cv-veyloom-1.0.1 >/dev/null
echo "$next"
