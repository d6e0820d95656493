#!/usr/bin/env bash
# Sets up, builds everything and runs every test; then the unit tests again under the sanitizers.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
jobs=$(nproc)

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Debug -DSLUMBERIA_TESTS=ON >/dev/null
cmake --build "$top/build" -j"$jobs"
(cd "$top/build" && ctest -j"$jobs" --output-on-failure --no-tests=error)

cmake -S "$top" -B "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DSLUMBERIA_SANITIZE=ON -DSLUMBERIA_TESTS=ON >/dev/null
cmake --build "$top/build-asan" -j"$jobs"
(cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=0 ctest -j"$jobs" --output-on-failure --no-tests=error)
