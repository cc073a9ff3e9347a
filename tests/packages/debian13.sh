#!/bin/bash
# Debian 13 as a newcomer meets it: in a fresh minimal Debian 13 (trixie) system, an ordinary
# user with sudo clones the committed sources and runs the README's `make test`, which installs
# what it needs there itself, and `make release`, which refuses, as a release is built on Debian
# 12; then the Debian package built here is installed into the same system and, as that user,
# takes a reading with rune stones on a virtual display. Given the
# program's Windows folder too, it then reads the program for Windows through UI Automation under
# Debian 13's Wine, with a client of our own cross-built there (tests/windows/uia.sh).
# The system is made once and kept in the cache folder (debian-system-lib.sh), with the packages
# `make test` fetches there; each run works on a throw-away layer over it.
#   tests/packages/debian13.sh <package.deb> [<Windows program folder>]
set -euo pipefail
. "$(dirname "$0")/debian-system-lib.sh"
deb=$(readlink -f "$1")
windows=${2:+$(readlink -f "$2")}
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf --one-file-system "$work"' EXIT

debian_system newcomer trixie
cp "$deb" "$work/cv-veyloom.deb"
[ -z "$windows" ] || cp -r "$windows" "$work/cv-veyloom-windows"
git clone -q --no-hardlinks "$repo" "$work/cv-veyloom"

in_system "$work/system" "$work" "${windows:+yes}" <<'IN_SYSTEM'
work=$1
windows=$2
mv "$work/cv-veyloom" "$root/home/$user/"
chroot "$root" chown -R "$user:$user" "/home/$user/cv-veyloom"
cp "$work/cv-veyloom.deb" "$root/tmp/"
[ -z "$windows" ] || mv "$work/cv-veyloom-windows" "$root/tmp/"

as_user() {
    chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" USER="$user" \
        PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 bash -c "cd ~/cv-veyloom && $1"
}
fail() {
    echo "FAIL: $*"
    exit 1
}
start=$SECONDS
as_user "make test" || fail "make test on Debian 13"
echo "PASS: make test on Debian 13 ($((SECONDS - start)) s)"
as_user "make release" >"$work/release.log" 2>&1 && fail "make release made a release on Debian 13"
grep -qF "a release is built on Debian 12 (bookworm)" "$work/release.log" \
    || { cat "$work/release.log"; fail "make release on Debian 13 did not say why it refuses"; }
echo "PASS: make release on Debian 13 refuses, and says why"

chroot "$root" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends /tmp/cv-veyloom.deb >"$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "the package built here does not install on Debian 13"; }
as_user "APP=/usr/bin/cv-veyloom tests/e2e/with-xvfb.sh bash tests/e2e/stones.sh" \
    >"$work/stones.log" 2>&1 || {
    cat "$work/stones.log"
    fail "the installed program did not show a reading with rune stones on Debian 13"
}
echo "PASS: on Debian 13 the package built here installs and shows a reading with rune stones"
[ -n "$windows" ] || exit 0

# Wine 10 and the MinGW-w64 headers that declare UI Automation's client side come with Debian 13.
start=$SECONDS
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    wine wine64 gcc-mingw-w64-x86-64-win32 mingw-w64-x86-64-dev xvfb xauth xdotool x11-utils \
    >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "Wine did not install"; }
as_user "x86_64-w64-mingw32-gcc -std=c17 -O2 -Wall -Wextra -Werror \
    -o /tmp/uia-tree.exe tests/windows/uia-tree.c -lole32 -loleaut32" \
    || fail "the UI Automation client did not build"
as_user "tests/e2e/with-xvfb.sh tests/windows/uia.sh /tmp/cv-veyloom-windows \
    /tmp/uia-tree.exe" \
    || fail "UI Automation under Wine"
echo "UI Automation check: $((SECONDS - start)) s"
IN_SYSTEM
