#!/bin/bash
# Builds CV Veyloom for 64-bit Windows on Debian: Qt for Windows (once, then from the cache), the
# program with every test, the folder the program runs from, and from that folder an installer
# and a zip archive. Stops at the first step that fails, with that step's own output.
#   packaging/windows/build.sh [BUILD_DIR [CMAKE_OPTION...]]     (default: build-windows)
# A CMake option such as -DBUILD_TESTING=OFF builds the program alone.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$(pwd)
build=${1:-build-windows}
[ $# -eq 0 ] || shift
# The dates in the installer and the zip are the commit's, as in the Debian package, so that one
# commit gives the same files wherever and whenever it is built.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

# A key to sign with (see sign.sh) is checked before the long build.
if [ -n "${WINDOWS_SIGN_PKCS12:-}" ]; then
    if [ ! -r "$WINDOWS_SIGN_PKCS12" ]; then
        echo "build.sh: cannot read the key $WINDOWS_SIGN_PKCS12" >&2
        exit 1
    fi
    if [ -z "${WINDOWS_SIGN_PASSWORD+set}" ]; then
        echo "build.sh: the key's password is not in the environment (WINDOWS_SIGN_PASSWORD)" >&2
        exit 1
    fi
fi

# The tests need Wine to run; the program alone does not.
if [[ " $* " == *" -DBUILD_TESTING=OFF "* ]]; then
    scripts/install-deps run package windows
else
    scripts/install-deps run test package windows wine wine64
fi

qt=$(packaging/windows/build-qt.sh)

# A build made with another Qt for Windows starts afresh.
if [ -f "$build/CMakeCache.txt" ] \
    && ! grep -qF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$qt/" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
# Qt's own toolchain file finds Qt for Windows and the host's tools, and hands the compiler
# settings on to ours.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" "$@" >/dev/null
cmake --build "$build"

version=$(scripts/build-version "$build")

# The program's folder: the program, the Qt libraries and only the plugins it loads, the
# compiler's run-time libraries, and the licence notices of all of them.
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
# Debian's notices of the compiler's run-time libraries (GPL 3 with the GCC Runtime Library
# Exception) and of MinGW-w64's, winpthreads among them.
cp /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright \
    "$dist/licenses/libstdc++-libgcc-copyright.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$dist/licenses/libwinpthread-copyright.txt"
find "$dist" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
find "$dist" -type d -exec chmod 755 {} +
find "$dist" -type f -exec chmod 644 {} +
find "$dist" -exec touch --no-dereference --date="@$SOURCE_DATE_EPOCH" {} +

packaging/windows/package.sh "$build" "$name"
