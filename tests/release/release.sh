#!/bin/bash
# A release of this commit, signed with throwaway OpenPGP and Authenticode keys: every file there
# and named in SHA256SUMS, whose signature the public key alone accepts, and refuses for a changed
# SHA256SUMS or from another key; winget's manifests against its installer; `make verify-release`
# passes it, finding the build system it records here, and in a copy with one byte of the
# Debian package and one recorded package version changed names that file and that package.
# First, in a clone, a tree with changes and keys that cannot sign are refused before
# any build, with nothing written.
#   tests/release/release.sh     (by make test-release, from a tree without changes)
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# make ARGUMENT...: this repository's make, as a publisher runs it, not as part of this make.
run_make() { env -u MAKEFLAGS -u MAKELEVEL make --no-print-directory "$@"; }

tests/release/openpgp-test-key.sh "$work/key"
tests/release/openpgp-test-key.sh "$work/other" "Someone else"
passphrase=$(cat "$work/key/passphrase")

git clone -q "$repo" "$work/clone"
# What is refused | what it says | the change to the clone | the environment it is made in.
while IFS='|' read -r what message change environment; do
    (cd "$work/clone" && eval "$change")
    before=$(git -C "$work/clone" status --porcelain --ignored)
    # shellcheck disable=SC2086
    if env -u MAKEFLAGS -u MAKELEVEL -u RELEASE_SIGN_PASSPHRASE $environment timeout 120 \
        make -C "$work/clone" release \
        RELEASE_ROOT="$work/clone-release" >"$work/log" 2>&1; then
        fail "$what: a release was made"
    fi
    grep -qF "$message" "$work/log" || { cat "$work/log"; fail "$what: not said: $message"; }
    [ ! -e "$work/clone-release" ] && [ "$(git -C "$work/clone" status --porcelain --ignored)" \
        = "$before" ] || fail "$what: something was written"
    echo "PASS: refused: $what"
done <<END
no such key file|cannot read the key|:|RELEASE_SIGN_KEY=$work/none.asc RELEASE_SIGN_PASSPHRASE=
a file that holds no key|holds no OpenPGP key|:|RELEASE_SIGN_KEY=$repo/NEWS.md RELEASE_SIGN_PASSPHRASE=
a wrong passphrase|does not sign|:|RELEASE_SIGN_KEY=$work/key/secret.asc RELEASE_SIGN_PASSPHRASE=wrong
no passphrase given|not in the environment|:|RELEASE_SIGN_KEY=$work/key/secret.asc
a file not yet committed|not committed|touch new-file|RELEASE_SIGN_KEY=
a changed file|not committed|rm new-file; echo >>NEWS.md|RELEASE_SIGN_KEY=
END

# Signed as a publisher signs it, the Windows files too.
tests/windows/authenticode-test-key.sh "$work/windows-key"
RELEASE_SIGN_PASSPHRASE=$passphrase WINDOWS_SIGN_PASSWORD=$(cat "$work/windows-key/password") \
    run_make release RELEASE_ROOT="$work/release" RELEASE_SIGN_KEY="$work/key/secret.asc" \
    WINDOWS_SIGN_PKCS12="$work/windows-key/signer.p12" >"$work/log" 2>&1 \
    || { cat "$work/log"; fail "make release"; }
