#!/usr/bin/env bash
# Runs every benchmark in build/bin and prints their medians.
set -euo pipefail
cd "$(dirname "$0")/.."
for b in build/bin/vk_bench_*; do
  echo "== $(basename "$b")"
  "$b" --benchmark_report_aggregates_only=true 2>&1 | grep -E '^(BM_|-|Benchmark)|median' || true
done
