#!/bin/bash
# Installs the Debian package into a fresh minimal system of this machine's Debian release that
# holds, beside it, only what a desktop gives a program (a display, here a virtual one, and
# fonts) and the tools that drive it, then takes a reading with rune stones from the installed
# program there, as an ordinary user, and purges the package again. Qt reaches that system only
# through the package's own dependencies, so a missing one fails the check.
# The system is made once and kept in the cache folder (packaging/debian-system.sh); each check
# works on a throw-away layer over it.
#   tests/packages/package-check.sh <package.deb>
set -euo pipefail
. "$(dirname "$0")/../../packaging/debian-system.sh"
deb=$(readlink -f "$1")
e2e=$(cd "$(dirname "$0")/../e2e" && pwd)
work=$(mktemp -d)
trap 'rm -rf --one-file-system "$work"' EXIT

release=$(. /etc/os-release && echo "$VERSION_CODENAME")
debian_system desktop "$release"
in_system "$work/system" "$deb" "$e2e" >"$work/log" 2>&1 <<'IN_SYSTEM' || status=$?
cp "$1" "$root/tmp/cv-veyloom.deb"
cp "$2/lib.sh" "$2/with-xvfb.sh" "$2/stones.sh" "$root/tmp/"
apt_install /tmp/cv-veyloom.deb
for file in /usr/bin/cv-veyloom /usr/share/applications/com.orravine.CVVeyloom.desktop \
    /usr/share/man/man1/cv-veyloom.1.gz /usr/share/doc/cv-veyloom/copyright; do
    [ -e "$root$file" ] || { echo "FAIL: the package installed no $file"; exit 1; }
done
chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" PATH=/usr/bin:/bin \
    APP=/usr/bin/cv-veyloom bash /tmp/with-xvfb.sh bash /tmp/stones.sh
chroot "$root" apt-get purge -y -q cv-veyloom
leftovers=$(chroot "$root" find / /tmp -xdev -name '*cv-veyloom*' \
    ! -path /tmp/cv-veyloom.deb ! -path '/var/cache/apt/*')
[ -z "$leftovers" ] || { echo "FAIL: purging the package left $leftovers"; exit 1; }
IN_SYSTEM
if [ "${status:-0}" -ne 0 ]; then
    sed 's/^/    /' "$work/log"
    echo "FAIL: the installed program did not show a reading with rune stones on a minimal system"
    exit 1
fi
echo "PASS: on a minimal Debian $release system the package installs and shows a reading with" \
    "rune stones"
