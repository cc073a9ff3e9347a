#!/usr/bin/python3
"""winget's three manifests of CV Veyloom, read as YAML, against what they must say of the
installer they name: its version (from its file name, cv-veyloom-VERSION-setup.exe), its
SHA-256, its download address (DOWNLOAD_URL/VERSION/FILE) and the entry in the installed
programs it writes. Prints PASS or FAIL for each manifest; exits 1 on a failure.
   winget-manifests.py MANIFEST_DIR INSTALLER DOWNLOAD_URL
"""
import hashlib
import pathlib
import re
import sys

import yaml

folder, installer, download_url = sys.argv[1:]
folder = pathlib.Path(folder)
installer = pathlib.Path(installer)
version = re.fullmatch(r"cv-veyloom-(.+)-setup\.exe", installer.name).group(1)
sha256 = hashlib.sha256(installer.read_bytes()).hexdigest().upper()
url = f"{download_url}/{version}/{installer.name}"

PACKAGE = "Orravine.CVVeyloom"
SCHEMA = "# yaml-language-server: $schema=https://aka.ms/winget-manifest.{}.1.12.0.schema.json"
COMMON = {"PackageIdentifier": PACKAGE, "PackageVersion": version, "ManifestVersion": "1.12.0"}
ENTRY = {"DisplayName": "CV Veyloom", "Publisher": "Orravine", "DisplayVersion": version,
         "ProductCode": "CV Veyloom"}
INSTALLER = {"Architecture": "x64", "InstallerType": "nullsoft", "InstallerUrl": url,
             "InstallerSha256": sha256, "UpgradeBehavior": "install",
             "ProductCode": "CV Veyloom", "AppsAndFeaturesEntries": [ENTRY]}
HOMEPAGE = "http://www.cv-veyloom.com/"

# File | its type | what it holds, its installers in the order of their scopes, each with what
# it inherits from the top level.
EXPECTED = [
    (f"{PACKAGE}.yaml", "version", {**COMMON, "DefaultLocale": "en-US"}),
    (f"{PACKAGE}.installer.yaml", "installer", {**COMMON, "Installers": [
        {**INSTALLER, "Scope": "machine", "InstallerSwitches": {"Custom": "/AllUsers"}},
        {**INSTALLER, "Scope": "user", "InstallerSwitches": {"Custom": "/CurrentUser"}},
    ]}),
    (f"{PACKAGE}.locale.en-US.yaml", "defaultLocale", {
        **COMMON, "PackageLocale": "en-US", "Publisher": "Orravine", "PublisherUrl": HOMEPAGE,
        "PackageName": "CV Veyloom", "PackageUrl": HOMEPAGE, "License": "Proprietary",
        "ShortDescription": "Chakra self-test that ends in a rune reading",
        "Moniker": "cv-veyloom"}),
]


def with_inherited(manifest):
    """The manifest with each installer given the fields it inherits from the top level, the
    installers in the order of their scopes."""
    installers = manifest.get("Installers")
    if not isinstance(installers, list):
        return manifest
    shared = {key: value for key, value in manifest.items()
              if key not in COMMON and key not in ("Installers", "ManifestType")}
    top = {key: value for key, value in manifest.items() if key not in shared}
    installers = [{**shared, **installer} for installer in installers]
    return {**top, "Installers": sorted(installers, key=lambda one: str(one.get("Scope")))}


def differences(found, expected, where=""):
    """Each field whose value differs, as a line."""
    if isinstance(found, dict) and isinstance(expected, dict):
        return [line for key in sorted(found.keys() | expected.keys())
                for line in differences(found.get(key), expected.get(key), f"{where}/{key}")]
    if isinstance(found, list) and isinstance(expected, list) and len(found) == len(expected):
        return [line for index, (one, other) in enumerate(zip(found, expected))
                for line in differences(one, other, f"{where}[{index}]")]
    return [] if found == expected else [f"{where}: {found!r}, not {expected!r}"]


failed = False
found_files = sorted(path.name for path in folder.iterdir())
if found_files != sorted(name for name, _, _ in EXPECTED):
    print(f"FAIL: {folder} holds {found_files}")
    failed = True
for name, kind, expected in EXPECTED:
    path = folder / name
    if not path.is_file():
        print(f"FAIL: no {name}")
        failed = True
        continue
    text = path.read_text(encoding="utf-8")
    problems = []
    if text.splitlines()[0] != SCHEMA.format(kind):
        problems.append(f"its first line is {text.splitlines()[0]!r}")
    problems += differences(with_inherited(yaml.safe_load(text)),
                            {**expected, "ManifestType": kind})
    for problem in problems:
        print(f"FAIL: {name}: {problem}")
    failed = failed or bool(problems)
    if not problems:
        print(f"PASS: {name}")
sys.exit(1 if failed else 0)
