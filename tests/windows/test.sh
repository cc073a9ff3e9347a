#!/bin/bash
# Runs every test's Windows build under Wine, then the installer's end-to-end tests.
#   tests/windows/test.sh [BUILD_DIR]     (default: build-windows; made by build.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$(pwd)
build=${1:-build-windows}
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

echo "Not run under Wine:"
echo "  hardening: checks the hardening of an ELF program; a Windows program has no ELF headers"
echo "  e2e_*: drive the Linux program through X11's own clients and files; the installed"
echo "    Windows program has its own end-to-end tests below"
# One virtual display for all of them, and one Wine server, ended afterwards.
(cd "$build" && "$repo/tests/e2e/with-xvfb.sh" sh -c \
    'ctest --output-on-failure --parallel 2 -E "^(hardening|e2e_.*)\$"; status=$?;
     WINEPREFIX="$PWD/wine" wineserver -k; exit $status')

version=$(scripts/build-version "$build")
setup="$build/cv-veyloom-$version-setup.exe"
tests/e2e/with-xvfb.sh bash tests/windows/e2e.sh "$setup"
tests/e2e/with-xvfb.sh bash tests/windows/instances.sh "$build/cv-veyloom-$version"

next=$(tests/windows/next-version.sh "$build")
tests/e2e/with-xvfb.sh bash tests/windows/installer-test.sh "$setup" \
    "$next/cv-veyloom-1.0.1-setup.exe"
