#!/usr/bin/env bash
# Renders every screen against the simulator into docs/screens/ (offscreen).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
out="${1:-$root/docs/screens}"
"$root/scripts/build.sh"
ports="$(mktemp -d)"
"$build/tools/ecu-sim/gasecu-sim" --port 1 --ports-dir "$ports" </dev/null >/dev/null 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$ports"' EXIT
for _ in $(seq 50); do [ -e "$ports/com1" ] && break; sleep 0.1; done
cd "$(mktemp -d)" # no prconfig.txt: port 1
"$build/src/app/gasecu" --ports-dir "$ports" --port 1 --screenshots "$out"
