#!/bin/bash
# In the builder (builder.sh), builds every file of a release but its sums into OUT: the Debian
# package and its debug symbols, the Windows installer and zip (signed given a Windows key), the
# source archive of the commit, the release notes, winget's manifests and the record of the
# system (buildinfo.sh). The build is kept in RELEASE_BUILD for the next release.
#   packaging/builder.sh OUT packaging/release-files.sh /release
set -euo pipefail
out=$1
build=${RELEASE_BUILD:-build-release}
make --no-print-directory package windows BUILD="$build/debian" WINDOWS_BUILD="$build/windows" \
    BUILD_TESTING=OFF
version=$(scripts/build-version "$build/debian")
[ "$(scripts/build-version "$build/windows")" = "$version" ] \
    || { echo "$build/windows is not a build of $version" >&2; exit 1; }
name=cv-veyloom-$version
cp "$build/windows/$name-setup.exe" "$build/windows/$name-windows-x64.zip" "$out/"
cp "$build/debian/cv-veyloom_${version}_"*.deb "$build/debian/cv-veyloom-dbgsym_${version}_"*.deb \
    "$out/"
git archive --format=tar.gz --prefix="$name/" --output="$out/$name.tar.gz" HEAD
cp "$build/debian/packaging/release-notes.md" "$out/$name-release-notes.md"
packaging/windows/winget-manifests.sh "$out/$name-setup.exe" "$out/winget"
packaging/buildinfo.sh "$version" "$out/$name.buildinfo"
