#!/bin/bash
# Makes every file of a release of the version being built, from a clean checkout of a commit,
# in RELEASE_ROOT/<version>/: the Windows installer and zip, the Debian package and its debug
# symbols, the commit's source archive, the release notes, winget's manifests, the record of
# the system they were built in (buildinfo.sh), and SHA256SUMS of them all; given the
# publisher's OpenPGP key (see openpgp-sign.sh), its signature SHA256SUMS.asc. The folder is
# made whole or not at all; a folder of the same version made before is replaced. Run by `make release`, which gives BUILD, WINDOWS_BUILD, RELEASE_ROOT and
# DOWNLOAD_URL, and passes a Windows key on to `make windows` (see windows/sign.sh).
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
# The files are built with this machine's compilers and libraries: on Debian 12 alone is the
# package one that Debian 12 and 13 both install, and the release the one its record names.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ "$codename" = bookworm ] || fail "a release is built on Debian 12 (bookworm), whose compilers \
and libraries make a package that Debian 12 and 13 both install; this machine runs \
${codename:-another system}. Nothing was made"
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

# A key that cannot sign stops the release before the long build.
if [ -n "${RELEASE_SIGN_KEY:-}" ]; then
    packaging/openpgp-sign.sh check || fail "nothing was made"
fi
make --no-print-directory package windows || fail "nothing was made"

version=$(scripts/build-version "$BUILD")
[ "$(scripts/build-version "$WINDOWS_BUILD")" = "$version" ] \
    || fail "$WINDOWS_BUILD is not a build of $version"
name="cv-veyloom-$version"
folder="$RELEASE_ROOT/$version"
new="$folder.new"
rm -rf "$new"
trap 'rm -rf "$new"' EXIT
mkdir -p "$new"

cp "$WINDOWS_BUILD/$name-setup.exe" "$WINDOWS_BUILD/$name-windows-x64.zip" "$new/"
cp "$BUILD/cv-veyloom_${version}_"*.deb "$BUILD/cv-veyloom-dbgsym_${version}_"*.deb "$new/"
git archive --format=tar.gz --prefix="$name/" --output="$new/$name.tar.gz" "$commit"
cp "$BUILD/packaging/release-notes.md" "$new/$name-release-notes.md"
packaging/windows/winget-manifests.sh "$new/$name-setup.exe" "$new/winget"
packaging/buildinfo.sh "$version" "$new/$name.buildinfo"

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
