#!/usr/bin/env bash
# The noisy-line soak: the tool's core against the ECU simulator for MINUTES
# (default 60) at 9600 baud with 1 % of replies garbled, split or joined and
# an occasional silent spell. Prints "name value" figures; exits non-zero when
# a byte went wrong, an operation hung or the soak crashed.
# scripts/unplug.sh runs the unplug cycles through here.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
args=(--minutes "${1:-60}")
[ "${1:-}" = "--unplug-cycles" ] && args=("$@")
"$root/scripts/install-deps.sh"
[ -f "$build/build.ninja" ] || GASECU_BUILD="$build" "$root/scripts/build.sh" >/dev/null
cmake --build "$build" --target gasecu-soak >/dev/null || exit 2
"$build/bench/gasecu-soak" "${args[@]}"
rc=$?
# Died by a signal: the figures stop where it crashed.
[ "$rc" -gt 128 ] && echo "crashes 1"
exit "$rc"
