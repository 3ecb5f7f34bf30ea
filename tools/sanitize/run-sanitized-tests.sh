#!/usr/bin/env bash
# Builds the whole program and its tests with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer in a folder of its own, runs every test, and fails on any report.
#   tools/sanitize/run-sanitized-tests.sh [BUILD_DIR]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build-sanitize}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMBALI_SANITIZE=ON -DNUMBALI_BENCH=OFF >/dev/null
cmake --build "$build" -j2

# Leaks inside the system's own libraries (fonts, graphics drivers, the sound server) are
# theirs, not ours; everything else fails the run.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 900
