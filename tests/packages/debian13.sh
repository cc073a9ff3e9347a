#!/bin/bash
# Debian 13 as a newcomer meets it: in a fresh minimal Debian 13 (trixie) system, an ordinary
# user with sudo clones the committed sources and runs the README's `make test`, which installs
# what it needs there itself; then the Debian package built here is installed into the same
# system and, as that user, takes a reading with rune stones on a virtual display. Given the
# program's Windows folder too, it then reads the program for Windows through UI Automation under
# Debian 13's Wine, with a client of our own cross-built there (tests/windows/uia.sh). Given a
# release made here (tests/release/signed-release.sh's folder), the user checks it last with the
# README's `make verify-release`, which makes it again in a minimal Debian 12 system: every file
# must be found the same. The Debian 12 system is this machine's, from the cache folder, read-only.
# The systems are made once and kept in the cache folder (packaging/debian-system.sh), with the
# packages `make test` fetches there; each run works on a throw-away layer over them.
#   tests/packages/debian13.sh <package.deb> [<Windows program folder> [<signed release folder>]]
set -euo pipefail
. "$(dirname "$0")/../../packaging/debian-system.sh"
deb=$(readlink -f "$1")
windows=${2:+$(readlink -f "$2")}
release=${3:+$(readlink -f "$3")}
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf --one-file-system "$work"' EXIT

# What the release's check finds built, before Debian 13's is made over it.
[ -z "$release" ] || debian_system builder bookworm
builder_cache=$system_cache
debian_system newcomer trixie
cp "$deb" "$work/cv-veyloom.deb"
[ -z "$windows" ] || cp -r "$windows" "$work/cv-veyloom-windows"
git clone -q --no-hardlinks "$repo" "$work/cv-veyloom"

if [ -n "$release" ]; then
    mkdir "$work/release"
    cp -r "$release/release" "$release/key/public.asc" "$work/release/"
fi
in_system "$work/system" "$work" "${windows:+yes}" "${release:+$builder_cache}" <<'IN_SYSTEM'
work=$1
windows=$2
builder_cache=$3
mv "$work/cv-veyloom" "$root/home/$user/"
chroot "$root" chown -R "$user:$user" "/home/$user/cv-veyloom"
cp "$work/cv-veyloom.deb" "$root/tmp/"
[ -z "$windows" ] || mv "$work/cv-veyloom-windows" "$root/tmp/"

as_user() { as_system_user "cd cv-veyloom && $1"; }
fail() {
    echo "FAIL: $*"
    exit 1
}
start=$SECONDS
as_user "make test" 2>&1 | tee "$work/test.log" || fail "make test on Debian 13"
# Orca's test skips where Orca is not one whose texts it has; Debian 13's Orca is.
grep -qE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: e2e_orca \.* +Passed' "$work/test.log" \
    || fail "make test on Debian 13: Orca's test did not pass (skipped?)"
echo "PASS: make test on Debian 13 ($((SECONDS - start)) s)"

chroot "$root" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends /tmp/cv-veyloom.deb >"$work/install.log" 2>&1 \
    || { cat "$work/install.log"; fail "the package built here does not install on Debian 13"; }
as_user "APP=/usr/bin/cv-veyloom tests/e2e/with-xvfb.sh bash tests/e2e/stones.sh" \
    >"$work/stones.log" 2>&1 || {
    cat "$work/stones.log"
    fail "the installed program did not show a reading with rune stones on Debian 13"
}
echo "PASS: on Debian 13 the package built here installs and shows a reading with rune stones"
if [ -n "$windows" ]; then
    # Wine 10 and the MinGW-w64 headers that declare UI Automation's client side come with
    # Debian 13.
    start=$SECONDS
    chroot "$root" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends wine wine64 gcc-mingw-w64-x86-64-win32 \
        mingw-w64-x86-64-dev xvfb xauth xdotool x11-utils \
        >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "Wine did not install"; }
    as_user "x86_64-w64-mingw32-gcc -std=c17 -O2 -Wall -Wextra -Werror \
        -o /tmp/uia-tree.exe tests/windows/uia-tree.c -lole32 -loleaut32" \
        || fail "the UI Automation client did not build"
    as_user "tests/e2e/with-xvfb.sh tests/windows/uia.sh /tmp/cv-veyloom-windows \
        /tmp/uia-tree.exe" \
        || fail "UI Automation under Wine"
    echo "UI Automation check: $((SECONDS - start)) s"
fi
[ -n "$builder_cache" ] || exit 0

# The README's check of a release, by the user, in a Debian 12 system made over the one this
# machine keeps: sudo takes the user's make there to root's cache folder.
start=$SECONDS
mkdir -p "$root/root/.cache/cv-veyloom"
mount --bind -o ro "$builder_cache" "$root/root/.cache/cv-veyloom"
mv "$work/release" "$root/tmp/"
chmod -R a+rX "$root/tmp/release"
version=$(ls "$root/tmp/release/release")
as_user "make verify-release DIR=/tmp/release/release/$version KEY=/tmp/release/public.asc" \
    >"$work/verify.log" 2>&1 || { cat "$work/verify.log"; fail "make verify-release on Debian 13"; }
while read -r file; do
    grep -q "^SAME  *$file\(:\|\$\)" "$work/verify.log" \
        || { cat "$work/verify.log"; fail "make verify-release on Debian 13: not SAME: $file"; }
done < <(sed 's/^[0-9a-f]* [ *]//' "$root/tmp/release/release/$version/SHA256SUMS" \
    | grep -v '\.buildinfo$')
for line in '^checked    SHA256SUMS.asc: Good signature from "CV Veyloom test publisher' \
    "^checked    cv-veyloom-$version.buildinfo: built here in the recorded system" \
    "^PASS: "; do
    grep -q "$line" "$work/verify.log" || { cat "$work/verify.log"; fail "not said: $line"; }
done
echo "PASS: on Debian 13 make verify-release finds the release made here the same, file by file \
($((SECONDS - start)) s)"
IN_SYSTEM
