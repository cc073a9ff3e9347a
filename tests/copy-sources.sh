#!/bin/bash
# Copies the files git knows, as they are in the work tree, into another folder: from a clean
# tree, the commit itself, with nothing of any build.
#   tests/copy-sources.sh DEST
set -euo pipefail
sources=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
(cd "$sources" && git ls-files -z --cached --others --exclude-standard \
    | xargs -0 -I{} sh -c '[ ! -e "$1" ] || printf "%s\0" "$1"' - {} \
    | tar --null -T - -cf -) | tar -xf - -C "$1"
