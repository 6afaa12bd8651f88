#!/usr/bin/env bash
# Unplug cycles: CYCLES times (default 50) the simulator's adapter is pulled
# out while the tool is idle, polling, reading or uploading, then plugged
# back in and read again. Prints "name value" figures (messages, hangs, the
# tool's CPU while unplugged, correct reads); exits non-zero on a failure.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
cycles="${1:-50}"
"$root/scripts/install-deps.sh"
[ -f "$build/build.ninja" ] || GASECU_BUILD="$build" "$root/scripts/build.sh" >/dev/null
cmake --build "$build" --target gasecu-soak >/dev/null || exit 2
"$build/bench/gasecu-soak" --unplug-cycles "$cycles"
rc=$?
[ "$rc" -gt 128 ] && echo "crashes 1"
exit "$rc"
