#!/usr/bin/env bash
# Configures and builds everything into build/ (or $GASECU_BUILD).
# Extra arguments go to cmake's configure step (e.g. -DGASECU_BRAND=1).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${GASECU_BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
