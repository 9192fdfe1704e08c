#!/usr/bin/env bash
# Runs every libFuzzer target of build-fuzz for FUZZ_SECONDS seconds each
# (default 60), starting from the committed seeds in fuzz/corpus/<target>.
# New inputs go to build-fuzz/corpus/<target>, findings (crashes, leaks,
# timeouts, out-of-memory) to build-fuzz/findings/<target>. Prints one line
# per target with its executions and findings; exits 1 when any target found
# something.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
bin=build-fuzz/bin
failed=0
printf '%-22s %12s %9s\n' target executions findings
for seeds in fuzz/corpus/*/; do
  name=$(basename "$seeds")
  exe=$bin/fuzz_$name
  [ -x "$exe" ] || { echo "fuzz: $exe is missing (cmake --build --preset fuzz)" >&2; exit 2; }
  work=build-fuzz/corpus/$name
  findings=build-fuzz/findings/$name
  log=build-fuzz/findings/$name.log
  mkdir -p "$work" "$findings"
  "$exe" "$work" "$seeds" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$findings" -type f | wc -l)
  printf '%-22s %12s %9s\n' "$name" "${runs:-?}" "$found"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    echo "fuzz: $name failed (exit $rc), see $log:" >&2
    grep -m5 -E 'ERROR|SUMMARY|runtime error' "$log" >&2
  fi
done
exit $failed
