#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, ASan, UBSan) and runs every fuzz target of
# tests/fuzz for a bounded time from its committed seed corpus, with a fixed seed.
#   scripts/fuzz.sh             5 seconds per target (the test command's run)
#   scripts/fuzz.sh --long N    N seconds per target
# The corpus is copied to build/fuzz/work first, so what a run adds never changes the
# committed seeds; crash and timeout inputs land in build/fuzz/findings/<target>/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

seconds=5
if [ "${1:-}" = "--long" ]; then
  seconds=${2:?"--long needs a number of seconds"}
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

targets=(ansi_text folder_path_checks trusted_paths_value acad_scan installation_record
         trusted_folder_removal)
status=0
for target in "${targets[@]}"; do
  work=build/fuzz/work/$target
  findings=build/fuzz/findings/$target
  rm -rf "$work"
  mkdir -p "$work" "$findings"
  cp tests/fuzz/corpus/"$target"/* "$work"/
  log=build/fuzz/$target.log
  echo "fuzz: $target for ${seconds}s"
  # -timeout: an input that runs this long is a hang. A failed property aborts; libFuzzer
  # then writes the input to the findings folder and stops with a non-zero status.
  if ! build/fuzz/tests/fuzz/"${target}_fuzz" -seed=1 -max_total_time="$seconds" -timeout=20 \
      -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$findings/" "$work" >"$log" 2>&1; then
    echo "fuzz: $target FAILED; see $log and $findings/"
    grep -E 'property failed|ERROR:|SUMMARY' "$log" | head -5 || true
    status=1
    continue
  fi
  # The figures: executions, their rate, and the coverage the last report line shows.
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  coverage=$(grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+' "$log" | tail -1 || true)
  echo "fuzz: $target ok: $runs runs, $rate exec/s, $coverage"
done
exit $status
