#!/usr/bin/env bash
# Cross-builds the logic and the Windows platform code with MinGW-w64 (the mingw preset) and
# runs their tests under Wine, in a private Wine prefix under build/mingw. No display is
# needed: Wine runs with its null display driver.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${JOBS:-2}"
build=build/mingw

# The environment of the mingw test preset, for the Wine commands run here as well.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them, and they would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=
unset WAYLAND_DISPLAY

start=$SECONDS
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
built=$SECONDS
echo "-- Windows build: $((built - start)) s"

# One Wine server for the whole run, with the services it starts at boot: each test then
# starts in a fraction of a second instead of booting Wine again.
wineserver -k >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
mkdir -p "$WINEPREFIX"
wineserver -p
log="$build/wineboot.log"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "-- creating the Wine prefix $WINEPREFIX"
    # The first boot of a prefix takes tens of seconds, more on a busy machine.
    timeout 900 wineboot --init >"$log" 2>&1 </dev/null
    # Nothing may open a window, not even by mistake: the null display driver.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$log" 2>&1 </dev/null
else
    timeout 300 wineboot >"$log" 2>&1 </dev/null
fi
booted=$SECONDS
echo "-- Wine ready: $((booted - built)) s"

status=0
ctest --preset mingw -j "$jobs" || status=$?
echo "-- Windows tests under Wine: $((SECONDS - booted)) s (Windows stage $((SECONDS - start)) s)"
exit "$status"
