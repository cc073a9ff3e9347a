#!/bin/sh
# Runs a Windows program of this build under Wine: the tests' emulator.
#   wine-run.sh PREFIX DLL_FOLDERS PROGRAM [ARGUMENT...]
# DLL_FOLDERS: the folders, colon-separated, of the DLLs the program loads (Qt's, the compiler's).
set -eu
prefix=$1
folders=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
# Wine's windows, hidden ones too, need an X display, even for Qt's offscreen platform.
if [ -z "${DISPLAY:-}" ]; then
  exec "$here/../e2e/with-xvfb.sh" "$0" "$prefix" "$folders" "$@"
fi
. "$here/wine-prefix.sh"
use_wine_prefix "$prefix"
WINEPATH=""
for folder in $(printf '%s' "$folders" | tr : ' '); do
  WINEPATH="${WINEPATH:+$WINEPATH;}Z:$(printf '%s' "$folder" | tr / '\\')"
done
export WINEPATH
# Wine gives a program no console window, which would send Qt's messages and the tests'
# output to the debugger instead of the terminal.
export QT_FORCE_STDERR_LOGGING=1
# Wine keeps Linux's Qt variables from Windows programs, and passes each on only when it is
# named WINE<variable> (QT_QPA_PLATFORM as WINEQT_QPA_PLATFORM).
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  export "WINE$name=$(printenv "$name")"
done
exec wine "$@"
