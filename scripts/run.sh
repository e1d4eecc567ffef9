#!/usr/bin/env bash
# Installs what is missing, builds Amperlog and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release -DAMPERLOG_BUILD_TESTS=OFF -DAMPERLOG_BUILD_BENCH=OFF >/dev/null
cmake --build --preset release --target amperlog
exec build/release/src/app/amperlog "$@"
