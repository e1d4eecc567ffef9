#!/usr/bin/env bash
# Runs the end-to-end suite against a build folder in a private X server:
#   e2e/run.sh <build dir> [suite options]       e.g. e2e/run.sh build/ci
#   e2e/run.sh <build dir> --only <scenario>     one scenario (e2e/suite.py --list names them)
# Starts Xvfb on a free display with openbox and trayer, runs e2e/suite.py there, stops them
# again. The last line is "N passed, N failed"; the exit status is non-zero on any failure.
set -uo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: e2e/run.sh <build dir> [suite options]" >&2
    exit 2
fi
build=$(realpath "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)

session=$(mktemp -d /tmp/amperlog-e2e.XXXXXX)
pids=()
cleanup() {
    # Our own processes only, by their ids, last started first.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$session"
}
trap cleanup EXIT

fail_setup() {
    echo "e2e: $1" >&2
    for log in "$session"/*.log; do
        [[ -s "$log" ]] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    echo "0 passed, 1 failed"
    exit 1
}

# Polls a condition every 50 ms for up to $1 seconds.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS >= deadline)) && return 1
        sleep 0.05
    done
}

# The session's programs write caches and settings under HOME: keep them out of the user's.
python=$(command -v python3)
export HOME="$session/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
export XDG_DATA_HOME="$HOME/.local/share"
export XDG_RUNTIME_DIR="$session/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
export QT_QPA_PLATFORM=xcb PYTHONDONTWRITEBYTECODE=1
# For a sanitizer build: leaks are checked at exit, less the caches Qt and the X libraries
# keep for the life of the process.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/../tests/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# -displayfd picks a free display number and reports it once the server accepts clients.
exec 5>"$session/display"
Xvfb -displayfd 5 -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset >"$session/xvfb.log" 2>&1 &
pids+=($!)
exec 5>&-
wait_until 15 test -s "$session/display" || fail_setup "Xvfb did not start"
DISPLAY=":$(head -n 1 "$session/display")"
export DISPLAY

openbox --sm-disable >"$session/openbox.log" 2>&1 &
pids+=($!)
wait_until 15 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
    fail_setup "openbox did not start"

trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
    --SetPartialStrut true --transparent false --tint 0x202020 --expand true \
    >"$session/trayer.log" 2>&1 &
pids+=($!)
wait_until 15 xdotool search --classname trayer || fail_setup "trayer did not start"

"$python" "$here/suite.py" --build "$build" "$@"
status=$?
exit $status
