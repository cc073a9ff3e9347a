#!/bin/bash
# Builds every file of a release but its sums, from this repository's commit, in a minimal Debian
# 12 system made for it (debian-system.sh), never with this machine's compilers: the Debian
# package and its debug symbols, Qt for Windows and the Windows installer and zip, the source
# archive, the release notes, winget's manifests and the record of that system (buildinfo.sh),
# into OUT. The repository is seen there at one fixed path, /build/cv-veyloom, and built in its
# folder RELEASE_BUILD (build-release), kept for the next release; Qt for Windows is kept beside
# the system, which the cache folder keeps. The system comes from the archive apt here fetches
# from, or from the sources.list lines in RELEASE_ARCHIVE (the snapshot archive's, say). Given
# WINDOWS_SIGN_PKCS12 and WINDOWS_SIGN_PASSWORD,
# the Windows files are signed there (windows/sign.sh). Run by release.sh, as root or through
# sudo.
#   SOURCE_DATE_EPOCH=<seconds> DOWNLOAD_URL=<address> packaging/release-build.sh OUT
set -euo pipefail
system_keep=SOURCE_DATE_EPOCH,DOWNLOAD_URL,RELEASE_BUILD,RELEASE_ARCHIVE,WINDOWS_SIGN_PKCS12
system_keep+=,WINDOWS_SIGN_PASSWORD,WINDOWS_SIGN_TIMESTAMP
. "$(dirname "$0")/debian-system.sh"
system_sources=${RELEASE_ARCHIVE:-}
repo=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath "$1")
key=${WINDOWS_SIGN_PKCS12:+$(realpath "$WINDOWS_SIGN_PKCS12")}
work=$(mktemp -d)
trap 'rm -rf --one-file-system "$work"' EXIT

debian_system builder bookworm
mkdir -p "$system.cache" "$out"
in_system "$work/system" "$repo" "$out" "$system.cache" "$key" <<'IN_SYSTEM'
mkdir -p "$root/build/cv-veyloom" "$root/release" "$root/cache" "$root/keys"
mount --bind "$1" "$root/build/cv-veyloom"
mount --bind "$2" "$root/release"
mount --bind "$3" "$root/cache"
if [ -n "$4" ]; then
    touch "$root/keys/signer.p12"
    mount --bind -o ro "$4" "$root/keys/signer.p12"
fi
owner=$(stat -c %u:%g "$1")
# What is built in the repository's folder stays its owner's.
trap 'chown -R "$owner" "$2" "$1/${RELEASE_BUILD:-build-release}" 2>/dev/null || true' EXIT
chroot "$root" env -i PATH=/usr/bin:/bin:/usr/sbin:/sbin HOME=/root LANG=C.UTF-8 \
    XDG_CACHE_HOME=/cache SOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH" DOWNLOAD_URL="$DOWNLOAD_URL" \
    build="${RELEASE_BUILD:-build-release}" ${4:+WINDOWS_SIGN_PKCS12=/keys/signer.p12} \
    ${WINDOWS_SIGN_PASSWORD+"WINDOWS_SIGN_PASSWORD=$WINDOWS_SIGN_PASSWORD"} \
    ${WINDOWS_SIGN_TIMESTAMP:+"WINDOWS_SIGN_TIMESTAMP=$WINDOWS_SIGN_TIMESTAMP"} \
    GIT_CONFIG_COUNT=1 GIT_CONFIG_KEY_0=safe.directory GIT_CONFIG_VALUE_0=/build/cv-veyloom \
    bash -euo pipefail -c '
    cd /build/cv-veyloom
    make --no-print-directory package windows BUILD="$build/debian" \
        WINDOWS_BUILD="$build/windows" BUILD_TESTING=OFF
    version=$(scripts/build-version "$build/debian")
    [ "$(scripts/build-version "$build/windows")" = "$version" ] \
        || { echo "$build/windows is not a build of $version" >&2; exit 1; }
    name=cv-veyloom-$version
    cp "$build/windows/$name-setup.exe" "$build/windows/$name-windows-x64.zip" /release/
    cp "$build/debian/cv-veyloom_${version}_"*.deb \
        "$build/debian/cv-veyloom-dbgsym_${version}_"*.deb /release/
    git archive --format=tar.gz --prefix="$name/" --output="/release/$name.tar.gz" HEAD
    cp "$build/debian/packaging/release-notes.md" "/release/$name-release-notes.md"
    packaging/windows/winget-manifests.sh "/release/$name-setup.exe" /release/winget
    packaging/buildinfo.sh "$version" "/release/$name.buildinfo"'
IN_SYSTEM
