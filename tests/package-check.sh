#!/bin/bash
# Installs the Debian package built by `make package` with apt, starts the installed program on
# a virtual display until its main window appears, and removes the package again.
#   tests/package-check.sh <package.deb>
set -euo pipefail
deb=$(readlink -f "$1")
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
work=$(mktemp -d)
cleanup() {
    [ -n "${pid:-}" ] && kill -9 "$pid" 2>/dev/null
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq cv-veyloom >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
[ -x /usr/bin/cv-veyloom ] || { echo "FAIL: /usr/bin/cv-veyloom was not installed"; exit 1; }
[ -f /usr/share/applications/com.orravine.CVVeyloom.desktop ] \
    || { echo "FAIL: no desktop entry installed"; exit 1; }

mkdir -m 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
"$(dirname "$0")/e2e/with-xvfb.sh" bash -c '
    /usr/bin/cv-veyloom &
    pid=$!
    timeout 30 xdotool search --sync --onlyvisible --name "^CV Veyloom v1.0\$" >/dev/null
    status=$?
    kill -9 $pid
    exit $status
' || { echo "FAIL: the installed program did not open its window"; exit 1; }
echo "PASS: the package installs and the program starts"
