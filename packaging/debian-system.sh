# Sourced by what runs in a fresh minimal Debian system: the release's build and the checks of
# the packages. Such a system is made with
# mmdebstrap from the Debian archive apt here fetches from, once: it is kept in the cache folder
# under a name taken from everything it is made from, the packages fetched there beside it, and
# each run works on a throw-away layer over it (overlayfs), in a mount and process namespace of
# its own that takes every mount and process with it when the run ends. Mounting and changing
# root need root: a script that sources this first runs again through sudo unless it is root,
# keeping the variables its list system_keep names. The functions work in the sourcing script's
# folder, $work.
[ "$(id -u)" -eq 0 ] || exec sudo ${system_keep:+--preserve-env="$system_keep"} "$0" "$@"
system_cache="${XDG_CACHE_HOME:-$HOME/.cache}/cv-veyloom"

# debian_system KIND RELEASE: the minimal Debian RELEASE (a code name) system of KIND, made unless
# the cache has it, from the archive apt here fetches from or, given system_sources, from the
# sources.list lines it holds; sets system (its folder), system_user (its ordinary user) and
# system_archives (the packages fetched there, kept for later runs). The kinds:
#   desktop   beside the minimal system only what a desktop gives a program, a display (here a
#             virtual one) and fonts, and the tools that drive it; its user, viewer
#   newcomer  what a fresh machine has beside it: sudo, and the two tools the README's first
#             command needs, git and make; its user, newcomer, may use sudo. dpkg there does
#             without a sync after each file, as a throw-away system may
#   builder   what builds a release: the packages scripts/install-deps names for building the
#             program, its Debian package and its Windows files; no user of its own
debian_system() {
    local kind=$1 release=$2 packages hooks here
    here=$(dirname "${BASH_SOURCE[0]}")
    case $kind in
        desktop)
            packages="xvfb xauth xdotool x11-utils fonts-dejavu-core"
            system_user=viewer
            hooks=("chroot \"\$1\" useradd --create-home $system_user")
            ;;
        newcomer)
            packages="sudo git make ca-certificates"
            system_user=newcomer
            hooks=(
                "chroot \"\$1\" useradd --create-home --shell /bin/bash $system_user"
                "echo '$system_user ALL=(ALL) NOPASSWD: ALL' >\"\$1/etc/sudoers.d/$system_user\""
                "echo force-unsafe-io >\"\$1/etc/dpkg/dpkg.cfg.d/unsafe-io\""
            )
            ;;
        builder)
            packages=$("$here/../scripts/install-deps" --list run package windows | paste -sd ' ')
            system_user=""
            hooks=()
            ;;
        *) echo "debian_system: no kind of system $kind" >&2; return 1 ;;
    esac
    local recipe="$work/debian-$release-$kind"
    mkdir -p "$recipe"
    if [ -n "${system_sources:-}" ]; then
        echo "$system_sources" >"$recipe/sources.list"
    else
        "$here/../scripts/debian-archive" "$release" >"$recipe/sources.list" \
            || { echo "FAIL: apt knows no archive of Debian $release (apt-get update?)"; exit 1; }
    fi
    # apt's settings for reaching the archive: a proxy, and a snapshot archive's old Release dates.
    apt-config dump Acquire::http::Proxy Acquire::https::Proxy Acquire::Retries \
        Acquire::Check-Valid-Until Acquire::Check-Date >"$recipe/apt.conf"
    local key
    key=$(cat <(echo "minbase $release $packages ${hooks[*]}") "$recipe/sources.list" \
        "$recipe/apt.conf" | sha256sum | cut -c1-16)
    system="$system_cache/debian-$release-$kind-$key"
    system_archives="$system_cache/debian-$release-archives"
    mkdir -p "$system_archives/partial"
    [ ! -d "$system" ] || return 0
    echo "Making a minimal Debian $release system with $packages (once; kept in $system_cache)"
    local start=$SECONDS
    # A new system replaces the one of its kind made before, and what earlier versions of these
    # checks kept of that release under other names.
    rm -rf --one-file-system "$system_cache/debian-$release-$kind"-* "$system_archives"/*.deb \
        "$system_cache/$release"-system-* "$system_cache/$release-archives" \
        "$system_cache/debian-$release"-*.tar.zst "$system_cache/archives"
    mmdebstrap --quiet --mode=root --variant=minbase --include="${packages// /,}" \
        --aptopt="$recipe/apt.conf" --skip=cleanup/apt/lists "${hooks[@]/#/--customize-hook=}" \
        "$release" "$system.new" "$recipe/sources.list"
    mv "$system.new" "$system"
    echo "Made in $((SECONDS - start)) s"
}

# in_system LAYER [ARG...]: runs the bash script on standard input, as root, in a mount and
# process namespace of its own, with the system of the last debian_system call at $root, under
# a throw-away layer kept in the folder LAYER: a later call with the same LAYER goes on from
# where this one left the system, but for /tmp, which is new each time. /dev, /proc, /sys and
# the kept packages are mounted there and this machine's name servers copied in. The script
# finds the system's user in $user, its ARGs in $1... and the functions apt_install and
# as_system_user.
in_system() {
    local layer=$1
    shift
    mkdir -p "$layer/upper" "$layer/work" "$layer/root"
    unshare --mount --pid --fork --kill-child bash -c "set -euo pipefail
        $(declare -f enter_system apt_install as_system_user)
        enter_system \"\$@\"
        shift 4
        . /dev/stdin" in_system "$layer" "$system" "$system_archives" "$system_user" "$@"
}

# enter_system LAYER SYSTEM ARCHIVES USER: in_system's side in the namespace, before the script.
enter_system() {
    root=$1/root
    mount -t overlay overlay -o "lowerdir=$2,upperdir=$1/upper,workdir=$1/work" "$root"
    mount --rbind /dev "$root/dev"
    mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
    mount --bind "$3" "$root/var/cache/apt/archives"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    user=$4
}

# apt_install ARG...: apt-get install in the system. The package lists kept with the system may
# name versions the archive no longer has: when the install fails, they are fetched again first.
apt_install() {
    local install=(chroot "$root" env DEBIAN_FRONTEND=noninteractive
        apt-get install -y -q --no-install-recommends "$@")
    "${install[@]}" || { chroot "$root" apt-get update -q && "${install[@]}"; }
}

# as_system_user COMMAND: runs the bash COMMAND as the system's user, in their home, with a fresh
# environment. The system is made the root of a mount namespace of its own, not entered by
# chroot: in a chroot the kernel lets no one make a user namespace, as Orca's test does.
as_system_user() {
    # shellcheck disable=SC2016 # expanded by the shell in the namespace
    unshare --mount --fork bash -c 'cd "$1" && pivot_root . mnt && cd / && umount --lazy /mnt &&
        exec chroot --userspec="$2:$2" / env -i HOME="/home/$2" USER="$2" \
            PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 bash -c "cd && $3"' \
        as_system_user "$root" "$user" "$1"
}
