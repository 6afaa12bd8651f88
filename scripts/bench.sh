#!/usr/bin/env bash
# Runs gasecu-bench against the simulator (about 2 1/2 minutes) and prints
# each figure beside its limit and the README's "Benchmark figures" table.
# Extra arguments go to gasecu-bench: --calibration adds the idle
# calibration (about 40 s more), --rounds 8 tightens the monitor's ratios.
# The JSON stays in $build/bench/figures.json. Exits non-zero when the bench
# failed or a figure is outside its limit.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${GASECU_BUILD:-$root/build}"
# The table is drawn by a few lines of Python.
"$root/scripts/install-deps.sh" python3
[ -f "$build/build.ninja" ] || GASECU_BUILD="$build" "$root/scripts/build.sh" >/dev/null
cmake --build "$build" --target gasecu-bench gasecu-sim gasecu-cli >/dev/null || exit 2
json="$build/bench/figures.json"
"$build/bench/gasecu-bench" --json "$json" "$@" || exit 1
python3 - "$json" "$root/README.md" <<'PY'
import json, re, sys

figures = json.load(open(sys.argv[1]))["figures"]
readme = {}
for line in open(sys.argv[2], encoding="utf-8"):
    m = re.match(r"\|\s*`([a-z0-9_]+)`\s*\|[^|]*\|[^|]*\|\s*([^|]*?)\s*\|\s*$", line)
    if m:
        readme[m.group(1)] = m.group(2)

def limit(f):
    if "limit" not in f:
        return ""
    return ("<= " if f["limit_kind"] == "at_most" else ">= ") + "%.4g" % f["limit"]

rows = [("figure", "limit", "median", "+/-", "n", "README", "")]
outside = 0
for f in figures:
    ok = f.get("within_limit", True)
    outside += not ok
    rows.append((f["name"], limit(f), "%.4g" % f["median"], "%.2g" % f["spread"],
                 str(f["samples"]), readme.get(f["name"], "-"), "" if ok else "OUTSIDE"))
widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
for r in rows:
    print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
sys.exit(1 if outside else 0)
PY
