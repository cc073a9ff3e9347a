#!/bin/bash
# A release of this commit made by `make release`, its SHA256SUMS signed with a throwaway key, in
# OUT: the key in OUT/key (its public half in public.asc), the release in OUT/release/<version>.
# What OUT held before is replaced.
#   tests/release/signed-release.sh OUT     (from a tree without changes)
set -euo pipefail
out=$(realpath -m "$1")
cd "$(dirname "$0")/../.."
rm -rf "$out"
tests/release/openpgp-test-key.sh "$out/key"
RELEASE_SIGN_PASSPHRASE=$(cat "$out/key/passphrase") env -u MAKEFLAGS -u MAKELEVEL \
    make --no-print-directory release RELEASE_ROOT="$out/release" \
    RELEASE_SIGN_KEY="$out/key/secret.asc" >"$out/release.log" 2>&1 \
    || { cat "$out/release.log"; echo "FAIL: make release" >&2; exit 1; }
