#!/usr/bin/env bash
# Cross-builds the Qt the Windows program links against, from Debian's own source of the Qt the
# Linux build uses, with the MinGW-w64 posix toolchain and the host's Qt tools. Only what the
# program uses is built. The result lands in a cache folder outside the tree, named after the Qt
# version and a hash of the options, and is reused while it is there.
#   build-qt-windows.sh            build (or reuse) and print the install prefix
#   build-qt-windows.sh --prefix   only print the install prefix
# Environment: AMPERLOG_CACHE (default ~/.cache/amperlog), CCACHE_DIR (shared compiler cache),
# AMPERLOG_JOBS (default: all cores).
set -euo pipefail

qt_version=6.4.2
cache=${AMPERLOG_CACHE:-$HOME/.cache/amperlog}
jobs=${AMPERLOG_JOBS:-$(nproc)}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Everything not listed stays at Qt's default. What the program does not use is off: it draws
# with QPainter, without OpenGL (whose dynamic loader must go with it, or the platform plugin
# does not compile) or Direct2D (and DirectWrite 3's font database, which needs it). Qt 6.4
# does not link with single widgets or text formats switched off, so those stay. The repacked
# source lacks the tablet headers (wintab.h), so tablet events are off too. Fonts are drawn by
# Windows' own engine, so no FreeType; pictures are PNG only. The local socket is all the
# program asks of Network: no TLS backend, no touch input over UDP. Optimised for size: smaller
# DLLs to download, and an eighth less compile time than -O3 for a window redrawn once a second.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DFEATURE_optimize_size=ON
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_icu=OFF
    -DFEATURE_openssl=OFF
    -DFEATURE_zstd=OFF
    -DFEATURE_tabletevent=OFF
    -DFEATURE_freetype=OFF
    -DFEATURE_jpeg=OFF
    -DFEATURE_gif=OFF
    -DFEATURE_ico=OFF
    -DFEATURE_networklistmanager=OFF
    -DFEATURE_dynamicgl=OFF
    -DFEATURE_direct2d=OFF
    -DFEATURE_directwrite3=OFF
    -DFEATURE_schannel=OFF
    -DFEATURE_tuiotouch=OFF
)

options_hash=$(printf '%s\n' "$qt_version" "${options[@]}" | sha256sum | cut -c1-10)
prefix=$cache/qt-$qt_version-mingw-posix-$options_hash
stamp=$prefix/.amperlog-complete

if [[ "${1:-}" == "--prefix" ]]; then
    echo "$prefix"
    exit 0
fi
if [[ -f $stamp ]]; then
    echo "$prefix"
    exit 0
fi

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)

# Source entries for the archive the machine already installs from, in a file of our own.
src_list=/etc/apt/sources.list.d/amperlog-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
    ! grep -qs '^deb-src' /etc/apt/sources.list; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        "${sudo[@]}" tee "$src_list" >/dev/null
    "${sudo[@]}" apt-get update -qq
fi

work=$cache/work/qt-$qt_version-$options_hash
mkdir -p "$work"
cd "$work"
if [[ ! -d qtbase-src ]]; then
    rm -rf fetch && mkdir fetch
    # The very source of the Qt the Linux build links against.
    deb_version=$(dpkg-query -W -f='${source:Version}' libqt6core6)
    [[ $deb_version == "$qt_version"* ]] || {
        echo "host Qt is $deb_version, not $qt_version" >&2
        exit 1
    }
    (cd fetch && apt-get source -qq "qt6-base=$deb_version" >/dev/null)
    mv fetch/qt6-base-*/ qtbase-src
    rm -rf fetch
fi

# The same toolchain as the program's Windows build, but linked against the runtime DLLs.
cat >toolchain.cmake <<EOF
include($here/../cmake/mingw-w64-x86_64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
unset(CMAKE_CROSSCOMPILING_EMULATOR)
EOF

export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
export CCACHE_BASEDIR=$work
# Qt builds with precompiled headers; ccache caches those objects only when told to.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime

start=$(date +%s)
rm -rf build "$prefix"
cmake -S qtbase-src -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_C_COMPILER_LAUNCHER=ccache \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${options[@]}" >configure.log
cmake --build build -j"$jobs" >build.log
cmake --install build --strip >install.log
end=$(date +%s)
echo "Qt $qt_version for Windows built in $(((end - start) / 60)) min" >&2

cp configure.log build.log "$prefix/"
cd / && rm -rf "$work"
# Written last: a half-built prefix is never taken for a finished one.
printf '%s\n' "$qt_version" "${options[@]}" >"$stamp"
echo "$prefix"
