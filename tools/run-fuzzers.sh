#!/usr/bin/env bash
# Runs every libFuzzer target of a sanitizer build for the given seconds each.
# Usage: tools/run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail
build=${1:-build-asan}
seconds=${2:-300}
shopt -s nullglob
status=0
for fuzzer in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] && [ -f "$fuzzer" ] || continue
  corpus="$fuzzer"_corpus
  mkdir -p "$corpus"
  echo "== $(basename "$fuzzer") for ${seconds}s"
  "$fuzzer" -max_total_time="$seconds" -max_len=4096 "$corpus" || status=1
done
exit $status
