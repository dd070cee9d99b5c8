#!/usr/bin/env bash
# Runs each fuzz target for the given seconds on a copy of its seed corpus.
# Usage: run.sh BUILD_DIR SECONDS TARGET...
set -uo pipefail
build=$(cd "$1" && pwd)
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
failed=()
for target in "$@"; do
  work="$build/corpus/$target"
  mkdir -p "$work" "$build/artifacts/$target"
  echo "== fuzz_$target for ${seconds}s"
  "$build/fuzz_$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
    "$work" "$here/corpus/$target" >"$build/fuzz_$target.log" 2>&1
  status=$?
  grep -E "^stat::number_of_executed_units|^#[0-9]+ +DONE" "$build/fuzz_$target.log" | tail -2
  if [ $status -ne 0 ]; then
    failed+=("$target")
    tail -40 "$build/fuzz_$target.log"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: faults found by: ${failed[*]} (inputs in $build/artifacts/)"
  exit 1
fi
echo "fuzz: no faults in $*"
