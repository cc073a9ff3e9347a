#!/bin/sh
# Runs a Windows program of this build under Wine: the tests' emulator.
#   wine-run.sh PREFIX DLL_FOLDERS PROGRAM [ARGUMENT...]
# DLL_FOLDERS: the folders, colon-separated, of the DLLs the program loads (Qt's, the compiler's).
set -eu
prefix=$1
folders=$2
shift 2
. "$(dirname "$0")/wine-prefix.sh"
use_wine_prefix "$prefix"
WINEPATH=""
for folder in $(printf '%s' "$folders" | tr : ' '); do
  WINEPATH="${WINEPATH:+$WINEPATH;}Z:$(printf '%s' "$folder" | tr / '\\')"
done
export WINEPATH
exec wine "$@"
