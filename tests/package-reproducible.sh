#!/bin/bash
# Builds the package a second time, from a copy of the sources in another folder with nothing of
# the first build, and checks that it is the same package byte for byte.
#   SOURCE_DATE_EPOCH=<seconds> tests/package-reproducible.sh <package.deb> [cmake options...]
set -euo pipefail
first=$(readlink -f "$1")
shift
sources=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The files git knows, as they are in the work tree: a clean tree gives the commit itself.
copy="$work/elsewhere/cv-veyloom"
mkdir -p "$copy"
(cd "$sources" && git ls-files -z --cached --others --exclude-standard \
    | xargs -0 -I{} sh -c '[ ! -e "$1" ] || printf "%s\0" "$1"' - {} \
    | tar --null -T - -cf -) | tar -xf - -C "$copy"

cmake -S "$copy" -B "$copy/build" "$@" >/dev/null
cmake --build "$copy/build" --target cv-veyloom >/dev/null
second=$("$copy/packaging/build-deb.sh" "$copy/build")

if cmp -s "$first" "$second"; then
    echo "PASS: a second build in another folder gives the same package, $(sha256sum <"$first" | cut -c1-16)"
    exit 0
fi
echo "FAIL: a second build in another folder gives a different package" >&2
dpkg-deb -R "$first" "$work/first"
dpkg-deb -R "$second" "$work/second"
diff -r "$work/first" "$work/second" >&2 || true
diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") >&2 || true
exit 1
