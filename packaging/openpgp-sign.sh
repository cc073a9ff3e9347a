#!/bin/bash
# Signs with the publisher's OpenPGP key: its secret key in the file RELEASE_SIGN_KEY (as
# `gpg --export-secret-keys` writes it, armored or not) and its passphrase in
# RELEASE_SIGN_PASSPHRASE, an environment variable only (empty for a key without one).
#   packaging/openpgp-sign.sh check                  whether the key signs, and why not
#   packaging/openpgp-sign.sh public OUT             its public key, armored
#   packaging/openpgp-sign.sh detach FILE OUT        an armored signature of FILE
#   packaging/openpgp-sign.sh clear FILE OUT         FILE signed inline, as apt's InRelease is
# The key lives in a keyring of its own for the command's time only. A signature is dated
# SOURCE_DATE_EPOCH when that is set, but never before the key was made: one commit signed with
# one RSA or Ed25519 key gives the same bytes.
set -euo pipefail
fail() {
    echo "openpgp-sign.sh: $*" >&2
    exit 1
}
[ -n "${RELEASE_SIGN_KEY:-}" ] || fail "no key given: RELEASE_SIGN_KEY names its file"
[ -r "$RELEASE_SIGN_KEY" ] || fail "cannot read the key $RELEASE_SIGN_KEY"
[ -n "${RELEASE_SIGN_PASSPHRASE+set}" ] \
    || fail "the key's passphrase is not in the environment (RELEASE_SIGN_PASSPHRASE)"

# Under /tmp: the agent's socket lies in it, and a socket's path is short.
home=$(mktemp -d /tmp/openpgp.XXXXXX)
trap 'gpgconf --homedir "$home" --kill gpg-agent 2>/dev/null || true; rm -rf "$home"' EXIT
log="$home/log"
# The passphrase goes through a pipe, never on a command line where others could read it.
run_gpg() {
    gpg --homedir "$home" --batch --no-tty --pinentry-mode loopback --passphrase-fd 3 "$@" \
        3< <(printf '%s' "$RELEASE_SIGN_PASSPHRASE") 2>"$log"
}
run_gpg --import "$RELEASE_SIGN_KEY" \
    || fail "$RELEASE_SIGN_KEY holds no OpenPGP key: $(cat "$log")"
made=$(gpg --homedir "$home" --with-colons --list-secret-keys 2>/dev/null \
    | awk -F: '$1 == "sec" || $1 == "ssb" { print $6 }' | sort -n | tail -n 1)
[ -n "$made" ] || fail "$RELEASE_SIGN_KEY holds no secret key"
time=${SOURCE_DATE_EPOCH:-$(date +%s)}
[ "$time" -ge "$made" ] || time=$made

# sign OPTION FILE OUT: OUT is written whole or not at all.
sign() {
    rm -f "$3.new"
    run_gpg --faked-system-time "$time!" --armor "$1" --output "$3.new" "$2" || {
        rm -f "$3.new"
        fail "the key in $RELEASE_SIGN_KEY does not sign (is the passphrase right?): $(cat "$log")"
    }
    mv "$3.new" "$3"
}
case ${1:-} in
    check) sign --detach-sign /dev/null "$home/check.asc" ;;
    public)
        rm -f "$2.new"
        run_gpg --armor --export --output "$2.new" || fail "$(cat "$log")"
        mv "$2.new" "$2"
        ;;
    detach) sign --detach-sign "$2" "$3" ;;
    clear) sign --clearsign "$2" "$3" ;;
    *) fail "usage: openpgp-sign.sh check | public OUT | detach FILE OUT | clear FILE OUT" ;;
esac
