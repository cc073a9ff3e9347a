#!/bin/bash
# Builds the Debian package of the program from a build folder, the way Debian's own tools do it:
# a staged install, the program stripped, man page and changelog compressed, control fields from
# dpkg-gencontrol with the dependencies dpkg-shlibdeps finds. The same sources and
# SOURCE_DATE_EPOCH give the same package, byte for byte, wherever they are built.
#   SOURCE_DATE_EPOCH=<seconds> packaging/build-deb.sh <build folder>
set -euo pipefail
: "${SOURCE_DATE_EPOCH:?the time of the sources, in seconds since 1970, e.g. the commit time}"
export SOURCE_DATE_EPOCH
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
package=cv-veyloom

work="$build/deb"
rm -rf "$work"
mkdir -p "$work/debian"
cp "$here/debian/control" "$here/debian/changelog" "$work/debian/"
cd "$work"
root="debian/$package"
version=$(dpkg-parsechangelog -S Version)
project_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$version" = "$project_version" ] \
    || { echo "the changelog's version $version is not the program's $project_version" >&2; exit 1; }

DESTDIR="$work/$root" cmake --install "$build" --prefix /usr >/dev/null
# As Debian's dh_strip does: no symbols, no compiler notes; the build id stays.
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/$package"

doc="$root/usr/share/doc/$package"
install -d "$doc"
install -m 644 "$here/debian/copyright" "$doc/copyright"
gzip -9n <"$here/debian/changelog" >"$doc/changelog.gz"
find "$root/usr/share/man" -type f -name '*.[0-9]' -exec gzip -9n {} +

# Modes and times independent of the umask and of when the files were checked out or built.
find "$root" -type d -exec chmod 755 {} +
find "$root" -type f -exec chmod 644 {} +
chmod 755 "$root/usr/bin/$package"
find "$root" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +

# DEBIAN marks the package's root for dpkg-shlibdeps.
install -d -m 755 "$root/DEBIAN"
# Qt's X11 platform and JPEG plugins, loaded at run time, come with libqt6gui6, which it links.
dpkg-shlibdeps "$root/usr/bin/$package"
dpkg-gencontrol -p"$package" -P"$root" -f"$work/files"
(cd "$root" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | LC_ALL=C sort -z \
    | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
touch --date="@$SOURCE_DATE_EPOCH" "$root/DEBIAN" "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb="$build/${package}_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
# One compressor thread: xz cuts its output into blocks by thread count.
dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$root" "$deb" >/dev/null
echo "$deb"
