#!/usr/bin/env bash
# Builds everything and runs the whole test suite through CTest.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
"$root/scripts/build.sh"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300

# The core's tests once more under AddressSanitizer and UndefinedBehaviorSanitizer
# (GASECU_ASAN_LABELS=. takes the whole suite, screens included).
labels="${GASECU_ASAN_LABELS:-unit|link}"
asan="${GASECU_ASAN_BUILD:-$root/build-asan}"
launcher=()
command -v ccache >/dev/null &&
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGASECU_SANITIZE=ON "${launcher[@]}" >/dev/null
targets=$(cd "$asan" && ctest -N -L "$labels" | sed -n 's/^ *Test *#[0-9]*: //p')
# The whole suite also runs the programs themselves.
[ "$labels" = "." ] && targets=all
# shellcheck disable=SC2086
cmake --build "$asan" --parallel "$(nproc)" --target $targets
cd "$asan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" -L "$labels" --timeout 900
