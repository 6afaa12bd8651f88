#!/usr/bin/env bash
# Builds everything and runs the whole test suite through CTest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
"$root/scripts/build.sh"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300

# The core's tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan="${GASECU_ASAN_BUILD:-$root/build-asan}"
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGASECU_SANITIZE=ON >/dev/null
targets=$(cd "$asan" && ctest -N -L 'unit|link' | sed -n 's/^ *Test *#[0-9]*: //p')
# shellcheck disable=SC2086
cmake --build "$asan" --parallel "$(nproc)" --target $targets
cd "$asan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" -L 'unit|link'
