#!/usr/bin/env bash
# Builds one variant preset (CMakePresets.json) into its own build directory
# and runs its tests of one label; only the tests' targets are built.
#   bash scripts/test-variant.sh [PRESET] [LABEL]      (default: workshop screen)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
preset="${1:-workshop}"
label="${2:-screen}"
build="${GASECU_VARIANT_BUILD:-$root/build-$preset}"
GASECU_BUILD="$build" GASECU_TARGETS="gasecu gasecu-cli" "$root/scripts/build.sh" --preset "$preset"
targets=$(cd "$build" && ctest -N -L "$label" | sed -n 's/^ *Test *#[0-9]*: //p')
# shellcheck disable=SC2086
GASECU_BUILD="$build" GASECU_TARGETS="$targets" "$root/scripts/build.sh" --preset "$preset"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300 -L "$label"
