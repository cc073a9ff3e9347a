#!/bin/bash
# Builds Qt's base module for 64-bit Windows from Debian's own source of the Qt the host tools
# come from, configured for what CV Veyloom uses and for size, and keeps it in the user's cache
# folder under a key of version and options. Prints the install prefix, and nothing else, on its
# standard output; the build's own output goes to standard error.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
upstream=${version%%+*}

# Everything the program, its tests and its benchmarks never call is left out; what stays is
# Core, Gui, Widgets and Test, the windows and offscreen platforms, the Windows styles and JPEG.
options="
  -DCMAKE_BUILD_TYPE=MinSizeRel
  -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF
  -DQT_BUILD_TESTS=OFF
  -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF
  -DFEATURE_network=OFF
  -DFEATURE_dbus=OFF
  -DFEATURE_xml=OFF
  -DFEATURE_concurrent=OFF
  -DFEATURE_printsupport=OFF
  -DFEATURE_opengl=OFF
  -DFEATURE_dynamicgl=OFF
  -DFEATURE_vulkan=OFF
  -DFEATURE_tabletevent=OFF
  -DFEATURE_pdf=OFF
  -DFEATURE_textodfwriter=OFF
  -DFEATURE_textmarkdownreader=OFF
  -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_gif=OFF
  -DFEATURE_ico=OFF
  -DFEATURE_movie=OFF
  -DFEATURE_imageformat_ppm=OFF
  -DFEATURE_imageformat_xbm=OFF
  -DFEATURE_sessionmanager=OFF
  -DFEATURE_systemtrayicon=OFF
  -DFEATURE_graphicsview=OFF
  -DFEATURE_calendarwidget=OFF
  -DFEATURE_datetimeedit=OFF
  -DFEATURE_mdiarea=OFF
  -DFEATURE_colordialog=OFF
  -DFEATURE_fontdialog=OFF
  -DFEATURE_filedialog=OFF
  -DFEATURE_wizard=OFF
  -DFEATURE_undoview=OFF
  -DFEATURE_undogroup=OFF
  -DFEATURE_undostack=OFF
  -DFEATURE_undocommand=OFF
  -DFEATURE_lcdnumber=OFF
  -DFEATURE_dial=OFF
  -DFEATURE_keysequenceedit=OFF
  -DFEATURE_fontcombobox=OFF
  -DFEATURE_splashscreen=OFF
  -DFEATURE_itemmodeltester=OFF
  -DFEATURE_system_zlib=OFF
  -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF
  -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_freetype=OFF
  -DFEATURE_zstd=OFF
  -DFEATURE_icu=OFF
  -DFEATURE_mimetype_database=OFF
"
# save_licences SOURCE DEST: the licence texts Qt and the third-party code built into it come
# with, to ship beside the libraries.
save_licences() {
  mkdir -p "$2"
  cp "$1/LICENSES/LGPL-3.0-only.txt" "$1/LICENSES/GPL-3.0-only.txt" "$2/"
  for dir in "$1"/src/3rdparty/*/; do
    name=$(basename "$dir")
    case $name in android | gradle | wasm | xcb | VulkanMemoryAllocator | dbus-ifaces) continue ;; esac
    for text in "$dir"LICEN[CS]E* "$dir"COPYING* "$dir"*-license.txt "$dir"*LICENSE.txt; do
      [ -f "$text" ] && cp "$text" "$2/$name-$(basename "$text")"
    done
  done
  return 0
}

# Debian's revision is in the key too: a fix to its source makes a new build.
key=$(printf '%s\n%s\n%s\n' "$version" "$options" "$(cat "$repo/cmake/mingw-w64-x86_64.cmake")" |
  sha256sum | cut -c1-12)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/cv-veyloom"
prefix="$cache/qt-$upstream-windows-$key"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# A new Qt for Windows replaces the ones built before: a kept machine holds one, of half a
# gigabyte.
rm -rf "$cache"/qt-*-windows-*
work="$cache/qt-$upstream-windows-$key.build"
mkdir -p "$work"

# Debian's source of the module, fetched through a source entry for the archive apt already
# uses, in an apt configuration of its own so that the system's is left as it is.
aptdir="$work/apt"
mkdir -p "$aptdir/lists/partial" "$aptdir/archives/partial" "$aptdir/parts"
"$repo/scripts/debian-archive" | sed 's/^deb /deb-src /' >"$aptdir/sources.list"
aptopts=(-o "Dir::Etc::SourceList=$aptdir/sources.list" -o "Dir::Etc::SourceParts=$aptdir/parts"
  -o "Dir::State::Lists=$aptdir/lists" -o "Dir::Cache::Archives=$aptdir/archives"
  -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
# apt's own user cannot read a cache folder in root's home.
[ "$(id -u)" -ne 0 ] || aptopts+=(-o APT::Sandbox::User=root)
apt-get "${aptopts[@]}" -qq update >&2
(cd "$work" && apt-get "${aptopts[@]}" -qq source "qt6-base=$version" >&2)
src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-*" | head -n 1)

start=$(date +%s)
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  $options >"$work/configure.log"
cmake --build "$work/build" >&2
cmake --install "$work/build" >/dev/null
save_licences "$src" "$prefix/licenses"
echo "Qt for Windows built in $(( $(date +%s) - start )) s" >&2
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
