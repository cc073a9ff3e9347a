#!/bin/bash
# Runs COMMAND with its ARGs in the minimal Debian 12 system that builds the releases, the
# builder (debian-system.sh), never with this machine's compilers and tools: as root there, in
# this repository, which it sees at one fixed path, /build/cv-veyloom, with FOLDER at /release.
# What it writes in FOLDER and in the repository's RELEASE_BUILD folder (build-release) stays
# the repository's owner's; that folder is emptied when another builder made what it holds. Qt for Windows is kept beside the system, which the cache folder
# keeps. The system comes from the archive apt here fetches from, or from the sources.list lines
# in RELEASE_ARCHIVE (the snapshot archive's, say). A Windows key, WINDOWS_SIGN_PKCS12, is seen
# there at /keys/signer.p12. Run as root or through sudo.
#   packaging/builder.sh FOLDER COMMAND [ARG...]
set -euo pipefail
system_keep=SOURCE_DATE_EPOCH,DOWNLOAD_URL,RELEASE_BUILD,RELEASE_ARCHIVE,WINDOWS_SIGN_PKCS12
system_keep+=,WINDOWS_SIGN_PASSWORD,WINDOWS_SIGN_TIMESTAMP
. "$(dirname "$0")/debian-system.sh"
system_sources=${RELEASE_ARCHIVE:-}
repo=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath "$1")
shift
key=${WINDOWS_SIGN_PKCS12:+$(realpath "$WINDOWS_SIGN_PKCS12")}
work=$(mktemp -d)
trap 'rm -rf --one-file-system "$work"' EXIT

debian_system builder bookworm
mkdir -p "$system.cache" "$folder"
in_system "$work/system" "$repo" "$folder" "$system.cache" "$key" "$(basename "$system")" \
    "$@" <<'IN_SYSTEM'
mkdir -p "$root/build/cv-veyloom" "$root/release" "$root/cache" "$root/keys"
mount --bind "$1" "$root/build/cv-veyloom"
mount --bind "$2" "$root/release"
mount --bind "$3" "$root/cache"
if [ -n "$4" ]; then
    touch "$root/keys/signer.p12"
    mount --bind -o ro "$4" "$root/keys/signer.p12"
fi
owner=$(stat -c %u:%g "$1")
folder=$2
build="$1/${RELEASE_BUILD:-build-release}"
trap 'chown -R "$owner" "$folder"; [ ! -d "$build" ] || chown -R "$owner" "$build"' EXIT
# A build made by another builder starts afresh: its compilers may be other versions than the
# ones this builder records.
if [ "$(cat "$build/.builder" 2>/dev/null)" != "$5" ]; then
    rm -rf "$build"
    mkdir -p "$build"
    echo "$5" >"$build/.builder"
fi
signer=$4
shift 5
chroot "$root" env -i PATH=/usr/bin:/bin:/usr/sbin:/sbin HOME=/root LANG=C.UTF-8 \
    XDG_CACHE_HOME=/cache SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-}" \
    DOWNLOAD_URL="${DOWNLOAD_URL:-}" RELEASE_BUILD="${RELEASE_BUILD:-build-release}" \
    ${signer:+WINDOWS_SIGN_PKCS12=/keys/signer.p12} \
    ${WINDOWS_SIGN_PASSWORD+"WINDOWS_SIGN_PASSWORD=$WINDOWS_SIGN_PASSWORD"} \
    ${WINDOWS_SIGN_TIMESTAMP:+"WINDOWS_SIGN_TIMESTAMP=$WINDOWS_SIGN_TIMESTAMP"} \
    GIT_CONFIG_COUNT=1 GIT_CONFIG_KEY_0=safe.directory GIT_CONFIG_VALUE_0=/build/cv-veyloom \
    bash -c 'cd /build/cv-veyloom && exec "$@"' builder "$@"
IN_SYSTEM
