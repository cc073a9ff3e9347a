#!/bin/bash
# A signed installer under Wine on a virtual X display, in a fresh prefix: it installs silently and
# writes the uninstaller it holds, byte for byte, and signed programs and libraries. What else it
# does, installer-test.sh checks on it.
#   signed-install-test.sh SETUP_EXE CA_FILE     (CA_FILE: the authority of the signing key)
set -euo pipefail
setup=$(realpath "$1")
ca=$(realpath "$2")
SHOTS=
. "$(dirname "$0")/e2e-lib.sh"
uninstaller=cv-veyloom-uninstall.exe

use_wine_prefix "$WORK/prefix"
unset QT_QPA_FONTDIR
use_scope user

wine "$setup" /S || fail "the signed installer failed with status $?"
7zz e -tNsis -o"$WORK/unpacked" "$setup" "$uninstaller" >/dev/null
cmp -s "$FOLDER/$uninstaller" "$WORK/unpacked/$uninstaller" \
    || fail "the uninstaller written is not the one the installer holds"
while IFS= read -r -d '' file; do
    osslsigncode verify -CAfile "$ca" -in "$file" >"$WORK/verify.log" 2>&1 \
        || fail "the installed ${file#"$FOLDER/"} is not signed: $(cat "$WORK/verify.log")"
done < <(find "$FOLDER" -type f \( -name '*.exe' -o -name '*.dll' \) -print0)

wineserver -k
echo "PASS: the signed installer writes its signed uninstaller and signed files"
