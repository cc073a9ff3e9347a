#!/bin/bash
# winget's manifests of a release against its installer: FOLDER holds the one installer,
# cv-veyloom-VERSION-setup.exe, and in winget/ the manifests packaging/windows/winget-manifests.sh
# wrote for it, as release/VERSION/ and build-windows/ do. Every field is checked against what
# it must say of the installer, its download address against DOWNLOAD_URL (winget-manifests.py);
# made again from the installer, in another folder, locale, time zone and umask, the manifests
# are the same bytes.
#   DOWNLOAD_URL=https://www.cv-veyloom.com/download tests/release/winget-manifests.sh FOLDER
set -euo pipefail
folder=$1
: "${DOWNLOAD_URL:?the address installers are downloaded from, as the manifests were made with}"
tests=$(cd "$(dirname "$0")" && pwd)
"$tests/../../scripts/install-deps" python3-yaml

setups=("$folder"/cv-veyloom-*-setup.exe)
if [ ${#setups[@]} != 1 ] || [ ! -f "${setups[0]}" ]; then
    echo "FAIL: $folder holds not one installer but: ${setups[*]}"
    exit 1
fi
"$tests/winget-manifests.py" "$folder/winget" "${setups[0]}" "$DOWNLOAD_URL"

again=$(mktemp -d)
trap 'rm -rf "$again"' EXIT
setup=$(realpath "${setups[0]}")
(cd "$again" && umask 077 && LC_ALL=C TZ=Pacific/Kiritimati \
    "$tests/../../packaging/windows/winget-manifests.sh" "$setup" winget)
if ! diff -r "$again/winget" "$folder/winget"; then
    echo "FAIL: the manifests made again from $setup differ from those in $folder/winget"
    exit 1
fi
echo "PASS: the manifests made again from the installer are the same bytes"
