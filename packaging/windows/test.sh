#!/bin/sh
# Runs every test's Windows build under Wine, then the installer's end-to-end test.
#   packaging/windows/test.sh [BUILD_DIR]     (default: build-windows; made by build.sh)
set -eu
cd "$(dirname "$0")/../.."
repo=$(pwd)
build=${1:-build-windows}

echo "Not run under Wine:"
echo "  hardening: checks the hardening of an ELF program; a Windows program has no ELF headers"
echo "  e2e_*: drive the Linux program through X11's own clients and files; the installed"
echo "    Windows program has its own end-to-end test below"
# One virtual display for all of them, and one Wine server, ended afterwards.
(cd "$build" && "$repo/tests/e2e/with-xvfb.sh" sh -c \
  'ctest --output-on-failure --parallel 2 -E "^(hardening|e2e_.*)\$"; status=$?;
   WINEPREFIX="$PWD/wine-prefix" wineserver -k; exit $status')

version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$build/packaging/windows/installer-defines.nsh")
tests/e2e/with-xvfb.sh bash packaging/windows/e2e.sh "$build/cv-veyloom-$version-setup.exe"
tests/e2e/with-xvfb.sh bash packaging/windows/instances.sh "$build/cv-veyloom-$version"
