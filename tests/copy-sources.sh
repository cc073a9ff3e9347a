#!/bin/bash
# Copies the files git knows, as they are in the work tree (from a clean tree, the commit itself),
# to DEST, with nothing of any build and with their times. Given a VERSION, the copy's history
# names it as its newest version, made the same day as the newest of the sources: the copy
# builds as that later version, as a publisher's next release would.
#   tests/copy-sources.sh DEST [VERSION]
set -euo pipefail
dest=$1
version=${2:-}
mkdir -p "$dest"
cd "$(dirname "$0")/.."
git ls-files -z --cached --others --exclude-standard \
    | xargs -0 -I{} sh -c '[ ! -e "$1" ] || printf "%s\0" "$1"' - {} \
    | tar --null -T - -cf - | tar -xf - -C "$dest"
[ -n "$version" ] || exit 0
date=$(sed -n 's/^## [^ ]* (\(.*\))$/\1/p' NEWS.md | head -n 1)
entry="## $version ($date)\n\n- A later version, made by the tests.\n\n"
sed -i "0,/^## /s//$entry&/" "$dest/NEWS.md"
