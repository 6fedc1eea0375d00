#!/usr/bin/env bash
# The end-to-end tests and the window test again and again under the
# sanitizers, with stress-ng loading both cores beside them, until one
# fails or ITERATIONS rounds pass: what shows only on a busy machine, once
# in many runs (a crash, a race, a time-out), shows here. A zorelctl that
# dies of a signal fails its test with the stacks from its core file; each
# round's output is kept in LOG_DIR.
#
#   tools/soak.sh [ITERATIONS] [LOG_DIR]    (make soak builds first)
#   SOAK_BUILDS="build-asan build-tsan"     the sanitizer builds to run in
set -euo pipefail
cd "$(dirname "$0")/.."
iterations=${1:-20}
logs=${2:-$(mktemp -d /tmp/zorel-soak-XXXXXX)}
builds=${SOAK_BUILDS:-build-asan build-tsan}
mkdir -p "$logs"
command -v stress-ng >/dev/null || { echo "stress-ng is missing (tools/install-deps.sh installs it)"; exit 1; }

stress-ng --cpu 2 --quiet &
load=$!
trap 'kill "$load" 2>/dev/null || true; wait "$load" 2>/dev/null || true' EXIT

start=$(date +%s)
for i in $(seq "$iterations"); do
  for b in $builds; do
    log="$logs/round-$i-$(basename "$b").txt"
    # The fault matrix measures the link rather than memory or threads.
    if (cd "$b" && ctest --output-on-failure -L 'e2e|gui' -LE matrix) >"$log" 2>&1; then
      echo "soak: round $i of $iterations in $b passed ($(($(date +%s) - start)) s so far)"
    else
      echo "soak: round $i in $b FAILED; its output is in $log"
      grep -E '^[0-9]+/[0-9]+ Test .*(Failed|Timeout|Exception)' "$log" || true
      exit 1
    fi
  done
done
echo "soak: $iterations rounds in $builds passed in $(($(date +%s) - start)) s; logs in $logs"
