#!/bin/bash
# Writes winget's manifests of an installer that package.sh made, as the publisher submits them to
# winget's community repository: into OUTDIR, the version, installer and default locale (en-US)
# manifests of the package PUBLISHER.NAME, the name without its blanks (Orravine.CVVeyloom).
# The name, publisher and version are read from the installer's own version information, which
# installer.nsi writes from the same definitions as its entry in the installed programs; the
# summary, home page and command from the AppStream metainfo. The installer is named as
# downloaded from DOWNLOAD_URL/VERSION/ under its own file name. The same installer and
# DOWNLOAD_URL give the same files, byte for byte.
#   DOWNLOAD_URL=https://www.cv-veyloom.com/download \
#       packaging/windows/winget-manifests.sh INSTALLER OUTDIR
set -euo pipefail
installer=$1
outdir=$2
: "${DOWNLOAD_URL:?the address installers are downloaded from, without a trailing /}"
sources=$(cd "$(dirname "$0")/../.." && pwd)
metainfo="$sources/packaging/com.orravine.CVVeyloom.metainfo.xml.in"
"$sources/scripts/install-deps" 7zip
manifest_version=1.12.0

# version_value NAME: the value of NAME in the installer's version information, which 7-Zip gives
# as a resource script in UTF-16.
version_value() {
    local value
    value=$(7zz e -tPE -so "$installer" .rsrc/version.txt | iconv -f UTF-16LE -t UTF-8 |
        tr -d '\r' | sed -n "s/^ *VALUE \"$1\", *\"\\(.*\\)\"\$/\\1/p")
    [ -n "$value" ] || { echo "winget-manifests.sh: $installer names no $1" >&2; exit 1; }
    echo "$value"
}
# metainfo_text PATH: the text of the metainfo's element at PATH (ElementTree's syntax).
metainfo_text() {
    python3 -c 'import sys, xml.etree.ElementTree as tree
print(tree.parse(sys.argv[1]).getroot().find(sys.argv[2]).text)' "$metainfo" "$1"
}
# quoted TEXT: TEXT as a YAML string, so that a version such as 1.0 stays text.
quoted() {
    local quote="'"
    printf "'%s'" "${1//$quote/$quote$quote}"
}

name=$(version_value ProductName)
publisher=$(version_value CompanyName)
version=$(version_value ProductVersion)
# The installer's entry in the installed programs is a key named by the program's name.
product_code=$name
id="$publisher.${name// /}"
url="$DOWNLOAD_URL/$version/$(basename "$installer")"
sha256=$(sha256sum "$installer" | cut -d ' ' -f 1 | tr a-f A-F)
homepage=$(metainfo_text "url[@type='homepage']")

# begin TYPE / end TYPE: the lines every manifest of that type starts and ends with.
begin() {
    local schema="https://aka.ms/winget-manifest.$1.$manifest_version.schema.json"
    echo "# yaml-language-server: \$schema=$schema"
    echo
    echo "PackageIdentifier: $id"
    echo "PackageVersion: $(quoted "$version")"
}
end() {
    echo "ManifestType: $1"
    echo "ManifestVersion: $manifest_version"
}

mkdir -p "$outdir"
{
    begin version
    echo "DefaultLocale: en-US"
    end version
} >"$outdir/$id.yaml"

# One installer for each scope, chosen by the installer's own switch; winget adds NSIS's /S.
{
    begin installer
    echo "InstallerType: nullsoft"
    echo "UpgradeBehavior: install"
    echo "Installers:"
    for scope in "user /CurrentUser" "machine /AllUsers"; do
        cat <<END
- Architecture: x64
  Scope: ${scope% *}
  InstallerUrl: $(quoted "$url")
  InstallerSha256: $sha256
  InstallerSwitches:
    Custom: ${scope#* }
  ProductCode: $(quoted "$product_code")
  AppsAndFeaturesEntries:
  - DisplayName: $(quoted "$name")
    Publisher: $(quoted "$publisher")
    DisplayVersion: $(quoted "$version")
    ProductCode: $(quoted "$product_code")
END
    done
    end installer
} >"$outdir/$id.installer.yaml"

# The program's licence grants nothing beyond installing and running it (see debian/copyright).
{
    begin defaultLocale
    cat <<END
PackageLocale: en-US
Publisher: $(quoted "$publisher")
PublisherUrl: $(quoted "$homepage")
PackageName: $(quoted "$name")
PackageUrl: $(quoted "$homepage")
License: Proprietary
ShortDescription: $(quoted "$(metainfo_text summary)")
Moniker: $(quoted "$(metainfo_text provides/binary)")
END
    end defaultLocale
} >"$outdir/$id.locale.en-US.yaml"
