#!/usr/bin/env bash
# The Windows stage of the tests, under Wine.
#   test-windows.sh     the whole program: Qt for Windows built (or reused from its cache), the
#                       program, its test build and all its tests (the mingw-qt preset), the
#                       installer and the portable zip of the real program and their check, and
#                       the end-to-end scenarios of the Windows build
#   AMPERLOG_WINDOWS_QT=0 test-windows.sh
#                       quicker, without Qt: the logic and the Windows platform code (the mingw
#                       preset) and their tests; the packages made from a stand-in program
# The logic's tests run with Wine's null display driver; the widget tests and the end-to-end
# scenarios in a private X server.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${JOBS:-2}"
if [[ ${AMPERLOG_WINDOWS_QT:-1} == 1 ]]; then
    preset=mingw-qt
else
    preset=mingw
fi
build=build/$preset

# The environment of the test presets, for the Wine commands run here as well.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them, and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The Linux tests' platform plugin; the Windows widget tests draw with Windows' own (the
# preset says so), into Wine's null display.
unset QT_QPA_PLATFORM

start=$SECONDS
if [[ $preset == mingw-qt ]]; then
    AMPERLOG_JOBS=$jobs scripts/build-qt-windows.sh >/dev/null
    echo "-- Qt for Windows: $((SECONDS - start)) s"
fi

built=$SECONDS
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
echo "-- Windows build: $((SECONDS - built)) s"

# One Wine server for the tests, with the services it starts at boot: each test then starts
# in a fraction of a second instead of booting Wine again.
booting=$SECONDS
x_pids=()
stop() {
    wineserver -k >/dev/null 2>&1 || true
    if ((${#x_pids[@]})); then
        kill "${x_pids[@]}" 2>/dev/null || true
    fi
}
trap stop EXIT
display=''
if [[ $preset == mingw-qt ]]; then
    # The widget tests draw with Windows' own platform (this Qt has no offscreen one), which
    # wants a display: a private X server with a window manager, as the end-to-end suite has.
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$build/xvfb.display" >/dev/null 2>&1 &
    x_pids+=($!)
    for _ in $(seq 100); do
        [[ -s $build/xvfb.display ]] && break
        sleep 0.1
    done
    display=":$(cat "$build/xvfb.display")"
    DISPLAY=$display openbox >/dev/null 2>&1 &
    x_pids+=($!)
fi
mkdir -p "$WINEPREFIX"
wineserver -p
log="$build/wineboot.log"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "-- creating the Wine prefix $WINEPREFIX"
    # The first boot of a prefix takes tens of seconds, more on a busy machine.
    DISPLAY=$display timeout 900 wineboot --init >"$log" 2>&1 </dev/null
    if [[ -z $display ]]; then
        # Nothing may open a window, not even by mistake: the null display driver.
        DISPLAY='' wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$log" 2>&1 </dev/null
    fi
else
    DISPLAY=$display timeout 300 wineboot >"$log" 2>&1 </dev/null
    if [[ -n $display ]]; then
        # A prefix an older run made for the null display.
        wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >>"$log" 2>&1 </dev/null || true
    fi
fi
tested=$SECONDS
echo "-- Wine ready: $((tested - booting)) s"
DISPLAY=$display ctest --preset "$preset" -j "$jobs"
stop
x_pids=()
echo "-- Windows tests under Wine: $((SECONDS - tested)) s"

# The packages, checked in a prefix whose Wine server has ended (the check ends every Wine
# process in it): the tests' own, or beside it where the tests had a display.
packaged=$SECONDS
program=$build/src/app
if [[ $preset == mingw ]]; then
    program=$build/stand-in
    packaging/windows/make-stand-in.sh "$program"
fi
rm -rf "$build/package"
scripts/package-windows.sh "$program" "$build/package"
# The check runs the program with Wine's null display driver, which the widget tests' prefix
# does not have.
installer_prefix=$WINEPREFIX
[[ -n $display ]] && installer_prefix=$build/wineprefix-installer
DISPLAY='' packaging/windows/check-installer.sh "$build"/package/Amperlog-*-setup.exe "$installer_prefix"
echo "-- packages and their check: $((SECONDS - packaged)) s"

if [[ $preset == mingw-qt ]]; then
    e2e=$SECONDS
    e2e/run.sh "$build" --wine
    echo "-- Windows end-to-end under Wine: $((SECONDS - e2e)) s"
fi
echo "-- Windows stage: $((SECONDS - start)) s"
