#!/bin/sh
# Runs a Windows program under Wine for CTest and test discovery.
#
# Wine starts its helper processes (services, device drivers, the COM resolver) on demand,
# and they inherit the standard output of the program that needed them. Were that CTest's
# pipe, CTest would wait for those long-lived helpers to close it. So the program writes to
# files, which are then passed on.
WINEDEBUG="${WINEDEBUG:--all}"
export WINEDEBUG
out=$(mktemp) || exit 1
err=$(mktemp) || { rm -f "$out"; exit 1; }
trap 'rm -f "$out" "$err"' EXIT
# On a loaded machine Wine now and then fails to start a program at all: it ends at once with
# an error and not a byte written. That is no result of the program's; it gets another start.
# A program that ran and failed has printed something and is never started again.
for attempt in 1 2 3; do
    wine "$@" >"$out" 2>"$err" </dev/null
    status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; then
        break
    fi
    echo "run-under-wine: $1 did not start (exit $status, attempt $attempt)" >&2
done
cat "$out"
cat "$err" >&2
exit "$status"
