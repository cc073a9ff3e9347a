#!/bin/bash
# Checks a published installer or zip against this commit's own unsigned build: unpacks both with
# 7-Zip, takes the signature off each program and library of the published one and compares each
# file with this build's; for an installer, then does the same with the uninstaller and the
# installer itself. Says who signed each file, and fails on any difference.
#   packaging/windows/verify.sh BUILD_DIR FILE     (BUILD_DIR: build.sh's build, unsigned;
#                                                    FILE: an installer, or a zip ending in .zip)
set -euo pipefail
build=$(realpath "$1")
given=$(realpath "$2")
cd "$(dirname "$0")/../.."
: "${SOURCE_DATE_EPOCH:?the time of the sources, in seconds since 1970, e.g. the commit time}"
scripts/install-deps 7zip osslsigncode

version=$(scripts/build-version "$build")
name="cv-veyloom-$version"
kind=Nsis
ours="$build/$name-setup.exe"
if [[ $given == *.zip ]]; then
    kind=zip
    ours="$build/$name-windows-x64.zip"
fi
uninstaller=$(sed -n 's/^!define UNINSTALLER "\(.*\)"$/\1/p' packaging/windows/installer.nsi)
[ -n "$uninstaller" ] || { echo "verify.sh: installer.nsi names no UNINSTALLER" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Files the installer writes under one name (its last page's picture, in two sizes) are
# unpacked under names of their own, in the installer's order.
unpack() {
    7zz x -t$kind -aou -o"$2" "$1" >"$work/7z.log" 2>&1 \
        || { cat "$work/7z.log" >&2; echo "verify.sh: 7-Zip cannot unpack $1" >&2; exit 1; }
}
unpack "$given" "$work/published"
unpack "$ours" "$work/ours"

is_pe() { cmp -s -n 2 "$1" <(printf MZ); }
# osslsigncode writes no file that is there already.
is_signed() {
    rm -f "$work/signature"
    osslsigncode extract-signature -in "$1" -out "$work/signature" >/dev/null 2>&1
}

# signer FILE: who signed it, and whether the signature covers the file as it is.
signer() {
    local report subject current calculated
    report=$(osslsigncode verify -in "$1" 2>/dev/null || true)
    subject=$(sed -n '/Signer #0:/,/Serial/s/^[[:space:]]*Subject: //p' <<<"$report" | head -n 1)
    current=$(sed -n 's/^Current message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$report")
    calculated=$(sed -n 's/^Calculated message digest *: *\([0-9A-F]*\).*/\1/p' <<<"$report")
    if [ -z "$current" ] || [ "$current" != "$calculated" ]; then
        echo "signed by ${subject:-someone unknown}, but the signature is not of this file"
        return 1
    fi
    echo "signed by $subject"
}

# unsigned IN OUT: IN without its signature and without what signing changes beside it: the
# header's checksum, and the zeros that pad the file to a multiple of 8 bytes.
unsigned() {
    rm -f "$2"
    if is_signed "$1"; then
        osslsigncode remove-signature -in "$1" -out "$2" >/dev/null
    else
        cp "$1" "$2"
    fi
    local header
    header=$(od -An -tu4 -j60 -N4 "$2" | tr -d ' ')
    printf '\0\0\0\0' | dd of="$2" bs=1 seek=$((header + 88)) conv=notrunc status=none
    truncate -s $((($(stat -c %s "$2") + 7) / 8 * 8)) "$2"
}

# compare LABEL PUBLISHED REFERENCE: prints the file's signer and whether it is the same as this
# build's; returns 1 when it is not.
compare() {
    local who="not signed" same
    if is_pe "$2" && is_pe "$3"; then
        if is_signed "$2"; then
            who=$(signer "$2") || { echo "DIFFERENT  $1: $who"; return 1; }
        fi
        unsigned "$2" "$work/a" && unsigned "$3" "$work/b"
        cmp -s "$work/a" "$work/b" && same=1 || same=0
    else
        cmp -s "$2" "$3" && same=1 || same=0
    fi
    if [ "$same" = 1 ]; then
        echo "same       $1: $who"
    else
        echo "DIFFERENT  $1: $who"
        return 1
    fi
}

failed=0
files() { (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort); }
while IFS= read -r line; do
    if [[ $line == $'\t'* ]]; then
        echo "DIFFERENT  ${line#$'\t'}: missing from the published installer"
    else
        echo "DIFFERENT  $line: not in this build's installer"
    fi
    failed=1
done < <(LC_ALL=C comm -3 <(files "$work/published") <(files "$work/ours"))

# conclude: whether the published file is this build's, and the end.
conclude() {
    if [ "$failed" = 1 ]; then
        echo "FAIL: $(basename "$given") is not this commit's build"
        exit 1
    fi
    echo "PASS: $(basename "$given") is this commit's build$(is_signed "$given" && echo ", signed")"
    exit 0
}

# A zip holds the program's folder alone.
if [ "$kind" = zip ]; then
    while IFS= read -r file; do
        [ ! -f "$work/ours/$file" ] || compare "$file" "$work/published/$file" "$work/ours/$file" \
            || failed=1
    done < <(files "$work/published")
    conclude
fi

# Each file the installer holds, but the uninstaller: the program's, and NSIS's plug-ins.
rebuild="$work/rebuild"
mkdir -p "$rebuild/packaging/windows" "$rebuild/plugins"
cp "$build/packaging/windows/"*.nsh "$rebuild/packaging/windows/"
cp -a "$build/$name" "$rebuild/$name"
while IFS= read -r file; do
    [ "$file" != "$uninstaller" ] && [ -f "$work/ours/$file" ] || continue
    if compare "$file" "$work/published/$file" "$work/ours/$file"; then
        # The installer made again holds the published file wherever it is this build's.
        if [ -f "$rebuild/$name/$file" ]; then
            cp "$work/published/$file" "$rebuild/$name/$file"
        elif [[ $file == '$PLUGINSDIR/'*.dll ]]; then
            cp "$work/published/$file" "$rebuild/plugins/"
        fi
    else
        failed=1
    fi
done < <(files "$work/published")

published_uninstaller="$work/published/$uninstaller"
if [ -f "$published_uninstaller" ] && is_signed "$published_uninstaller"; then
    # A signed build's installer holds its uninstaller as it was signed, whole. The installer
    # made again from this commit, holding the published files and uninstaller where they are
    # this build's, is the published one without its signature.
    cat >"$work/uninstaller.sh" <<EOF
#!/bin/sh
set -e
cp "\$1" "$work/uninstaller.exe"
cp "$published_uninstaller" "\$1"
EOF
    chmod +x "$work/uninstaller.sh"
    env -u WINDOWS_SIGN_PKCS12 packaging/windows/package.sh "$rebuild" "$name" \
        -DPLUGINS="$rebuild/plugins" -DFINALIZE_UNINSTALLER="$work/uninstaller.sh" \
        >"$work/rebuild.log" 2>&1 \
        || { cat "$work/rebuild.log" >&2; exit 1; }
    compare "$uninstaller" "$published_uninstaller" "$work/uninstaller.exe" || failed=1
    compare "the installer" "$given" "$rebuild/$name-setup.exe" || failed=1
else
    # An unsigned build's installer holds only the uninstaller's data, which it puts together
    # with its own header when it installs: the installer's comparison covers it.
    echo "           $uninstaller: part of the installer"
    compare "the installer" "$given" "$ours" || failed=1
fi

conclude
