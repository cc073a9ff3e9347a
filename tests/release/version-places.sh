#!/bin/bash
# Every place that names the program's version, against the version a build folder builds: the
# history's newest version, the Debian changelog, the AppStream release and its date, the manual
# page and the release notes; in a Windows build, the program's version information and the
# installer's too.
#   tests/release/version-places.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
sources=$(cd "$(dirname "$0")/../.." && pwd)
version=$("$sources/scripts/build-version" "$build")
date=$(sed -n "s/^## $version (\\(.*\\))\$/\\1/p" "$sources/NEWS.md")
metainfo=packaging/com.orravine.CVVeyloom.metainfo.xml
windows=packaging/windows
failed=0

# The place | its file | a sed expression printing what it names.
while IFS='|' read -r place file expression; do
    case $file in
        packaging/windows/*) [ -f "$build/packaging/windows/cv-veyloom.rc" ] || continue ;;
    esac
    [ "$file" = NEWS.md ] && file="$sources/$file" || file="$build/$file"
    named=$(sed -n "$expression" "$file" | head -n 1)
    if [ "$named" = "$version" ]; then
        echo "PASS: $place names $version"
    else
        echo "FAIL: $place names '$named', not $version"
        failed=1
    fi
done <<END
the history's newest version|NEWS.md|s/^## \([^ ]*\) .*/\1/p
the Debian changelog|packaging/changelog|1s/^cv-veyloom (\(.*\)) .*/\1/p
the AppStream metainfo's newest release|$metainfo|s/^ *<release version="\([^"]*\)".*/\1/p
the AppStream release's date|$metainfo|s/^ *<release version="$version" date="$date">$/$version/p
the manual page|packaging/cv-veyloom.1|s/^\.TH .* "CV Veyloom \([^"]*\)" .*/\1/p
the release notes|packaging/release-notes.md|1s/^# CV Veyloom //p
the program's version information|$windows/cv-veyloom.rc|s/.*"ProductVersion", "\(.*\)"$/\1/p
the installer|$windows/installer-defines.nsh|s/^!define VERSION "\(.*\)"$/\1/p
END
exit $failed
