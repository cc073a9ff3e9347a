#!/bin/bash
# The apt repository end to end, with apt as its client, in a minimal Debian 12 and a minimal
# Debian 13 system (packaging/debian-system.sh). There, the system's user runs the README's
# commands, pointed at a repository made here by `make apt-repository` with a throwaway key and
# served on 127.0.0.1, and they install the release; a later version, built here from a copy of
# the sources and added with `make apt-repository`, comes with the README's update, the earlier
# one still offered; then a repository signed by another key is served instead, offering a still
# later version, and apt refuses it: nothing changes. Before that, `make apt-repository` refuses
# a key it cannot sign with, a release signed by another key, a changed SHA256SUMS.asc, an
# unsigned release (which ALLOW_UNSIGNED=1 lets through) and a package the release's SHA256SUMS
# does not name, changing nothing, and it keeps nothing in the home folder.
#   SOURCE_DATE_EPOCH=<seconds> tests/release/apt-repository.sh <package.deb> <debug package.deb> \
#       [cmake option...]
set -euo pipefail
. "$(dirname "$0")/../../packaging/debian-system.sh"
repo=$(cd "$(dirname "$0")/../.." && pwd)
packages=("$(readlink -f "$1")" "$(readlink -f "$2")")
shift 2
work=$(mktemp -d)
# What apt fetched from the repository is no Debian package to keep for later runs.
trap 'kill "${server:-}" 2>/dev/null; rm -f "$system_cache"/debian-*-archives/cv-veyloom*.deb
    rm -rf --one-file-system "$work"' EXIT
machines=("desktop bookworm" "newcomer trixie")
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# shown LOG: the log, indented, when a step fails.
shown() {
    sed 's/^/    /' "$1" >&2
}
for machine in "${machines[@]}"; do
    debian_system "${machine% *}" "${machine#* }"
done

"$repo/tests/release/openpgp-test-key.sh" "$work/key"
"$repo/tests/release/openpgp-test-key.sh" "$work/other-key" "Someone else"
# signed KEY FOLDER: the folder's SHA256SUMS signed with the throwaway key KEY, as make release
# signs it.
signed() {
    RELEASE_SIGN_KEY="$work/$1/secret.asc" RELEASE_SIGN_PASSPHRASE=$(cat "$work/$1/passphrase") \
        "$repo/packaging/openpgp-sign.sh" detach "$2/SHA256SUMS" "$2/SHA256SUMS.asc"
}
# release VERSION KEY PACKAGE...: a release's folder, as a publisher's comes: its packages and
# their SHA256SUMS, signed with KEY.
release() {
    mkdir -p "$work/release/$1"
    cp "${@:3}" "$work/release/$1/"
    (cd "$work/release/$1" && sha256sum -- *.deb >SHA256SUMS)
    signed "$2" "$work/release/$1"
}
first=$(dpkg-deb --field "${packages[0]}" Version)
next=$first.1
later=$first.2
release "$first" key "${packages[@]}"
built=$("$repo/tests/packages/copy-packages.sh" "$work/copy" "$next" "$@")
# shellcheck disable=SC2086
release "$next" key $built
# The other key's version: the later one's program, named a still later version.
dpkg-deb -R "$work/release/$next/cv-veyloom_${next}_amd64.deb" "$work/unpacked"
sed -i "s/^Version: .*/Version: $later/" "$work/unpacked/DEBIAN/control"
dpkg-deb -b "$work/unpacked" "$work/unpacked.deb" >/dev/null
release "$later" other-key "$work/unpacked.deb"
# The first release with one of its packages changed after its sums were written; signed by
# another key; with one bit of its signature changed; and unsigned.
cp -r "$work/release/$first" "$work/release/changed"
echo >>"$work/release/changed/$(basename "${packages[0]}")"
cp -r "$work/release/$first" "$work/release/other-signed"
signed other-key "$work/release/other-signed"
cp -r "$work/release/$first" "$work/release/changed-signature"
"$repo/tests/change-byte.sh" "$work/release/changed-signature/SHA256SUMS.asc"
cp -r "$work/release/$first" "$work/release/unsigned"
rm "$work/release/unsigned/SHA256SUMS.asc"

