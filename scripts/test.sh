#!/usr/bin/env bash
# Installs what is missing, builds every configuration once and runs every test:
# unit and widget tests under AddressSanitizer and UBSan with warnings as errors, the
# end-to-end suite in a private X server, the Windows build under Wine, and brief fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test

jobs=2
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
# Paths relative to the clone, so a fresh clone reuses what an earlier one compiled.
export CCACHE_BASEDIR="$PWD"
export QT_QPA_PLATFORM=offscreen
# Qt and fontconfig keep caches for the life of the process; they are not our leaks.
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

echo "== format check"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"

echo "== layer check"
scripts/check-layers.py
python3 scripts/tests/check_layers_test.py

echo "== paths named in the README and docs/"
scripts/check-doc-paths.py
python3 scripts/tests/check_doc_paths_test.py

echo "== shell and Python linters"
mapfile -t shell_scripts < <(git ls-files '*.sh' .ci/run)
shellcheck -S warning "${shell_scripts[@]}"
flake8 --max-line-length 100 e2e bench scripts packaging

echo "== build (ci: sanitizers, warnings as errors)"
cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"

echo "== clang-tidy on the logic"
mapfile -t logic < <(git ls-files 'src/*.cpp' | grep -Ev '^src/(mainwindow|editor|reportwindow|app|platform)/')
printf '%s\n' "${logic[@]}" |
    xargs -P "$jobs" -n 4 clang-tidy -p build/ci --quiet --warnings-as-errors='*' >build/ci/tidy.log 2>&1 ||
    { grep -E 'warning:|error:' build/ci/tidy.log; exit 1; }

echo "== unit and widget tests"
ctest --preset ci -j "$jobs" -LE e2e

if [[ -x e2e/run.sh ]]; then
    echo "== end-to-end tests"
    e2e/run.sh build/ci
fi

echo "== crash consistency: the program killed at random moments 200 times"
ctest --preset ci -L crash -V >build/ci/crash.log 2>&1 || { cat build/ci/crash.log; exit 1; }
grep -E '\[ crash \]|tests passed' build/ci/crash.log

if [[ -f cmake/mingw-w64-x86_64.cmake ]]; then
    echo "== Windows build, tests under Wine"
    scripts/test-windows.sh
fi

if [[ -x fuzz/run.sh ]]; then
    echo "== fuzzing"
    fuzz/run.sh 30
fi
