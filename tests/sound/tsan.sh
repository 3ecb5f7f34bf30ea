#!/bin/sh
# Builds the mixer's thread test with ThreadSanitizer in a build folder of its own and runs
# it; fails on any report.
#   tests/sound/tsan.sh [BUILD_FOLDER]      (default: build-tsan in the checkout)
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
folder=${1:-$root/build-tsan}
launcher=
if command -v ccache >/dev/null 2>&1; then
  launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
cmake -S "$root" -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMBALI_TSAN=ON $launcher
cmake --build "$folder" -j2 --target mixer_thread_tests
QT_QPA_PLATFORM=offscreen ctest --test-dir "$folder" --output-on-failure
