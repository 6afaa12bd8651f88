#!/usr/bin/env bash
# Configures and builds everything into build/ (or $GASECU_BUILD).
# Extra arguments go to cmake's configure step (e.g. -DGASECU_BRAND=1 or
# --preset workshop).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
"$root/scripts/install-deps.sh"
# ccache keeps rebuilds of other checkouts and build directories cheap.
launcher=()
command -v ccache >/dev/null &&
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${GASECU_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" "$@" >/dev/null
# GASECU_TARGETS="a b": build only those targets.
# shellcheck disable=SC2086
cmake --build "$build" --parallel "$(nproc)" ${GASECU_TARGETS:+--target $GASECU_TARGETS}
