#!/usr/bin/env bash
# Renders every screen against the simulator (offscreen): the described build
# into docs/screens/, the full workshop build into docs/screens/workshop/.
#   bash scripts/screenshots.sh [OUT]
# With GASECU_LANGUAGES="francais deutsch", the described build once more in
# each of those languages into OUT/lang/NAME/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
workshop="${GASECU_WORKSHOP_BUILD:-$root/build-workshop}"
out="${1:-$root/docs/screens}"
"$root/scripts/build.sh"

# render BUILD OUT [LANGUAGE-FILE]: one tour against a fresh simulator, from
# a start directory without prconfig.txt (port 1) or naming the language.
render() {
  local ports work sim status=0
  ports="$(mktemp -d)"
  work="$(mktemp -d)"
  # The simulator reads its console from a pipe the tour writes to: the
  # engine idles for the calibration and drives its road cycle for the map.
  mkfifo "$work/console"
  exec 3<>"$work/console"
  "$build/tools/ecu-sim/gasecu-sim" --port 1 --ports-dir "$ports" --warm <"$work/console" >/dev/null 2>&1 &
  sim=$!
  for _ in $(seq 50); do [ -e "$ports/com1" ] && break; sleep 0.1; done
  [ -n "${3:-}" ] && printf 'FichierConfig:]1]%s]]]]Fin\r\n' "$3" >"$work/prconfig.txt"
  (cd "$work" && GASECU_SIM_CONSOLE="$work/console" "$1/src/app/gasecu" --ports-dir "$ports" --port 1 --screenshots "$2") || status=$?
  kill "$sim" 2>/dev/null || true
  wait "$sim" 2>/dev/null || true
  exec 3>&-
  rm -rf "$ports" "$work"
  return "$status"
}

render "$build" "$out"
for name in ${GASECU_LANGUAGES:-}; do
  render "$build" "$out/lang/$name" "$root/languages/$name.lng"
done
GASECU_BUILD="$workshop" GASECU_TARGETS=gasecu "$root/scripts/build.sh" --preset workshop
render "$workshop" "$out/workshop"
