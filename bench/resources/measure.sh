#!/usr/bin/env bash
# What the running program costs the machine it watches:
#   bench/resources/measure.sh [seconds] [build dir]      defaults: 600, build/release
# Starts the end-to-end test build amperlog-e2e of an optimised build (it reads its power
# status from "power.txt" beside itself) five times to time the window's appearance, then runs
# two copies side by side for the given time, each with an Xvfb of its own so that the display
# server's work is counted per copy: one on a battery whose status changes once a minute, one
# idle on mains. Reports CPU, wake-ups, memory and writes; the report is also left in
# <build dir>/measure/measure.md and measure.json. See docs/PERFORMANCE.md.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
duration=${1:-600}
build=$(realpath "${2:-$root/build/release}")
binary="$build/e2e/app/amperlog-e2e"

if [[ ! -x "$binary" ]]; then
    echo "measure: no $binary; build it first:" >&2
    echo "  cmake --preset release -DAMPERLOG_BUILD_TESTS=ON &&" \
        "cmake --build --preset release --target amperlog-e2e" >&2
    exit 2
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")
case "$build_type" in
Release | RelWithDebInfo | MinSizeRel) ;;
*)
    echo "measure: $build is a '$build_type' build; measure an optimised one" >&2
    exit 2
    ;;
esac
for tool in Xvfb python3; do
    command -v "$tool" >/dev/null || {
        echo "measure: $tool is missing (apt-get install xvfb python3)" >&2
        exit 2
    }
done

# On a disk, not in memory: write_bytes counts only what reaches a block device.
session=$(mktemp -d "${TMPDIR:-/tmp}/amperlog-measure.XXXXXX")
pids=()
cleanup() {
    # Our own processes only, by their ids.
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$session"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The programs write caches and settings under HOME: keep them out of the user's.
export HOME="$session/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
export XDG_RUNTIME_DIR="$session/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER

# One X server per copy; -displayfd reports a free display number once it accepts clients.
displays=()
for name in battery mains; do
    exec 5>"$session/$name.display"
    Xvfb -displayfd 5 -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset \
        >"$session/$name.xvfb.log" 2>&1 &
    pids+=($!)
    exec 5>&-
    for ((i = 0; i < 300; i++)); do
        [[ -s "$session/$name.display" ]] && break
        sleep 0.05
    done
    [[ -s "$session/$name.display" ]] || {
        echo "measure: Xvfb did not start" >&2
        exit 1
    }
    displays+=(":$(head -n 1 "$session/$name.display")")
done

PYTHONDONTWRITEBYTECODE=1 python3 "$here/measure.py" --binary "$binary" \
    --displays "${displays[@]}" --xvfb-pids "${pids[@]}" --work "$session" \
    --duration "$duration" --out "$build/measure"
