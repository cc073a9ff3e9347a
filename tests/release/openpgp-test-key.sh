#!/bin/bash
# Makes a throwaway OpenPGP signing key in DIR, as a publisher's comes: secret.asc, protected by
# the passphrase in passphrase, and public.asc. A second call with another NAME makes another key.
#   tests/release/openpgp-test-key.sh DIR [NAME]
set -euo pipefail
dir=$1
name=${2:-CV Veyloom test publisher}
mkdir -p "$dir"
home=$(mktemp -d /tmp/openpgp-key.XXXXXX)
trap 'gpgconf --homedir "$home" --kill gpg-agent 2>/dev/null || true; rm -rf "$home"' EXIT
openssl rand -hex 16 >"$dir/passphrase"
gpg_batch() {
    gpg --homedir "$home" --batch --quiet --pinentry-mode loopback \
        --passphrase-file "$dir/passphrase" "$@"
}
gpg_batch --quick-gen-key "$name <release@example.org>" rsa3072 sign 1d
gpg_batch --armor --export-secret-keys --output "$dir/secret.asc"
gpg_batch --armor --export --output "$dir/public.asc"