mkdir "$work/home"
# apt_repository REPOSITORY VERSION: `make apt-repository` of the release VERSION in
# REPOSITORY, with the key the environment names and a home folder of its own.
apt_repository() {
    HOME="$work/home" make -s -C "$repo" apt-repository APT_REPOSITORY="$work/$1" \
        DIR="$work/release/$2" >"$work/make.log" 2>&1 </dev/null
}
# publish KEY REPOSITORY VERSION: apt_repository with the throwaway key KEY as the publisher's.
publish() {
    RELEASE_SIGN_KEY="$work/$1/secret.asc" RELEASE_SIGN_PASSPHRASE=$(cat "$work/$1/passphrase") \
        apt_repository "$2" "$3" \
        || { shown "$work/make.log"; fail "make apt-repository did not publish $3 in $2"; }
}
publish key repository "$first"
ALLOW_UNSIGNED=1 publish key unsigned-repository unsigned
echo "PASS: make apt-repository publishes an unsigned release given ALLOW_UNSIGNED=1"

# Every file of the repository, with its size, time, mode and sum.
repository_state() {
    find "$work/repository" -printf '%P %s %T@ %m\n' | sort
    find "$work/repository" -type f -exec sha256sum {} + | sort
}
# What is refused | the key | its passphrase | the release | what the refusal says.
while IFS='|' read -r refused key passphrase version says; do
    before=$(repository_state)
    RELEASE_SIGN_KEY=$key RELEASE_SIGN_PASSPHRASE=$passphrase apt_repository repository \
        "$version" && fail "make apt-repository published $refused"
    grep -qF "$says" "$work/make.log" \
        || { shown "$work/make.log"; fail "make apt-repository refused $refused silently"; }
    [ "$(repository_state)" = "$before" ] \
        || fail "make apt-repository changed the repository when it refused $refused"
    echo "PASS: make apt-repository refuses $refused and changes nothing"
done <<END
to publish without a key|||$next|nothing published: the repository is signed
a passphrase that is not the key's|$work/key/secret.asc|not-it|$next|is the passphrase right?
a release signed by another key|$work/key/secret.asc|$(cat "$work/key/passphrase")|other-signed|\
other-signed/SHA256SUMS.asc is not the signature of its SHA256SUMS by the publisher's key
a changed SHA256SUMS.asc|$work/key/secret.asc|$(cat "$work/key/passphrase")|changed-signature|\
changed-signature/SHA256SUMS.asc is not the signature of its SHA256SUMS by the publisher's key
an unsigned release|$work/key/secret.asc|$(cat "$work/key/passphrase")|unsigned|\
unsigned is not signed (it has no SHA256SUMS.asc)
a package changed after its SHA256SUMS|$work/key/secret.asc|$(cat "$work/key/passphrase")|changed|\
is not the package $work/release/changed/SHA256SUMS names
END

# The repository on 127.0.0.1 at /apt, as the publisher's address has it; the link is turned to
# the other key's repository later.
mkdir "$work/served"
ln -s "$work/repository/public" "$work/served/apt"
: >"$work/server.log"
timeout 1800 python3 -u -m http.server --bind 127.0.0.1 --directory "$work/served" 0 \
    >"$work/server.log" 2>&1 &
server=$!
for _ in $(seq 100); do
    port=$(sed -n 's/^Serving HTTP on 127.0.0.1 port \([0-9]*\) .*/\1/p' "$work/server.log")
    [ -z "$port" ] || break
    sleep 0.1
done
[ -n "$port" ] || { shown "$work/server.log"; fail "the local web server did not start"; }

