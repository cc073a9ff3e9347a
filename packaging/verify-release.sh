#!/bin/bash
# Checks a release folder (see release.sh): SHA256SUMS against every file, its signature against
# the publisher's public key when one is given, and every file against the release made again
# from the commit its source archive names, in a clone of this repository at VERIFY_BUILD: the
# same bytes, the Windows files with their signatures set aside (windows/verify.sh, in the
# builder). Before the bytes, the build system the release records (buildinfo.sh) against the
# builder the release was made again in, package by package. Says file by file SAME or
# DIFFERENT, and ends non-zero when anything differs, naming the packages whose versions there
# are not the recorded ones. Run by `make verify-release`.
#   packaging/verify-release.sh DIR [PUBLIC_KEY]
set -euo pipefail
dir=$(realpath "$1")
key=${2:+$(realpath "$2")}
cd "$(dirname "$0")/.."
repo=$(pwd)
rebuild=$(realpath -m "${VERIFY_BUILD:-build-verify}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
say() { printf '%-10s %s\n' "$1" "$2"; }
different() {
    say DIFFERENT "$1"
    failed=1
}
stop() {
    echo "verify-release: $*" >&2
    exit 1
}

archives=("$dir"/cv-veyloom-*.tar.gz)
[ ${#archives[@]} = 1 ] && [ -f "${archives[0]}" ] || stop "$dir holds no one source archive"
# git reads the archive's first block alone; the rest is read too, so that gzip ends well.
commit=$(gzip -dc "${archives[0]}" | { git get-tar-commit-id && cat >/dev/null; }) \
    || stop "$(basename "${archives[0]}") names no commit"

# Every file but the sums and their signature, as sha256sum names them.
files() { (cd "$1" && find . -type f ! -name 'SHA256SUMS*' -printf '%P\n' | LC_ALL=C sort); }
if [ ! -f "$dir/SHA256SUMS" ]; then
    different "SHA256SUMS: missing"
else
    listed=$(sed 's/^[0-9a-f]\{64\} [ *]//' "$dir/SHA256SUMS" | LC_ALL=C sort)
    if [ "$listed" != "$(files "$dir")" ]; then
        different "SHA256SUMS: does not name the folder's files: $(LC_ALL=C comm -3 \
            <(echo "$listed") <(files "$dir") | tr -d '\t' | tr '\n' ' ')"
    elif ! (cd "$dir" && sha256sum --check --strict --quiet SHA256SUMS) >"$work/sums" 2>&1; then
        different "SHA256SUMS: $(tr '\n' ' ' <"$work/sums")"
    else
        say checked "SHA256SUMS: names every file, each with its sum"
    fi
fi

if [ -z "$key" ]; then
    [ ! -f "$dir/SHA256SUMS.asc" ] \
        || say unchecked "SHA256SUMS.asc: no public key given to check it with (KEY=)"
elif [ ! -f "$dir/SHA256SUMS.asc" ]; then
    different "SHA256SUMS.asc: missing, the release is not signed"
else
    scripts/install-deps gpg gpgv
    gpg --dearmor <"$key" >"$work/key.gpg" 2>/dev/null || cp "$key" "$work/key.gpg"
    if gpgv --keyring "$work/key.gpg" "$dir/SHA256SUMS.asc" "$dir/SHA256SUMS" \
        >"$work/gpgv" 2>&1; then
        say checked "SHA256SUMS.asc: $(sed -n 's/^gpgv: \(Good signature from .*\)/\1/p' \
            "$work/gpgv" | head -n 1)"
    else
        different "SHA256SUMS.asc: not a good signature by $(basename "$key"): $(tr '\n' ' ' \
            <"$work/gpgv")"
    fi
fi

# The release made again, unsigned, from the commit alone, in the system its make release builds
# in.
git cat-file -e "$commit^{commit}" 2>/dev/null \
    || stop "the release's commit $commit is not in this repository: fetch it first"
[ -d "$rebuild/.git" ] || git clone -q --no-checkout "$repo" "$rebuild"
git -C "$rebuild" fetch -q "$repo" "$commit"
git -C "$rebuild" checkout -q --detach "$commit"
echo "Making the release again from $commit in $rebuild, in a minimal Debian 12 system"
# Nothing of this make's: its folders, its keys, its time.
env -u MAKEFLAGS -u MAKELEVEL -u RELEASE_BUILD -u RELEASE_ROOT -u VERIFY_BUILD \
    -u SOURCE_DATE_EPOCH -u RELEASE_SIGN_KEY -u WINDOWS_SIGN_PKCS12 \
    make -C "$rebuild" --no-print-directory release BUILD_TESTING=OFF \
    DOWNLOAD_URL="${DOWNLOAD_URL:?}" >"$work/release.log" 2>&1 \
    || { cat "$work/release.log" >&2; stop "the release could not be made again"; }
version=$("$rebuild/scripts/build-version" "$rebuild/build-release/debian")
again="$rebuild/release/$version"

# The build system: each package of the record with its version, and of the rebuild's.
buildinfo="cv-veyloom-$version.buildinfo"
packages() {
    sed -n '/^Installed-Build-Depends:/,/^[^ ]/s/^ \([^ ]*\) (= \(.*\)),\?$/\1 \2/p' "$1" \
        | LC_ALL=C sort
}
other_tools=""
if [ -f "$dir/$buildinfo" ] && [ -f "$again/$buildinfo" ]; then
    other_tools=$(LC_ALL=C join -a1 -a2 -e none -o 0,1.2,2.2 <(packages "$dir/$buildinfo") \
        <(packages "$again/$buildinfo") | awk '$2 != $3 { print $1 " (" $3 " here, " $2 \
        " recorded)" }' | paste -sd ' ')
    if [ -z "$other_tools" ]; then
        say checked "$buildinfo: built here in the recorded system, every package the same"
    else
        say other "$buildinfo: built here with other versions of: $other_tools"
    fi
fi

while IFS= read -r line; do
    if [[ $line == $'\t'* ]]; then
        different "${line#$'\t'}: missing from the release"
    else
        different "$line: not in the release made again"
    fi
done < <(LC_ALL=C comm -3 <(files "$dir") <(files "$again"))

sum() { sha256sum "$1" | cut -d' ' -f1; }
setup="cv-veyloom-$version-setup.exe"
while IFS= read -r file; do
    [ -f "$again/$file" ] && [ "$file" != "$buildinfo" ] || continue
    if cmp -s "$dir/$file" "$again/$file"; then
        say SAME "$file"
    elif [[ $file == *.exe || $file == *.zip ]]; then
        # A signed Windows file: the same once its signatures are set aside, by the builder's
        # tools, which made the release's.
        rm -rf "$work/signed"
        mkdir "$work/signed"
        cp "$dir/$file" "$work/signed/"
        if SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit") \
            "$rebuild/packaging/builder.sh" "$work/signed" packaging/windows/verify.sh \
            build-release/windows "/release/$file" >"$work/windows" 2>&1; then
            say SAME "$file: $(grep -o 'signed by [^,]*' "$work/windows" | sort -u | paste -sd,)"
        else
            different "$file:"
            grep -v '^same' "$work/windows" | sed 's/^/    /'
        fi
    elif [[ $file == winget/*.installer.yaml ]] && sed "s/$(sum "$again/$setup" | tr a-f A-F)/$(
        sum "$dir/$setup" | tr a-f A-F)/" "$again/$file" | cmp -s - "$dir/$file"; then
        say SAME "$file: but for the signed installer's sum"
    else
        different "$file"
    fi
done < <(files "$dir")

if [ "$failed" = 1 ]; then
    echo "FAIL: $dir is not the release of $commit${other_tools:+, or the packages here differ \
from the recorded ones: $(sed 's/ ([^)]*)//g' <<<"$other_tools")}"
    exit 1
fi
echo "PASS: $dir is the release of $commit"
