#!/usr/bin/env bash
# Installs what a fresh Debian 12 lacks, checks the formatting, builds with
# the whole warning set as errors, and runs every test twice: once in the
# normal build and once under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")"
source ./scripts/deps.sh
install_missing_packages

# The tree keeps its own .clang-format: any difference fails the run.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
else
    find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run --Werror
fi

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOS_STRICT=ON >/dev/null
cmake --build build -j "$jobs"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")

# clang-tidy (.clang-tidy) over the program's own sources, on this build's
# compile database; any finding fails the run. The database is g++'s: clang
# skips the warning options it does not know, and leaves out sign conversions
# as the clang build does.
run-clang-tidy -quiet -j "$jobs" -p build \
    -extra-arg=-Wno-unknown-warning-option -extra-arg=-Wno-sign-conversion \
    "^$PWD/(data|editions|export|net|platform|ui)/" >build/clang-tidy.log 2>&1 ||
    { grep -E 'error:|warning:' build/clang-tidy.log || tail -n 20 build/clang-tidy.log; exit 1; }

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVOS_SANITIZE=ON -DVOS_BENCHMARKS=OFF -DVOS_STRICT=ON >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs")
