#!/bin/bash
# Installs the Debian package into a fresh minimal system of this machine's Debian release that
# holds, beside it, only what a desktop gives a program (a display, here a virtual one, and
# fonts) and the tools that drive it, then takes a reading with rune stones from the installed
# program there, as an ordinary user, and purges the package again. Qt reaches that system only
# through the package's own dependencies, so a missing one fails the check.
# The system is made with mmdebstrap from the Debian archive apt is configured with here, once:
# it is kept in the cache folder under a name taken from everything it is made from.
#   tests/package-check.sh <package.deb>
set -euo pipefail
deb=$(readlink -f "$1")
e2e=$(cd "$(dirname "$0")/e2e" && pwd)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
work=$(mktemp -d)
trap '$sudo rm -rf "$work"' EXIT

desktop="xvfb xauth xdotool x11-utils fonts-dejavu-core"
user=viewer
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
"$(dirname "$0")/../scripts/debian-archive" >"$work/sources.list" \
    || { echo "FAIL: apt knows no archive of Debian $release (apt-get update?)"; exit 1; }
# apt's settings for reaching the archive: a proxy, and a snapshot archive's old Release dates.
apt-config dump Acquire::http::Proxy Acquire::https::Proxy Acquire::Retries \
    Acquire::Check-Valid-Until Acquire::Check-Date >"$work/apt.conf"

cache="${XDG_CACHE_HOME:-$HOME/.cache}/cv-veyloom"
mkdir -p "$cache/archives"
recipe="minbase $release $desktop user $user $(cat "$work/sources.list" "$work/apt.conf")"
system="$cache/debian-$release-$(sha256sum <<<"$recipe" | cut -c1-16).tar.zst"
if [ ! -f "$system" ]; then
    echo "Making a minimal Debian $release system with $desktop (once; kept in $cache)"
    rm -f "$cache"/debian-"$release"-*.tar.zst "$cache"/archives/*.deb
    $sudo mmdebstrap --quiet --mode=root --variant=minbase --include="${desktop// /,}" \
        --aptopt="$work/apt.conf" --skip=cleanup/apt/lists \
        --customize-hook="chroot \"\$1\" useradd --create-home $user" \
        "$release" "$work/system.tar.zst" "$work/sources.list"
    mv "$work/system.tar.zst" "$system"
fi

root="$work/root"
mkdir "$root"
$sudo tar --zstd -xf "$system" -C "$root"
$sudo cp "$deb" "$root/tmp/cv-veyloom.deb"
$sudo cp "$e2e/lib.sh" "$e2e/with-xvfb.sh" "$e2e/stones.sh" "$root/tmp/"
$sudo cp /etc/resolv.conf "$root/etc/resolv.conf"
# Packages fetched on an earlier run, so that only a changed dependency is fetched again.
find "$cache/archives" -name '*.deb' -exec $sudo cp -t "$root/var/cache/apt/archives" {} +

# In a mount namespace of its own: whatever is mounted there goes when the check ends.
$sudo unshare --mount --pid --fork --kill-child --mount-proc="$root/proc" \
    bash -s "$root" "$user" >"$work/log" 2>&1 <<'IN_NAMESPACE' || status=$?
set -euo pipefail
root=$1
user=$2
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
install_package() {
    chroot "$root" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends /tmp/cv-veyloom.deb
}
# The package lists kept with the system may name versions the archive no longer has.
install_package || { chroot "$root" apt-get update -q && install_package; }
for file in /usr/bin/cv-veyloom /usr/share/applications/com.orravine.CVVeyloom.desktop \
    /usr/share/man/man1/cv-veyloom.1.gz /usr/share/doc/cv-veyloom/copyright; do
    [ -e "$root$file" ] || { echo "FAIL: the package installed no $file"; exit 1; }
done
chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" PATH=/usr/bin:/bin \
    APP=/usr/bin/cv-veyloom bash /tmp/with-xvfb.sh bash /tmp/stones.sh
chroot "$root" apt-get purge -y -q cv-veyloom
leftovers=$(chroot "$root" find / -xdev -name '*cv-veyloom*' ! -path /tmp/cv-veyloom.deb \
    ! -path '/var/cache/apt/*')
[ -z "$leftovers" ] || { echo "FAIL: purging the package left $leftovers"; exit 1; }
IN_NAMESPACE
find "$root/var/cache/apt/archives" -maxdepth 1 -name '*.deb' -exec cp -n -t "$cache/archives" {} +
if [ "${status:-0}" -ne 0 ]; then
    sed 's/^/    /' "$work/log"
    echo "FAIL: the installed program did not show a reading with rune stones on a minimal system"
    exit 1
fi
echo "PASS: on a minimal Debian $release system the package installs and shows a reading with" \
    "rune stones"
