#!/bin/bash
# Debian 13 as a newcomer meets it: in a fresh minimal Debian 13 (trixie) system, an ordinary
# user with sudo clones the committed sources and runs the README's `make test`, which installs
# what it needs there itself; then the Debian package built here is installed into the same
# system and, as that user, takes a reading with rune stones on a virtual display. Given the
# program's Windows folder too, it then reads the program for Windows through UI Automation under
# Debian 13's Wine, with a client of our own cross-built there (packaging/windows/uia.sh).
# The system is made with mmdebstrap from the Debian archive apt is configured with here, once:
# it is kept in the cache folder under a name taken from everything it is made from, and each
# run works on a throw-away layer over it. The packages `make test` fetches there are kept in
# the cache too.
#   tests/debian13.sh <package.deb> [<Windows program folder>]
set -euo pipefail
deb=$(readlink -f "$1")
windows=${2:+$(readlink -f "$2")}
repo=$(cd "$(dirname "$0")/.." && pwd)
release=trixie
user=newcomer
# What a fresh machine has beside the minimal system: sudo, and the two tools the README's first
# command needs, git and make. dpkg there does without a sync after each file, as a throw-away
# system may.
base="sudo git make ca-certificates"
# It mounts and changes root: as root.
[ "$(id -u)" -eq 0 ] || exec sudo "$0" "$@"

work=$(mktemp -d)
trap 'rm -rf --one-file-system "$work"' EXIT
"$repo/scripts/debian-archive" "$release" >"$work/sources.list" \
    || { echo "FAIL: apt knows no Debian archive here (apt-get update?)"; exit 1; }
# apt's settings for reaching the archive: a proxy, and a snapshot archive's old Release dates.
apt-config dump Acquire::http::Proxy Acquire::https::Proxy Acquire::Retries \
    Acquire::Check-Valid-Until Acquire::Check-Date >"$work/apt.conf"

cache="${XDG_CACHE_HOME:-$HOME/.cache}/cv-veyloom"
hooks=(
    "chroot \"\$1\" useradd --create-home --shell /bin/bash $user"
    "echo '$user ALL=(ALL) NOPASSWD: ALL' >\"\$1/etc/sudoers.d/$user\""
    "echo force-unsafe-io >\"\$1/etc/dpkg/dpkg.cfg.d/unsafe-io\""
)
recipe="minbase $release $base ${hooks[*]} $(cat "$work/sources.list" "$work/apt.conf")"
system="$cache/$release-system-$(sha256sum <<<"$recipe" | cut -c1-16)"
archives="$cache/$release-archives"
mkdir -p "$cache" "$archives/partial"
if [ ! -d "$system" ]; then
    echo "Making a minimal Debian 13 system with $base (once; kept in $cache)"
    start=$SECONDS
    rm -rf --one-file-system "$cache/$release"-system-* "$archives"/*.deb
    mmdebstrap --quiet --mode=root --variant=minbase --include="${base// /,}" \
        --aptopt="$work/apt.conf" --skip=cleanup/apt/lists "${hooks[@]/#/--customize-hook=}" \
        "$release" "$system.new" "$work/sources.list"
    mv "$system.new" "$system"
    echo "Made in $((SECONDS - start)) s"
fi

mkdir "$work/upper" "$work/layer" "$work/root"
cp "$deb" "$work/cv-veyloom.deb"
[ -z "$windows" ] || cp -r "$windows" "$work/cv-veyloom-windows"
git clone -q --no-hardlinks "$repo" "$work/cv-veyloom"

# In a mount and process namespace of its own: whatever is mounted there, and whatever runs
# there, goes when the check ends, however it ends.
unshare --mount --pid --fork --kill-child \
    bash -s "$system" "$work" "$archives" "$user" "${windows:+yes}" <<'IN_NAMESPACE'
set -euo pipefail
system=$1
work=$2
archives=$3
user=$4
windows=$5
root=$work/root
mount -t overlay overlay -o "lowerdir=$system,upperdir=$work/upper,workdir=$work/layer" "$root"
mount --rbind /dev "$root/dev"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
mount --bind "$archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
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
    -o /tmp/uia-tree.exe packaging/windows/uia-tree.c -lole32 -loleaut32" \
    || fail "the UI Automation client did not build"
as_user "tests/e2e/with-xvfb.sh packaging/windows/uia.sh /tmp/cv-veyloom-windows \
    /tmp/uia-tree.exe" \
    || fail "UI Automation under Wine"
echo "UI Automation check: $((SECONDS - start)) s"
IN_NAMESPACE
