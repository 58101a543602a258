#!/usr/bin/env bash
# Builds the libFuzzer harnesses (fuzz preset, clang) and runs each one for a bounded time:
# DECOR_FUZZ_SECONDS (default 20) per harness. The committed seeds in fuzz/corpus/<name>/
# are read but never written; what a run finds goes to build/fuzz/corpus/<name>/, and an input
# that breaks a harness to build/fuzz/artifacts/, where the failure message names it.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${DECOR_FUZZ_SECONDS:-20}"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ not installed, harnesses skipped"
  exit 0
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/artifacts
failed=()
for seeds in fuzz/corpus/*/; do
  name="$(basename "$seeds")"
  work="build/fuzz/corpus/$name"
  mkdir -p "$work"
  log="build/fuzz/$name.log"
  if build/fuzz/fuzz/"${name}_fuzz" "$work" "$seeds" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/"$name"- >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "fuzz: $name: ${runs:-?} executions in ${seconds} s, nothing found"
  else
    echo "fuzz: $name FAILED; the last lines of $log:"
    tail -n 30 "$log"
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: failing harnesses: ${failed[*]}" >&2
  exit 1
fi
