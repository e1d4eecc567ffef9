#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for the given number of seconds
# (default 30), starting from its seed corpus in fuzz/corpus/<target>/. New inputs go to
# build/fuzz/corpus/, crashes to build/fuzz/artifacts/. Fails when any target finds a crash,
# a leak, a time-out or runs out of memory.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
build=build/fuzz

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# Daily logs are read in 16 KiB and 64 KiB chunks: their targets get inputs that cross them.
max_len_of() {
    case "$1" in
    log_reader_fuzz | day_samples_fuzz) echo 140000 ;;
    *) echo 4096 ;;
    esac
}

failed=()
passed=0
for seeds in fuzz/corpus/*/; do
    target="$(basename "$seeds")"
    program="$build/fuzz/$target"
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    log="$build/artifacts/$target.log"
    echo "-- $target: ${seconds} s"
    if "$program" "$corpus" "$seeds" \
        -max_total_time="$seconds" -max_len="$(max_len_of "$target")" \
        -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$artifacts" >"$log" 2>&1; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
        echo "   ${runs:-?} runs, no crash"
        passed=$((passed + 1))
    else
        echo "   FAILED, see $log:"
        grep -E "ERROR|property failed|runtime error|SUMMARY|Test unit written" "$log" | head -20
        failed+=("$target")
    fi
done

echo "fuzz: ${passed} passed, ${#failed[@]} failed"
[[ ${#failed[@]} -eq 0 ]]
