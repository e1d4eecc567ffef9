#!/usr/bin/env bash
# Makes a stand-in for the folder the mingw-qt build puts Amperlog.exe in, with the same
# layout, to try scripts/package-windows.sh and check-installer.sh without a Qt for Windows:
# a small Amperlog.exe that holds the lock as the program does, and dummy DLLs, plugins and
# translations. Build leftovers and data of a copy run in place are added too: the packaging
# must leave them out.
#   make-stand-in.sh <folder>
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 <folder>" >&2
    exit 2
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dir=$1

rm -rf "$dir"
mkdir -p "$dir"/{platforms,styles,translations,CMakeFiles/amperlog.dir,amperlog_autogen,Data} \
    "$dir/wineprefix/drive_c"
x86_64-w64-mingw32-g++ -std=c++20 -O2 -s -static -municode -mwindows -Wall -Wextra -Werror \
    -Wl,--no-insert-timestamp -o "$dir/Amperlog.exe" "$here/stand_in_program.cpp"
for file in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Network.dll libstdc++-6.dll \
    libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll translations/qtbase_ja.qm; do
    printf 'stand-in %s\n' "$file" >"$dir/$file"
done
# What a build folder holds besides the program, and what a copy run in place wrote.
touch "$dir/cmake_install.cmake" "$dir/CMakeFiles/amperlog.dir/main.cpp.obj" \
    "$dir/amperlog_autogen/moc_predefs.h" "$dir/Amperlog.ini" "$dir/Sys.log" \
    "$dir/Data/20261208.txt" "$dir/wineprefix/system.reg" "$dir/wine-stderr.log"
