#!/usr/bin/env bash
# Builds the benchmarks optimised and without sanitizers, runs them, and writes their figures
# to build/bench/results.txt with the machine they came from:
#   native  the start-up scan per registry key and the TRUSTEDPATHS update per profile, over
#           the in-memory registry (Google Benchmark)
#   Wine    start-up and installation against their floors (scripts/bench-wine.sh), unless
#           --native-only is given
# The figures are printed, never judged.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
native_only=0
if [ "${1:-}" = --native-only ]; then
  native_only=1
fi
scripts/bootstrap.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target scan_benchmark trusted_paths_benchmark
results=build/bench/results.txt
{
  echo "# Native benchmarks, $(date -u +%Y-%m-%d)"
  echo "# machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
  echo "# load average when they began: $(cut -d" " -f1-3 /proc/loadavg)"
  for benchmark in scan_benchmark trusted_paths_benchmark; do
    build/bench/bench/$benchmark --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
  done
} | tee "$results"
if [ "$native_only" = 0 ]; then
  scripts/bench-wine.sh
  { echo; cat build/bench/results-wine.txt; } >>"$results"
fi
