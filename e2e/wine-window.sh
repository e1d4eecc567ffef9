#!/usr/bin/env bash
# Starts the Windows program under Wine in a private X server (Xvfb, openbox, trayer, as
# e2e/run.sh does), waits for its main window and takes a picture of it:
#   e2e/wine-window.sh <folder of Amperlog.exe> <output.png>
# Wine's prefix is <folder>/wineprefix. Prints the window's geometry and Wine's view of the
# program (platform plugin, tray); the exit status is non-zero when no window appeared.
set -uo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: e2e/wine-window.sh <folder of Amperlog.exe> <output.png>" >&2
    exit 2
fi
folder=$(realpath "$1")
out=$(realpath -m "$2")
exe="$folder/Amperlog.exe"
[[ -f $exe ]] || {
    echo "no $exe" >&2
    exit 2
}

session=$(mktemp -d /tmp/amperlog-wine.XXXXXX)
pids=()
export WINEPREFIX="$folder/wineprefix" WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    # This prefix's Wine server and our own processes only, by their ids.
    wineserver -k >/dev/null 2>&1
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$session"
}
trap cleanup EXIT

wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS >= deadline)) && return 1
        sleep 0.2
    done
}

exec 5>"$session/display"
Xvfb -displayfd 5 -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset >"$session/xvfb.log" 2>&1 &
pids+=($!)
exec 5>&-
wait_until 15 test -s "$session/display" || {
    echo "Xvfb did not start" >&2
    exit 1
}
DISPLAY=":$(head -n 1 "$session/display")"
export DISPLAY
openbox --sm-disable >"$session/openbox.log" 2>&1 &
pids+=($!)
wait_until 15 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
    --SetPartialStrut true --transparent false --tint 0x202020 --expand true \
    >"$session/trayer.log" 2>&1 &
pids+=($!)
wait_until 15 xdotool search --classname trayer

mkdir -p "$WINEPREFIX"
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    # The first boot of a prefix takes tens of seconds, more on a busy machine.
    timeout 900 wineboot --init >"$session/wineboot.log" 2>&1 </dev/null
fi

# Qt reports the platform plugin it loads and what it finds of the tray.
QT_DEBUG_PLUGINS=1 wine "$exe" >"$folder/wine-stdout.log" 2>"$folder/wine-stderr.log" \
    </dev/null &
pids+=($!)
title="Battery Monitor"
if ! wait_until 300 xdotool search --onlyvisible --name "^$title\$"; then
    echo "no window named \"$title\" appeared; Wine's errors:" >&2
    tail -n 30 "$folder/wine-stderr.log" >&2
    exit 1
fi
sleep 3 # lets the first timer tick draw the panels
window=$(xdotool search --onlyvisible --name "^$title\$" | head -n 1)
xwininfo -id "$window" | grep -E "Absolute|Width|Height"
import -window root "${out%.png}-screen.png"
import -window "$window" "$out"
echo "window: $out; screen: ${out%.png}-screen.png"
grep -E "loaded library|windows" "$folder/wine-stderr.log" | grep -iE "platforms|styles" | head -n 5
