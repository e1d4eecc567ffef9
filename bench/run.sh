#!/usr/bin/env bash
# Every performance figure of docs/PERFORMANCE.md in one run:
#   bench/run.sh [seconds]        default 600: the length of the resident run
# Installs what is missing, builds the optimised tree (build/release), runs the benchmarks,
# then the real program under Xvfb for the given time (bench/resources/measure.sh).
# Results: build/release/bench/results.{txt,json} and build/release/measure/measure.{md,json}.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-600}

scripts/install-deps.sh --test
export CCACHE_BASEDIR="$root"
# The benchmarks and the end-to-end build (a test target): scripts/run.sh configures the same
# tree with both off.
cmake --preset release -DAMPERLOG_BUILD_TESTS=ON -DAMPERLOG_BUILD_BENCH=ON >/dev/null
cmake --build --preset release --target amperlog_bench amperlog-e2e

out=build/release/bench
build/release/bench/amperlog_bench --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/results.json" --benchmark_out_format=json | tee "$out/results.txt"
bench/resources/measure.sh "$seconds" build/release
