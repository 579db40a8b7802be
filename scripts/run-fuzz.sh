#!/usr/bin/env bash
# run-fuzz.sh BUILD SECONDS: runs every fuzz target of BUILD for SECONDS on its seed corpus.
# New inputs go to BUILD/fuzz-corpus/<target>, crashes to BUILD/fuzz-findings/; the seeds in the
# repository are only read. Fails when a target finds a crash.
set -euo pipefail
build=$1
seconds=$2
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
for program in "$build"/fuzz/fuzz_*; do
  target=${program##*/fuzz_}
  work="$build/fuzz-corpus/$target"
  mkdir -p "$work" "$build/fuzz-findings"
  options=(-max_total_time="$seconds" -artifact_prefix="$build/fuzz-findings/$target-" -print_final_stats=1)
  if [ -f "$root/fuzz/dict/$target.dict" ]; then
    options+=(-dict="$root/fuzz/dict/$target.dict")
  fi
  echo "fuzz_$target: $seconds s"
  if ! "$program" "${options[@]}" "$work" "$root/fuzz/corpus/$target" >"$build/fuzz-$target.log" 2>&1; then
    tail -n 40 "$build/fuzz-$target.log"
    status=1
  fi
  grep -E '^#[0-9]+.*DONE|stat::number_of_executed_units' "$build/fuzz-$target.log" || true
done
exit $status
