#!/bin/bash
# Signs Windows programs and libraries in place with Authenticode, with the key that
# WINDOWS_SIGN_PKCS12 names (a PKCS#12 file) and its password in WINDOWS_SIGN_PASSWORD, time-stamped
# by WINDOWS_SIGN_TIMESTAMP (an RFC 3161 address) when that is set. Each file keeps its date.
#   packaging/windows/sign.sh FILE...
# The signing time is SOURCE_DATE_EPOCH: one commit signed with one key gives the same bytes.
# A time stamp is the authority's own, so a time-stamped file differs from one build to the next.
set -euo pipefail
: "${WINDOWS_SIGN_PKCS12:?the PKCS#12 file of the key to sign with}"
: "${WINDOWS_SIGN_PASSWORD?the password of $WINDOWS_SIGN_PKCS12 (may be empty)}"
: "${SOURCE_DATE_EPOCH:?the time of the sources, in seconds since 1970, e.g. the commit time}"

options=(-pkcs12 "$WINDOWS_SIGN_PKCS12" -h sha256 -time "$SOURCE_DATE_EPOCH")
[ -z "${WINDOWS_SIGN_TIMESTAMP:-}" ] || options+=(-ts "$WINDOWS_SIGN_TIMESTAMP")

# sign IN OUT. The password goes through a pipe, never on a command line where others could
# read it; osslsigncode takes an empty pipe for an error.
sign() {
    if [ -n "$WINDOWS_SIGN_PASSWORD" ]; then
        osslsigncode sign "${options[@]}" -readpass <(printf '%s' "$WINDOWS_SIGN_PASSWORD") \
            -in "$1" -out "$2"
    else
        osslsigncode sign "${options[@]}" -pass '' -in "$1" -out "$2"
    fi
}

log=$(mktemp)
trap 'rm -f "$log"' EXIT
for file in "$@"; do
    signed="$file.signed"
    if ! sign "$file" "$signed" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$signed"
        echo "sign.sh: could not sign $file" >&2
        exit 1
    fi
    touch --reference="$file" "$signed"
    mv "$signed" "$file"
done
