#!/usr/bin/env bash
# Regenerates the README's screenshots in docs/images/ with the end-to-end test build on a
# scripted day, in a private X server:
#   e2e/screenshots.sh [build dir]        (default build/ci; needs the amperlog-e2e target)
set -euo pipefail
cd "$(dirname "$0")/.."
exec e2e/run.sh "${1:-build/ci}" --screenshots docs/images --out e2e/out/screenshots
