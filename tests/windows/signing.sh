#!/bin/bash
# The signed Windows build, with a throwaway certificate authority and key made here: every
# program and library, the uninstaller and the installer carry a signature that authority
# accepts; signed twice, the same bytes; verify.sh passes it and fails one with one byte of one
# library changed. Time-stamped by an authority of the check's own (timestamp-authority.sh), each
# file carries its time-stamp, verify.sh passes it, and past the certificate's expiry a stamped
# signature verifies where an unstamped one does not. Under Wine the signed installer writes
# signed files and passes the installer's own test.
#   SOURCE_DATE_EPOCH=<seconds> tests/windows/signing.sh <build folder of build.sh, unsigned>
set -euo pipefail
: "${SOURCE_DATE_EPOCH:?the time of the sources, in seconds since 1970, e.g. the commit time}"
export SOURCE_DATE_EPOCH
build=$(readlink -f "$1")
. "$(dirname "$0")/../packages/reproducible-lib.sh"
cd "$(dirname "$0")/../.."
repo=$(pwd)
scripts/install-deps osslsigncode 7zip openssl

version=$(scripts/build-version "$build")
name="cv-veyloom-$version"
max_size=6291456

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The later version the installer's own test upgrades to, unsigned as built.
next=$(tests/windows/next-version.sh "$build")

key="$work/key"
tests/windows/authenticode-test-key.sh "$key"
WINDOWS_SIGN_PASSWORD=$(cat "$key/password")
export WINDOWS_SIGN_PASSWORD WINDOWS_SIGN_PKCS12="$key/signer.p12"

