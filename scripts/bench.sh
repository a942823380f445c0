#!/usr/bin/env bash
# Builds the benchmarks optimised and without sanitizers, runs them, and writes their figures
# to build/bench/results.txt with the machine they came from.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/bootstrap.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target scan_benchmark
results=build/bench/results.txt
{
  echo "# $(date -u +%Y-%m-%d) on $(nproc) cores: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
  build/bench/bench/scan_benchmark --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
} | tee "$results"
