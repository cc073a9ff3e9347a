#!/bin/bash
# Adds a release's Debian packages (every .deb in its folder) to the program's apt repository
# and publishes it, with Debian's aptly, for Debian 12 and 13 alike, as one package serves both:
# component main, amd64. The releases added before stay in it, each version installable. Each
# distribution's Release is signed with the publisher's key through openpgp-sign.sh (InRelease
# inline, Release.gpg beside it), and the key's public part goes with them as cv-veyloom.asc.
# What a web server serves, as it is, is REPOSITORY/public; aptly's configuration, database and
# pool stay beside it in REPOSITORY. It changes nothing without a key that signs, for a release
# whose SHA256SUMS.asc is not that key's signature of its SHA256SUMS, or with a package that
# SHA256SUMS does not name as it is. A release without SHA256SUMS.asc it publishes only given
# ALLOW_UNSIGNED=1.
#   RELEASE_SIGN_KEY=<file> RELEASE_SIGN_PASSPHRASE=<passphrase> [ALLOW_UNSIGNED=1] \
#       packaging/apt-repository.sh RELEASE_FOLDER REPOSITORY
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
fail() {
    echo "apt-repository.sh: $*" >&2
    exit 1
}
[ $# -eq 2 ] || fail "usage: packaging/apt-repository.sh RELEASE_FOLDER REPOSITORY"
release=$1
[ -d "$release" ] || fail "there is no release folder $release"
"$here/openpgp-sign.sh" check \
    || fail "nothing published: the repository is signed with the publisher's key; name its" \
        "secret key file in RELEASE_SIGN_KEY and give its passphrase in RELEASE_SIGN_PASSPHRASE"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Users trust what the key whose public part is published here signed, and nothing else.
if [ -f "$release/SHA256SUMS.asc" ]; then
    "$here/openpgp-sign.sh" public "$work/publisher.asc"
    gpg --homedir "$work" --dearmor <"$work/publisher.asc" >"$work/publisher.gpg"
    gpgv --keyring "$work/publisher.gpg" "$release/SHA256SUMS.asc" "$release/SHA256SUMS" \
        >"$work/gpgv" 2>&1 \
        || fail "nothing published: $release/SHA256SUMS.asc is not the signature of its" \
            "SHA256SUMS by the publisher's key in RELEASE_SIGN_KEY: $(cat "$work/gpgv")"
elif [ "${ALLOW_UNSIGNED:-}" != 1 ]; then
    fail "nothing published: $release is not signed (it has no SHA256SUMS.asc). Sign it as" \
        "make release does, or give ALLOW_UNSIGNED=1 to publish it unsigned all the same"
fi
shopt -s nullglob
packages=("$release"/*.deb)
[ ${#packages[@]} -gt 0 ] || fail "$release holds no .deb package"
if [ -f "$release/SHA256SUMS" ]; then
    for package in "${packages[@]}"; do
        name=$(basename "$package")
        listed=$(awk -v name="$name" '$2 == name || $2 == "*" name { print $1 }' \
            "$release/SHA256SUMS")
        [ "$listed" = "$(sha256sum <"$package" | cut -d ' ' -f 1)" ] \
            || fail "$name is not the package $release/SHA256SUMS names"
    done
fi
"$here/../scripts/install-deps" aptly

mkdir -p "$2"
repository=$(cd "$2" && pwd)
# Its own configuration, so that aptly keeps nothing in the home folder: everything under
# rootDir, the folder it publishes being public/.
config="$repository/aptly.conf"
printf '{"rootDir": "%s", "architectures": ["amd64"]}\n' "$repository" >"$config"
run_aptly() {
    aptly -config="$config" "$@" >"$work/aptly" 2>&1 || fail "aptly $1 $2: $(cat "$work/aptly")"
}
name=cv-veyloom
aptly -config="$config" repo show "$name" >/dev/null 2>&1 \
    || run_aptly repo create -component=main "$name"
run_aptly repo add "$name" "${packages[@]}"
published=$(aptly -config="$config" publish list -raw)
for codename in bookworm trixie; do
    if grep -qx ". $codename" <<<"$published"; then
        run_aptly publish update -skip-signing "$codename"
    else
        run_aptly publish repo -skip-signing -distribution="$codename" -component=main \
            -origin="CV Veyloom" -label="CV Veyloom" "$name"
    fi
    dist="$repository/public/dists/$codename"
    "$here/openpgp-sign.sh" clear "$dist/Release" "$dist/InRelease"
    "$here/openpgp-sign.sh" detach "$dist/Release" "$dist/Release.gpg"
done
"$here/openpgp-sign.sh" public "$repository/public/$name.asc"
echo "Published $(basename -a "${packages[@]}" | paste -sd " ") in $repository/public for" \
    "bookworm and trixie"
