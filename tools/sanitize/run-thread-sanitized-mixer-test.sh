#!/usr/bin/env bash
# Builds the sound and movie libraries and the mixer's thread test with ThreadSanitizer in a
# folder of its own, runs the test, and fails on any report.
#   tools/sanitize/run-thread-sanitized-mixer-test.sh [BUILD_DIR]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-$root/build-tsan}"

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMBALI_TSAN=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target mixer_thread_tests

# The sanitizer's options (tsan.supp among them) are the tests' own, set by the build.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --timeout 600
