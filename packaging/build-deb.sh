#!/bin/bash
# Builds the Debian package of the program from a build folder, the way Debian's own tools do it:
# a staged install, the program stripped, man page and changelog compressed, control fields from
# dpkg-gencontrol with the dependencies dpkg-shlibdeps finds. The program's debug information
# goes into a package of its own, cv-veyloom-dbgsym. The same sources and SOURCE_DATE_EPOCH give
# the same packages, byte for byte, wherever they are built; their paths are printed.
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
cp "$here/debian/control" "$build/packaging/changelog" "$work/debian/"
cd "$work"
root="debian/$package"
debug_root="debian/$package-dbgsym"
version=$(dpkg-parsechangelog -S Version)
project_version=$("$here/../scripts/build-version" "$build")
[ "$version" = "$project_version" ] \
    || { echo "the changelog's version, $version, is not the program's" >&2; exit 1; }

DESTDIR="$work/$root" cmake --install "$build" --prefix /usr >/dev/null
program="$root/usr/bin/$package"

# As Debian's dh_strip does: the debug information apart, under the program's build id, and the
# program without symbols and compiler notes, pointing to it.
build_id=$(readelf --notes "$program" | sed -n 's/^ *Build ID: //p')
[ -n "$build_id" ] || { echo "$program has no build id" >&2; exit 1; }
debug_file="$debug_root/usr/lib/debug/.build-id/${build_id:0:2}/${build_id:2}.debug"
install -d "$(dirname "$debug_file")"
objcopy --only-keep-debug --compress-debug-sections "$program" "$debug_file"
strip --remove-section=.comment --remove-section=.note "$program"
objcopy --add-gnu-debuglink="$debug_file" "$program"

doc="$root/usr/share/doc/$package"
install -d "$doc" "$debug_root/usr/share/doc"
install -m 644 "$here/debian/copyright" "$doc/copyright"
gzip -9n <"$work/debian/changelog" >"$doc/changelog.gz"
find "$root/usr/share/man" -type f -name '*.[0-9]' -exec gzip -9n {} +
ln -s "$package" "$debug_root/usr/share/doc/$package-dbgsym"

# DEBIAN marks the package's root for dpkg-shlibdeps.
install -d "$root/DEBIAN" "$debug_root/DEBIAN"
# Qt's X11 platform and JPEG plugins, loaded at run time, come with libqt6gui6, which it links.
dpkg-shlibdeps "$program"
dpkg-gencontrol -p"$package" -P"$root" -f"$work/files"
# The fields Debian's own debug packages get.
dpkg-gencontrol -p"$package" -P"$debug_root" -f"$work/files" -UHomepage \
    -DPackage="$package-dbgsym" -DDepends="$package (= $version)" -DSection=debug \
    -DPriority=optional -DAuto-Built-Package=debug-symbols -DBuild-Ids="$build_id" \
    -DDescription="debug symbols for $package"

# package ROOT: the package of that staged tree, with modes and times independent of the umask
# and of when the files were checked out or built.
package() {
    find "$1" -type d -exec chmod 755 {} +
    find "$1" -type f -exec chmod 644 {} +
    [ ! -d "$1/usr/bin" ] || chmod 755 "$1"/usr/bin/*
    (cd "$1" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | LC_ALL=C sort -z \
        | xargs -0 md5sum) >"$1/DEBIAN/md5sums"
    find "$1" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +
    local deb
    deb="$build/$(basename "$1")_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).deb"
    # One compressor thread: xz cuts its output into blocks by thread count.
    dpkg-deb --root-owner-group -Zxz --threads-max=1 --build "$1" "$deb" >/dev/null
    echo "$deb"
}
package "$root"
package "$debug_root"