# readme_commands N: the Nth block of commands of the README's section on the apt repository,
# the publisher's address in it replaced by the local server's.
readme_commands() {
    local commands
    commands=$(awk -v n="$1" '
        /^```/ { if (section) { fenced = !fenced; blocks += !fenced }; next }
        !fenced && /^#/ { section = ($0 == "### On Debian 12 and 13") }
        section && fenced && blocks == n - 1' "$repo/README.md" \
        | sed "s|^address=https://.*|address=http://127.0.0.1:$port/apt|")
    [ -n "$commands" ] || fail "the README has no block $1 of commands for the apt repository"
    ! grep -q 'https://' <<<"$commands" \
        || fail "the README's commands reach beyond the local server: $commands"
    echo "$commands"
}

# What the user's machine has: wget and sudo for the user. apt answers yes by itself and keeps
# what it fetches, so that the packages Debian's archive gives are kept for later runs; it
# reaches the local server directly, whatever proxy is set, and debconf asks nothing.
for machine in "${machines[@]}"; do
    debian_system "${machine% *}" "${machine#* }"
    in_system "$work/${machine/ /-}" >"$work/step.log" 2>&1 <<'IN_SYSTEM' \
        || { shown "$work/step.log"; fail "sudo and wget did not install on Debian ${machine#* }"; }
printf '%s\n' 'APT::Get::Assume-Yes "true";' 'Binary::apt::APT::Keep-Downloaded-Packages "true";' \
    'Acquire::http::Proxy::127.0.0.1 "DIRECT";' >"$root/etc/apt/apt.conf.d/90user-machine"
echo "debconf debconf/frontend select Noninteractive" | chroot "$root" debconf-set-selections
apt_install sudo wget
echo "$user ALL=(ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$user"
IN_SYSTEM
done

add_next() {
    publish key repository "$next"
}
# A copy of the repository with the still later version added, signed by another key.
serve_other() {
    cp -a "$work/repository" "$work/other-repository"
    publish other-key other-repository "$later"
    ln -sfn "$work/other-repository/public" "$work/served/apt"
}
# What is done | what changes on the server first | the README's block of commands | what apt
# says | the version installed then | the versions apt offers then, each fetched.
while IFS='|' read -r step change block says installed offered; do
    $change
    commands=$(readme_commands "$block")
    for machine in "${machines[@]}"; do
        debian_system "${machine% *}" "${machine#* }"
        layer="$work/${machine/ /-}"
        on="$step on Debian ${machine#* }"
        in_system "$layer" "$commands" >"$work/step.log" 2>&1 <<'IN_SYSTEM' \
            || { shown "$work/step.log"; fail "$on: the README's commands failed"; }
chroot --userspec="$user:$user" "$root" env -i HOME="/home/$user" USER="$user" \
    PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 bash -e -c "$1"
IN_SYSTEM
        [ -z "$says" ] || grep -qF "$says" "$work/step.log" \
            || { shown "$work/step.log"; fail "$on: apt did not say '$says'"; }
        now=$(in_system "$layer" <<<'chroot "$root" dpkg-query -W -f "\${Version}" cv-veyloom')
        [ "$now" = "$installed" ] || fail "$on: $now installed, not $installed"
        now=$(in_system "$layer" <<<'chroot "$root" apt-cache policy cv-veyloom' \
            | sed -n 's/^ [* ]\{3\} \([^ ]*\) [0-9]*$/\1/p' | paste -sd ' ')
        [ "$now" = "$offered" ] || fail "$on: apt offers $now, not $offered"
        # shellcheck disable=SC2086
        in_system "$layer" $offered >"$work/step.log" 2>&1 <<'IN_SYSTEM' \
            || { shown "$work/step.log"; fail "$on: not every version offered can be fetched"; }
for version; do
    chroot "$root" sh -c "cd /tmp && apt-get download -q cv-veyloom=$version"
done
IN_SYSTEM
        echo "PASS: $on: $installed installed, $offered offered"
    done
done <<END
the README's steps install the release|true|1||$first|$first
the README's update brings the later version|add_next|2||$next|$next $first
another key's repository is refused|serve_other|2|\
An error occurred during the signature verification|$next|$next $first
END
[ -z "$(ls -A "$work/home")" ] \
    || fail "make apt-repository left $(ls -A "$work/home" | paste -sd " ") in the home folder"
echo "PASS: make apt-repository keeps nothing in the home folder"
