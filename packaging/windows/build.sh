#!/bin/sh
# Builds CV Veyloom for 64-bit Windows on Debian: Qt for Windows (once, then from the cache), the
# program with every test, the folder the program runs from, and from that folder an installer
# and a zip archive.
#   packaging/windows/build.sh [BUILD_DIR]     (default: build-windows)
set -eu
cd "$(dirname "$0")/../.."
repo=$(pwd)
build=${1:-build-windows}

scripts/install-deps
scripts/install-deps g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 nsis wine wine64 dpkg-dev

qt=$(packaging/windows/build-qt.sh | tail -n 1)

# A build made with another Qt for Windows starts afresh.
if [ -f "$build/CMakeCache.txt" ] \
  && ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*=$qt/" "$build/CMakeCache.txt"; then
  rm -rf "$build"
fi
# Qt's own toolchain file finds Qt for Windows and the host's tools, and hands the compiler
# settings on to ours.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build"

version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$build/packaging/windows/installer-defines.nsh")

# The program's folder: the program, the Qt libraries and only the plugins it loads, the
# compiler's run-time libraries, and the licence texts of Qt and the code built into it.
name="cv-veyloom-$version"
dist="$build/$name"
rm -rf "$dist"
mkdir -p "$dist/platforms" "$dist/styles" "$dist/imageformats" "$dist/licenses"
cp "$build/cv-veyloom.exe" "$dist/"
for lib in Core Gui Widgets; do cp "$qt/bin/Qt6$lib.dll" "$dist/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$dist/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$dist/styles/"
cp "$qt/plugins/imageformats/qjpeg.dll" "$dist/imageformats/"
for runtime in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
  cp "$(x86_64-w64-mingw32-g++-posix -print-file-name="$runtime")" "$dist/"
done
cp "$qt/licenses/"* "$dist/licenses/"
find "$dist" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

# The installer copies, and its uninstaller removes, exactly the files of that folder.
nsis="$build/packaging/windows"
files=$(cd "$dist" && find . -type f | sed 's|^\./||' | sort)
for file in $files; do
  folder=$(dirname "$file" | sed -e 's|^\.$||' -e 's|^|\\|' -e 's|^\\$||' | tr / '\\')
  printf 'SetOutPath "$INSTDIR%s"\nFile "${DIST}/%s"\n' "$folder" "$file"
done >"$nsis/install-files.nsh"
{
  for file in $files; do printf 'Delete "$INSTDIR\\%s"\n' "$(printf '%s' "$file" | tr / '\\')"; done
  (cd "$dist" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) | while read -r folder; do
    printf 'RMDir "$INSTDIR\\%s"\n' "$(printf '%s' "$folder" | tr / '\\')"
  done
} >"$nsis/uninstall-files.nsh"

makensis -V2 -NOCD -DDIST="$(realpath "$dist")" -X"!addincludedir $(realpath "$nsis")" \
  -DOUTFILE="$(realpath "$build")/$name-setup.exe" packaging/windows/installer.nsi
rm -f "$build/$name-windows-x64.zip"
(cd "$build" && cmake -E tar cf "$name-windows-x64.zip" --format=zip "$name")
ls -l "$build/$name-setup.exe" "$build/$name-windows-x64.zip"
