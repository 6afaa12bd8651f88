#!/usr/bin/env bash
# Builds one variant preset (CMakePresets.json) into its own build directory
# and runs its tests of one label; only the tests' targets are built.
#   bash scripts/test-variant.sh [PRESET] [LABEL]      (default: workshop screen)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${1:-workshop}"
label="${2:-screen}"
build="${GASECU_VARIANT_BUILD:-$root/build-$preset}"
"$root/scripts/install-deps.sh"
launcher=()
command -v ccache >/dev/null &&
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
(cd "$root" && cmake --preset "$preset" -B "$build" "${launcher[@]}" >/dev/null)
targets=$(cd "$build" && ctest -N -L "$label" | sed -n 's/^ *Test *#[0-9]*: //p')
# shellcheck disable=SC2086
cmake --build "$build" --parallel "$(nproc)" --target gasecu gasecu-cli $targets
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300 -L "$label"
