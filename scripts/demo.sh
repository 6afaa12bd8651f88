#!/usr/bin/env bash
# Builds everything, starts the ECU simulator on COM 1 in a temporary port
# directory and starts the tool on it. Closing the tool stops the simulator.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
"$root/scripts/build.sh"

ports="$(mktemp -d)"
sim_out="$ports/sim.out"
"$build/tools/ecu-sim/gasecu-sim" --port 1 --ports-dir "$ports" </dev/null >"$sim_out" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$ports"' EXIT
for _ in $(seq 50); do
  [ -e "$ports/com1" ] && break
  kill -0 "$sim" 2>/dev/null || { cat "$sim_out" >&2; exit 1; }
  sleep 0.1
done
cat "$sim_out"
"$build/src/app/gasecu" --ports-dir "$ports" --port 1 "$@"
