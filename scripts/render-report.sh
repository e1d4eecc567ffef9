#!/usr/bin/env bash
# Renders a report page to PNG in Debian's headless Chromium, as a reader's browser shows it,
# and fails when the picture is blank:
#   scripts/render-report.sh PAGE.html OUT.png [WIDTH]     (WIDTH in pixels, default 900)
# The picture is the whole page: the white below it is trimmed, a margin kept.
set -euo pipefail

if [[ $# -lt 2 ]]; then
    echo "usage: scripts/render-report.sh PAGE.html OUT.png [WIDTH]" >&2
    exit 2
fi
url=$(python3 -c 'import pathlib, sys; print(pathlib.Path(sys.argv[1]).resolve().as_uri())' "$1")
out=$(realpath -m "$2")
width=${3:-900}

# A new, empty profile each time: nothing of an earlier run or of the user's browser.
profile=$(mktemp -d /tmp/amperlog-chromium.XXXXXX)
trap 'rm -rf "$profile"' EXIT
if ! chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile/data" --hide-scrollbars --window-size="$width,6000" \
    --screenshot="$out" "$url" >"$profile/chromium.log" 2>&1 || [[ ! -s "$out" ]]; then
    cat "$profile/chromium.log" >&2
    echo "render-report: chromium made no picture of $1" >&2
    exit 1
fi
convert "$out" -trim +repage -bordercolor white -border 20 "$out"

# A blank page is one colour; text and charts bring dozens.
colours=$(identify -format '%k' "$out")
if ((colours < 16)); then
    echo "render-report: the picture of $1 is blank ($colours colours)" >&2
    exit 1
fi
