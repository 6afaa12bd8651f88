#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ (or $GASECU_FUZZ_BUILD) and
# runs each for SECONDS (default 60), starting from its seed corpus in
# fuzz/corpus/. Prints two figures a target:
#   fuzz_<target>_execs N             inputs run
#   fuzz_<target>_execs_per_second N  their rate
# Exits 1 when a target crashed; the input is kept in build-fuzz/artifacts/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
build="${GASECU_FUZZ_BUILD:-$root/build-fuzz}"
"$root/scripts/install-fuzz-deps.sh"

launcher=()
command -v ccache >/dev/null &&
  launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=1;ccache")
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGASECU_FUZZ=ON -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null

mapfile -t targets < <(cd "$root/fuzz/corpus" && ls)
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

failed=0
mkdir -p "$build/artifacts"
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  mkdir -p "$work"
  log="$build/fuzz_$t.log"
  # New inputs go to the work corpus; the seeds in the repository stay as they are.
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" \
      "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1; then
    echo "fuzz: $t crashed; see $log and $build/artifacts/" >&2
    tail -n 40 "$log" >&2
    failed=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  echo "fuzz_${t}_execs ${execs:-0}"
  echo "fuzz_${t}_execs_per_second ${rate:-0}"
done
exit "$failed"
