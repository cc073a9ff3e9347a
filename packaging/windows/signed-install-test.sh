#!/bin/bash
# A signed installer under Wine on a virtual X display, in a fresh prefix: it installs silently,
# writes the uninstaller it holds, signed, and signed programs and libraries; the program starts;
# the written uninstaller leaves nothing behind.
#   signed-install-test.sh SETUP_EXE CA_FILE     (CA_FILE: the authority of the signing key)
set -euo pipefail
setup=$(realpath "$1")
ca=$(realpath "$2")
SHOTS=
. "$(dirname "$0")/e2e-lib.sh"
uninstaller=$(sed -n 's/^!define UNINSTALLER "\(.*\)"$/\1/p' "$(dirname "$0")/installer.nsi")

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

env -u WINEPATH -u QT_PLUGIN_PATH -u QT_QPA_PLATFORM \
    wine "$WIN_FOLDER\\cv-veyloom.exe" >>"$WORK/app.log" 2>&1 &
PIDS+=($!)
wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
wineserver -k

wine "$FOLDER/$uninstaller" /S || fail "the signed uninstaller failed with status $?"
all_gone() { [ ! -e "$FOLDER" ] && [ ! -e "$SHORTCUT" ] && ! has_key "$KEY"; }
poll 30 all_gone || fail "left behind: $(find "$FOLDER" "$SHORTCUT" 2>/dev/null)
$(wine reg query "$KEY" 2>/dev/null)"
echo "PASS: the signed installer installs, the program runs, the signed uninstaller removes it"