# signed_build FROM NAME DIR [CHANGE]: the unsigned folder NAME of build FROM, packaged and signed
# in DIR as build.sh does with a key; CHANGE, a function run in the folder first.
signed_build() {
    mkdir -p "$3/packaging/windows"
    cp "$1/packaging/windows/"*.nsh "$3/packaging/windows/"
    cp -a "$1/$2" "$3/$2"
    [ $# -lt 4 ] || (cd "$3/$2" && "$4")
    quietly packaging/windows/package.sh "$3" "$2"
}
signed_build "$build" "$name" "$work/signed"
setup="$work/signed/$name-setup.exe"

# accepted FILE: the signature is the test signer's, at the commit's time, and the authority
# accepts it.
signing_time=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%b %e %H:%M:%S %Y GMT')
accepted() {
    local report
    report=$(osslsigncode verify -CAfile "$key/root.crt" -in "$1" 2>&1) \
        || fail "the signature of $2 is refused: $report"
    grep -q 'Subject: /CN=CV Veyloom test signer' <<<"$report" || fail "$2 is signed by another"
    grep -qF "Signing time: $signing_time" <<<"$report" \
        || fail "$2 is not signed at $signing_time: $(grep 'Signing time' <<<"$report")"
}
pe_files=$(cd "$work/signed/$name" && find . -type f \( -name '*.exe' -o -name '*.dll' \) \
    -printf '%P\n' | LC_ALL=C sort)
for expected in cv-veyloom.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll \
    libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll imageformats/qjpeg.dll; do
    grep -qx "$expected" <<<"$pe_files" || fail "the folder lacks $expected"
done
for file in $pe_files; do
    accepted "$work/signed/$name/$file" "$file"
done
accepted "$setup" "the installer"
uninstaller=cv-veyloom-uninstall.exe
7zz e -tNsis -o"$work/unpacked" "$setup" "$uninstaller" >/dev/null
accepted "$work/unpacked/$uninstaller" "the uninstaller the installer holds"
echo "PASS: every program and library, the uninstaller and the installer are signed"

for file in "$build/$name-setup.exe" "$setup"; do
    size=$(stat -c %s "$file")
    [ "$size" -le "$max_size" ] || fail "$file is $size bytes, over $max_size"
    echo "PASS: $(basename "$(dirname "$file")")/$(basename "$file") is $size bytes"
done

signed_build "$build" "$name" "$work/again"
for file in "$name-setup.exe" "$name-windows-x64.zip"; do
    cmp -s "$work/signed/$file" "$work/again/$file" || fail "$file differs when signed again"
done
echo "PASS: signed twice, the same installer and zip"

# Under the name a browser gives a second download of it.
downloaded="$work/$name-setup (1).exe"
cp "$setup" "$downloaded"
quietly packaging/windows/verify.sh "$build" "$downloaded"
echo "PASS: verify.sh passes the signed installer"
# One bit of the middle byte of Qt's GUI library changed: a build signed by the same key.
change_gui_library() {
    "$repo/tests/change-byte.sh" Qt6Gui.dll
}
signed_build "$build" "$name" "$work/changed" change_gui_library
if packaging/windows/verify.sh "$build" "$work/changed/$name-setup.exe" >"$work/verify.log" 2>&1
then
    cat "$work/verify.log" >&2
    fail "verify.sh passes an installer with a changed library"
fi
grep -q '^DIFFERENT  Qt6Gui.dll: signed by /CN=CV Veyloom test signer$' "$work/verify.log" \
    || { cat "$work/verify.log" >&2; fail "verify.sh does not name the changed library"; }
echo "PASS: verify.sh fails an installer with one byte of one library changed"

# The same build time-stamped by the check's own authority, on 127.0.0.1 while the check runs.
tests/windows/timestamp-authority.sh "$work/authority" 1800 >"$work/authority.log" 2>&1 &
authority=$!
trap 'kill "$authority" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    port=$(sed -n 's/^port //p' "$work/authority.log")
    [ -z "$port" ] || break
    sleep 0.1
done
[ -n "$port" ] || {
    cat "$work/authority.log" >&2
    fail "the time-stamping authority did not start"
}
stamping=$(date +%s)
(
    export WINDOWS_SIGN_TIMESTAMP=http://127.0.0.1:$port no_proxy=127.0.0.1
    signed_build "$build" "$name" "$work/stamped"
)
stamped=$(date +%s)
tsa_root="$work/authority/tsa-root.crt"

# A day after the signing certificate has expired: the installer | whether it verifies then.
expired=$(($(date -d "$(openssl x509 -enddate -noout -in "$key/signer.crt" | cut -d= -f2)" +%s)
    + 86400))
while read -r file valid; do
    if osslsigncode verify -CAfile "$key/root.crt" -TSA-CAfile "$tsa_root" -time "$expired" \
        -in "$file" >"$work/expired.log" 2>&1; then
        [ "$valid" = yes ] || fail "$file verifies after its certificate expired"
    else
        [ "$valid" = no ] && grep -q 'certificate has expired' "$work/expired.log" \
            || { cat "$work/expired.log" >&2; fail "$file does not verify after its expiry"; }
    fi
done <<END
$work/stamped/$name-setup.exe yes
$setup no
END
echo "PASS: after the certificate's expiry the time-stamped installer verifies, the other not"

# timestamp FILE NAME: the test signer's signature carries a time-stamp of the authority's, made
# while the stamped build ran.
timestamp() {
    local report time
    report=$(osslsigncode verify -CAfile "$key/root.crt" -TSA-CAfile "$tsa_root" -in "$1" 2>&1) \
        || fail "the time-stamped signature of $2 is refused: $report"
    grep -q '^Timestamp Server Signature verification: ok' <<<"$report" \
        || fail "$2 carries no time-stamp of the authority: $report"
    time=$(date -d "$(sed -n 's/^\tTimestamp time: //p' <<<"$report")" +%s)
    [ "$time" -ge "$stamping" ] && [ "$time" -le "$stamped" ] \
        || fail "$2 is time-stamped at $time, outside $stamping to $stamped"
}
for file in $pe_files; do
    timestamp "$work/stamped/$name/$file" "$file"
done
timestamp "$work/stamped/$name-setup.exe" "the installer"
7zz e -tNsis -o"$work/stamped-unpacked" "$work/stamped/$name-setup.exe" "$uninstaller" >/dev/null
timestamp "$work/stamped-unpacked/$uninstaller" "the uninstaller the installer holds"
echo "PASS: every program and library, the uninstaller and the installer are time-stamped"
for file in "$name-setup.exe" "$name-windows-x64.zip"; do
    quietly packaging/windows/verify.sh "$build" "$work/stamped/$file"
done
echo "PASS: verify.sh passes the time-stamped installer and zip"

tests/e2e/with-xvfb.sh bash tests/windows/signed-install-test.sh "$setup" "$key/root.crt"
# The installer's own test, on the signed installer and a signed later version.
signed_build "$next" cv-veyloom-1.0.1 "$work/signed-next"
tests/e2e/with-xvfb.sh bash tests/windows/installer-test.sh "$setup" \
    "$work/signed-next/cv-veyloom-1.0.1-setup.exe"
