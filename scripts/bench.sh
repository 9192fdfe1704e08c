#!/usr/bin/env bash
# Runs every benchmark in build/bin and prints the median of each stage.
# Google Benchmark programs repeat each case 5 times and report the median;
# the others (vk_bench_chain) time their stages themselves and print medians.
set -euo pipefail
cd "$(dirname "$0")/.."
for b in build/bin/vk_bench_*; do
  echo "== $(basename "$b")"
  if ldd "$b" | grep -q libbenchmark; then
    "$b" 2>&1 | grep -E '^(Benchmark|-)|_median' || true
  else
    "$b"
  fi
done
