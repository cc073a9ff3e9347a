#!/bin/bash
# Makes every file of a release of the version being built, from a clean checkout of a commit,
# in RELEASE_ROOT/<version>/: the files release-files.sh builds in a minimal Debian 12 system,
# the builder (builder.sh): the Windows installer and zip, the Debian package and its debug
# symbols, the commit's source archive, the release notes, winget's manifests, the record of that
# system; and SHA256SUMS of them all; given the publisher's OpenPGP key (see openpgp-sign.sh),
# its signature SHA256SUMS.asc, made here. The folder is made whole or not at all; a folder of
# the same version made before is replaced. Run by `make release`, which gives RELEASE_BUILD,
# RELEASE_ROOT and DOWNLOAD_URL, and a Windows key to sign with (see windows/sign.sh).
#   packaging/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
fail() {
    echo "make release: $*" >&2
    exit 1
}

changes=$(git status --porcelain --untracked-files=normal)
[ -z "$changes" ] || fail "the tree has changes that are not committed; a release is made from a \
commit alone. Commit or stash them first:"$'\n'"$changes"
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

# A key that cannot sign stops the release before the long build.
if [ -n "${RELEASE_SIGN_KEY:-}" ]; then
    packaging/openpgp-sign.sh check || fail "nothing was made"
fi
[ -z "${WINDOWS_SIGN_PKCS12:-}" ] || [ -r "$WINDOWS_SIGN_PKCS12" ] \
    || fail "cannot read the Windows key $WINDOWS_SIGN_PKCS12; nothing was made"
# The system is made with mmdebstrap, which mounts and changes root.
if [ "$(id -u)" -ne 0 ] && ! sudo -v; then
    fail "a release is built in a minimal Debian 12 system, which mmdebstrap makes as root: \
run it as root or as a user who may use sudo. Nothing was made"
fi
scripts/install-deps mmdebstrap || fail "a release is built in a minimal Debian 12 system, which \
mmdebstrap makes from Debian's archive: this needs a Debian machine whose apt reaches it. \
Nothing was made"

mkdir -p "$RELEASE_ROOT"
new=$(mktemp -d "$RELEASE_ROOT/.new.XXXXXX")
trap 'rm -rf "$new"' EXIT
packaging/builder.sh "$new" packaging/release-files.sh /release || fail "nothing was made"
version=$(scripts/build-version "$RELEASE_BUILD/debian")
folder="$RELEASE_ROOT/$version"

sums=$(cd "$new" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' sha256sum)
echo "$sums" >"$new/SHA256SUMS"
[ -z "${RELEASE_SIGN_KEY:-}" ] || packaging/openpgp-sign.sh detach "$new/SHA256SUMS" \
    "$new/SHA256SUMS.asc"
find "$new" -type d -exec chmod 755 {} +
find "$new" -type f -exec chmod 644 {} +
find "$new" -exec touch --date="@$SOURCE_DATE_EPOCH" {} +

rm -rf "$folder.old"
[ ! -e "$folder" ] || mv "$folder" "$folder.old"
mv "$new" "$folder"
rm -rf "$folder.old"
echo "The release of $version, from $commit, in $folder:"
(cd "$folder" && find . -type f -printf '%s\t%P\n' | LC_ALL=C sort -k2)