version=$(ls "$work/release")
release="$work/release/$version"
expected="SHA256SUMS
SHA256SUMS.asc
cv-veyloom-$version-release-notes.md
cv-veyloom-$version-setup.exe
cv-veyloom-$version-windows-x64.zip
cv-veyloom-$version.buildinfo
cv-veyloom-$version.tar.gz
cv-veyloom-dbgsym_${version}_amd64.deb
cv-veyloom_${version}_amd64.deb
winget/Orravine.CVVeyloom.installer.yaml
winget/Orravine.CVVeyloom.locale.en-US.yaml
winget/Orravine.CVVeyloom.yaml"
files=$(cd "$release" && find . -type f -printf '%P\n' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "the release holds other files: $(diff <(echo "$expected") \
    <(echo "$files"))"
[ "$(cut -c67- "$release/SHA256SUMS")" = "$(grep -v '^SHA256SUMS' <<<"$expected")" ] \
    || fail "SHA256SUMS does not name every other file: $(cat "$release/SHA256SUMS")"
(cd "$release" && sha256sum --check --quiet --strict SHA256SUMS) || fail "a sum is wrong"
[ "$(gzip -dc "$release/cv-veyloom-$version.tar.gz" | git get-tar-commit-id)" \
    = "$(git rev-parse HEAD)" ] || fail "the source archive is not of this commit"
echo "PASS: the release holds every file, each named in SHA256SUMS with its sum"
# The build system's record names the packages that build, as installed in the minimal Debian 12
# system the release was built in.
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
builder=$("${as_root[@]}" bash -c 'work=$1; . "$2"; debian_system builder bookworm >&2
    echo "$system"' bash "$work" "$repo/packaging/debian-system.sh")
built_with() {
    "${as_root[@]}" dpkg-query --admindir="$builder/var/lib/dpkg" -W -f '${Version}' "$1"
}
grep -qx 'Build-Distribution: bookworm' "$release/cv-veyloom-$version.buildinfo" \
    || fail "the build system's record does not name Debian 12 (bookworm)"
for package in libc6 g++ qt6-base-dev g++-mingw-w64-x86-64-posix nsis; do
    entry=" $package (= $(built_with "$package")),"
    grep -qxF "$entry" "$release/cv-veyloom-$version.buildinfo" \
        || fail "the build system's record lacks$entry"
done
echo "PASS: the build system's record names the packages that build, as installed there"

gpg --dearmor <"$work/key/public.asc" >"$work/public.gpg"
gpg --dearmor <"$work/other/public.asc" >"$work/other.gpg"
cp "$release/SHA256SUMS" "$work/changed-sums"
sed -i '1s/^./0/; 1s/^00/11/' "$work/changed-sums"
# The key | the sums | whether the signature is good.
while read -r keyring sums good; do
    if gpgv --keyring "$work/$keyring" "$release/SHA256SUMS.asc" "$sums" >/dev/null 2>&1; then
        [ "$good" = yes ] || fail "gpgv accepts $sums with $keyring"
    else
        [ "$good" = no ] || fail "gpgv refuses $sums with $keyring"
    fi
done <<END
public.gpg $release/SHA256SUMS yes
other.gpg $release/SHA256SUMS no
public.gpg $work/changed-sums no
END
echo "PASS: the publisher's public key alone accepts SHA256SUMS.asc, for SHA256SUMS alone"

tests/release/winget-manifests.sh "$release"

run_make verify-release DIR="$release" KEY="$work/key/public.asc" | tee "$work/verify.log" \
    || fail "make verify-release fails the release"
for line in '^checked    SHA256SUMS.asc: Good signature from "CV Veyloom test publisher' \
    "^SAME       cv-veyloom-$version-setup.exe: signed by /CN=CV Veyloom test signer" \
    "^SAME       cv-veyloom-$version-windows-x64.zip: signed by /CN=CV Veyloom test signer" \
    "^checked    cv-veyloom-$version.buildinfo: built here in the recorded system"; do
    grep -q "$line" "$work/verify.log" || fail "make verify-release did not say $line"
done

# One bit of the Debian package's middle byte and the recorded version of the C library
# changed, and the sums made again for them.
changed="$work/changed/$version"
mkdir -p "$work/changed"
cp -a "$release" "$changed"
tests/change-byte.sh "$changed/cv-veyloom_${version}_amd64.deb"
sed -i 's/^ libc6 (= [^)]*)/ libc6 (= 2.0-recorded)/' "$changed/cv-veyloom-$version.buildinfo"
rm "$changed/SHA256SUMS.asc"
(cd "$changed" && grep -v '^SHA256SUMS' <<<"$expected" | xargs sha256sum >SHA256SUMS)
if run_make verify-release DIR="$changed" >"$work/verify.log" 2>&1; then
    cat "$work/verify.log"
    fail "make verify-release passes a release with a changed Debian package"
fi
[ "$(grep '^DIFFERENT' "$work/verify.log")" = "DIFFERENT  cv-veyloom_${version}_amd64.deb" ] \
    || { cat "$work/verify.log"; fail "make verify-release does not name the one changed file"; }
libc=$(built_with libc6)
for line in "^other      cv-veyloom-$version.buildinfo: built here with other versions of: \
libc6 ($libc here, 2.0-recorded recorded)$" "^FAIL: .*, or the packages here differ from the \
recorded ones: libc6$"; do
    grep -q "$line" "$work/verify.log" || { cat "$work/verify.log"; fail "not said: $line"; }
done
echo "PASS: make verify-release names the one changed file of a release, and the one package"
