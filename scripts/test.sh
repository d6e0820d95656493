#!/usr/bin/env bash
# Sets up, builds everything and runs every test, while a release build of everything with warnings
# as errors builds beside them; then the unit tests again under the sanitizers, and last the release
# build's result.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
jobs=$(nproc)

cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Debug -DSLUMBERIA_TESTS=ON >/dev/null
cmake --build "$top/build" -j"$jobs"

# The optimiser sees what the Debug build does not: a release build that warns fails the run. It
# builds while the tests below run (the end-to-end scripts mostly wait for the programs), at the
# lowest priority and with half the jobs, so that on a busy machine the tests keep the processors
# they need; into a log of its own that is shown when it fails; a run that stops early stops it too.
cmake -S "$top" -B "$top/build-strict" -DCMAKE_BUILD_TYPE=Release -DSLUMBERIA_WERROR=ON -DSLUMBERIA_TESTS=ON >/dev/null
setsid -w nice -n 19 cmake --build "$top/build-strict" -j"$(((jobs + 1) / 2))" >"$top/build-strict/build.log" 2>&1 &
strict=$!
trap 'kill -- -$strict 2>/dev/null || true' EXIT

(cd "$top/build" && ctest -j"$jobs" --output-on-failure --no-tests=error)

# The sanitizer build runs only the unit tests, so it builds only them.
cmake -S "$top" -B "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug -DSLUMBERIA_SANITIZE=ON -DSLUMBERIA_TESTS=ON >/dev/null
cmake --build "$top/build-asan" -j"$jobs" --target unit_tests
(cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=0 ctest -j"$jobs" --output-on-failure --no-tests=error)

if ! wait "$strict"; then
  cat "$top/build-strict/build.log"
  echo "The release build failed: with -Werror a compiler warning is an error." >&2
  exit 1
fi
echo "The release build in build-strict/ has no warnings."
