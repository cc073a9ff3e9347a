#!/bin/bash
# Makes the installer and the zip archive of a program's folder that build.sh has put together.
#   packaging/windows/package.sh BUILD_DIR NAME [MAKENSIS_OPTION...]
# The folder is BUILD_DIR/NAME; verify.sh gives makensis options of its own.
# The files' dates are SOURCE_DATE_EPOCH, as build.sh sets it.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$1
name=$2
shift 2
dist="$build/$name"
: "${SOURCE_DATE_EPOCH:?the time of the sources, in seconds since 1970, e.g. the commit time}"

# What the installer writes, as its uninstaller reads it: one path a line, relative to the
# program's folder, files first, then the folders, each inside one before it.
record="$build/uninstall.list"
{
    (cd "$dist" && find . -type f -printf '%P\n' | LC_ALL=C sort)
    (cd "$dist" && find . -mindepth 1 -type d -printf '%P/\n' | LC_ALL=C sort -r)
} | tr / '\\' | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE >"$record"
touch --date="@$SOURCE_DATE_EPOCH" "$record"

# Given a key (see sign.sh), every program and library of the folder is signed, and so are
# copies of NSIS's plug-ins, which the installer runs; makensis signs the uninstaller and the
# installer as it makes them.
nsis_options=("$@")
if [ -n "${WINDOWS_SIGN_PKCS12:-}" ]; then
    scripts/install-deps osslsigncode
    plugins="$build/nsis-plugins"
    rm -rf "$plugins"
    mkdir "$plugins"
    cp /usr/share/nsis/Plugins/amd64-unicode/*.dll "$plugins/"
    find "$dist" "$plugins" -type f \( -name '*.exe' -o -name '*.dll' \) -print0 \
        | LC_ALL=C sort -z | xargs -0 packaging/windows/sign.sh
    sign=$(realpath packaging/windows/sign.sh)
    nsis_options+=(-DPLUGINS="$(realpath "$plugins")" -DFINALIZE_UNINSTALLER="$sign"
        -DFINALIZE_INSTALLER="$sign")
fi

makensis -V2 -NOCD -DDIST="$(realpath "$dist")" -DRECORD_FILE="$(realpath "$record")" \
    -X"!addincludedir \"$(realpath "$build/packaging/windows")\"" \
    -DOUTFILE="$(realpath "$build")/$name-setup.exe" "${nsis_options[@]}" \
    packaging/windows/installer.nsi

zip="$name-windows-x64.zip"
rm -f "$build/$zip"
(cd "$build" && find "$name" -type f | LC_ALL=C sort >zip-files.txt \
    && cmake -E tar cf "$zip" --format=zip --files-from=zip-files.txt && rm zip-files.txt)
ls -l "$build/$name-setup.exe" "$build/$zip"
