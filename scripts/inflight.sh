#!/usr/bin/env bash
# Replies in flight: gasecu-cli save 20 times, each time with 1..10 replies an
# earlier program left on the line, and every file compared with a save on a
# quiet line. Odd runs: the simulator's stale fault sends them as the port is
# opened. Even runs: a real earlier program writes its requests to the port
# and quits without reading, and the simulator is still answering them when
# the save starts. Prints "inflight: K of 20 identical"; exits non-zero unless
# all 20 are. Uses the programs of build/ (or $GASECU_BUILD), or $GASECU_SIM
# and $GASECU_CLI.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
sim="${GASECU_SIM:-$build/tools/ecu-sim/gasecu-sim}"
cli="${GASECU_CLI:-$build/src/cli/gasecu-cli}"
for program in "$sim" "$cli"; do
  [[ -x $program ]] || { echo "inflight: $program missing; build first" >&2; exit 2; }
done

work="$(mktemp -d)"
simpid=""
stop_sim() {
  if [[ -n $simpid ]]; then
    kill "$simpid" 2>/dev/null || true
    wait "$simpid" 2>/dev/null || true
    simpid=""
  fi
}
trap 'stop_sim; rm -rf "$work"' EXIT

# Starts the simulator on com1 of the work directory and waits for its port.
start_sim() {
  : >"$work/sim.out"
  "$sim" --port 1 --ports-dir "$work/ports" "$@" </dev/null >"$work/sim.out" &
  simpid=$!
  for _ in $(seq 100); do
    grep -q "port 1 on" "$work/sim.out" && return 0
    sleep 0.1
  done
  echo "inflight: the simulator did not start" >&2
  exit 2
}

save() {
  "$cli" save "$1" --force --port 1 --ports-dir "$work/ports" >/dev/null 2>"$work/cli.err" ||
    { sed 's/^/  /' "$work/cli.err" >&2; return 0; }
}

start_sim
save "$work/clean.fra"
stop_sim
[[ -s $work/clean.fra ]] || { echo "inflight: no clean save" >&2; exit 2; }

# What an earlier program asked last: live-area polls and configuration blocks.
requests=('@R000378C\r' '@R8013896\r' '@R8A737AC\r' '@RA15249F\r')

identical=0
for run in $(seq 20); do
  n=$(((run - 1) / 2 % 10 + 1))
  file="$work/run$run.fra"
  if ((run % 2)); then
    start_sim --seed "$run" --fault "stale=$n"
    how="stale=$n"
  else
    start_sim --seed "$run"
    lines=""
    for i in $(seq "$n"); do lines+="${requests[$(((run + i) % 4))]}"; done
    # shellcheck disable=SC2059 # the requests carry their own escapes
    printf "$lines" >"$work/ports/com1"
    how="$n requests of an earlier program"
  fi
  save "$file"
  stop_sim
  if cmp -s "$work/clean.fra" "$file"; then
    identical=$((identical + 1))
  else
    # "FichierMemoire:" then "XX." per byte from 0x800.
    byte=$(cmp "$work/clean.fra" "$file" 2>/dev/null | sed -n 's/.* byte \([0-9]*\),.*/\1/p' || true)
    if [[ -n $byte ]]; then
      printf 'inflight: run %d (%s): differs at 0x%X\n' "$run" "$how" $((0x800 + (byte - 16) / 3)) >&2
    else
      echo "inflight: run $run ($how): no file or a short one" >&2
    fi
  fi
done
echo "inflight: $identical of 20 identical"
((identical == 20))
