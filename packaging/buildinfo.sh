#!/bin/bash
# Writes the record of the system a release is built in, as Debian's .buildinfo does: the
# release's version, the Debian release and architecture, the newest date of the archive's
# Release files its packages came from (the time to take from the snapshot archive to make the
# same system again), and in Installed-Build-Depends every package the build uses with its
# version: the essential packages and the ones scripts/install-deps installs for the Debian
# package and the Windows files, with everything they depend on, as installed.
#   packaging/buildinfo.sh VERSION OUT
set -euo pipefail
cd "$(dirname "$0")/.."
version=$1
out=$2
arch=$(dpkg --print-architecture)
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")

# The newest Date of the Release files of this release's suites that apt here knows, as the
# snapshot archive writes times.
archive_date=$(apt-get indextargets --format '$(FILENAME)' 'Identifier: Packages' \
    'Origin: Debian' "Architecture: $arch" | grep -E "_dists_$codename(-[a-z]+)?_main_" \
    | sed -E 's/_main_binary-[^_]*_Packages.*$//' | sort -u | while read -r prefix; do
        for release in "${prefix}_InRelease" "${prefix}_Release"; do
            [ ! -f "$release" ] || { sed -n 's/^Date: //p' "$release" && break; }
        done
    done | while read -r date; do date -u -d "$date" +%Y%m%dT%H%M%SZ; done | sort | tail -n 1)
if [ -z "$archive_date" ]; then
    echo "buildinfo.sh: apt knows no Release file of $codename" >&2
    exit 1
fi

# Every installed package of this architecture (or of none): name, version, whether essential,
# what it provides, what it depends on.
fields='${db:Status-Status}\t${Architecture}\t${Package}\t${Version}\t${Essential}\t${Provides}'
dpkg-query -W -f "$fields\t\${Pre-Depends}, \${Depends}\n" \
    | awk -F'\t' -v arch="$arch" '$1 == "installed" && ($2 == arch || $2 == "all")' \
    | cut -f3- >"$out.installed"
scripts/install-deps --list run package windows >"$out.wanted"
# From the wanted and the essential packages, every dependency that is installed, each of a
# list of alternatives, and each installed package that provides a virtual one.
awk -F'\t' '
    function names(list, found,    parts, n, i) {
        n = split(list, parts, /[,|]/)
        for (i = 1; i <= n; i++) {
            gsub(/\(.*\)|\[.*\]|<.*>|:[a-z0-9]+|[[:space:]]/, "", parts[i])
            if (parts[i] != "") found[parts[i]] = 1
        }
    }
    function add(name,    provider) {
        if (name in version) {
            if (!(name in used)) { used[name] = 1; queue[++last] = name }
        }
        for (provider in provides) if (index(provides[provider], " " name " ")) add(provider)
    }
    FILENAME == ARGV[1] {
        version[$1] = $2
        depends[$1] = $5
        delete found; names($4, found)
        for (name in found) provides[$1] = provides[$1] " " name " "
        if ($3 == "yes") essential[$1] = 1
        next
    }
    { wanted[$1] = 1 }
    END {
        for (name in essential) add(name)
        for (name in wanted) {
            if (!(name in version)) {
                print "buildinfo.sh: " name " is not installed" >"/dev/stderr"
                exit 1
            }
            add(name)
        }
        for (i = 1; i <= last; i++) {
            delete found; names(depends[queue[i]], found)
            for (name in found) add(name)
        }
        for (name in used) print name " (= " version[name] ")"
    }' "$out.installed" "$out.wanted" | LC_ALL=C sort >"$out.used"
{
    echo "Format: 1.0"
    echo "Source: cv-veyloom"
    echo "Version: $version"
    echo "Build-Origin: Debian"
    echo "Build-Distribution: $codename"
    echo "Build-Architecture: $arch"
    echo "Archive-Date: $archive_date"
    echo "Installed-Build-Depends:"
    sed 's/^/ /; $!s/$/,/' "$out.used"
} >"$out"
rm "$out.installed" "$out.wanted" "$out.used"
