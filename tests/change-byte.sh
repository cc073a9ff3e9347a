#!/bin/bash
# Changes one bit of the middle byte of FILE, in place: a file that is the same but for one
# byte, to be found by a check that compares it.
#   tests/change-byte.sh FILE
set -euo pipefail
middle=$(($(stat -c %s "$1") / 2))
byte=$(od -An -tu1 -j"$middle" -N1 "$1" | tr -d ' ')
printf "\\$(printf %03o $((byte ^ 1)))" | dd of="$1" bs=1 seek="$middle" conv=notrunc status=none
