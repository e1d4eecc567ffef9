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
wine "$@" >"$out" 2>"$err" </dev/null
status=$?
cat "$out"
cat "$err" >&2
exit "$status"
