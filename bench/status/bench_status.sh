#!/usr/bin/env bash
# A whole `zorelctl status` against a pedal whose presets are all cached,
# beside a minimal client that sends the same requests, each as soon as the
# answer before it arrives (status_client.cpp), on one private JACK server
# with the dummy driver and the virtual pedal. Both are whole programs,
# started and timed the same way, alternating, RUNS times each; the medians
# and their ratio are printed (target: zorelctl within 2 x the client).
# Everything started here is stopped here, by process id.
#
#   bench/status/bench_status.sh [BUILD_DIR] [RUNS]
#   ZORELCTL_BEFORE=/path/to/older/zorelctl  also times an older zorelctl
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-9}
zorelctl=$build/app/zorelctl
client=$build/bench/status_client
pedal=$build/sim/program/zorel-virtual-pedal
for p in "$zorelctl" "$client" "$pedal"; do
  [ -x "$p" ] || { echo "missing $p: build zorelctl, status_client and zorel-virtual-pedal" >&2; exit 1; }
done

# shellcheck source=../../tools/jack-private.sh
. tools/jack-private.sh

work=$(mktemp -d)
pedal_pid=""
cleanup() {
  [ -n "$pedal_pid" ] && kill "$pedal_pid" 2>/dev/null && wait "$pedal_pid" 2>/dev/null || true
  jack_private_stop
  rm -rf "$work"
}
trap cleanup EXIT

jack_private_start zorel-bench-status "$work/jackd.txt" -r 48000 -p 256 ||
  { echo "no JACK server" >&2; exit 1; }
name=ZorelStatus
"$pedal" --api jack --name "$name" --state "$work/pedal.state" >"$work/pedal.txt" 2>&1 &
pedal_pid=$!
jack_private_wait_ports "$pedal_pid" "$name Out:MIDI Out" "$name:MIDI In" ||
  { echo "the pedal's ports did not appear" >&2; exit 1; }
ports=(--api jack --in "$name Out:MIDI Out" --out "$name:MIDI In")
export ZOREL_HOME="$work/home"

# The first status reads all 128 presets into the cache; later ones only
# the current preset.
"$zorelctl" "${ports[@]}" --timeout 60 status >"$work/first.txt" 2>&1 ||
  { cat "$work/first.txt"; echo "the first status failed" >&2; exit 1; }

elapsed_ms() { # elapsed_ms COMMAND...: the command's wall time; fails with it
  local start
  start=$(date +%s%N)
  "$@" >"$work/run.txt" 2>&1 || { cat "$work/run.txt" >&2; echo "failed: $*" >&2; return 1; }
  echo $((($(date +%s%N) - start) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

ctl=() client_ms=() before=()
for _ in $(seq "$runs"); do
  ctl+=("$(elapsed_ms "$zorelctl" "${ports[@]}" status)")
  client_ms+=("$(elapsed_ms "$client" "$name")")
  if [ -n "${ZORELCTL_BEFORE:-}" ]; then
    before+=("$(elapsed_ms "$ZORELCTL_BEFORE" "${ports[@]}" status)")
  fi
done
m_ctl=$(printf '%s\n' "${ctl[@]}" | median)
m_client=$(printf '%s\n' "${client_ms[@]}" | median)
echo "zorelctl status, all presets cached: median $m_ctl ms (runs: ${ctl[*]})"
echo "minimal client, same requests:       median $m_client ms (runs: ${client_ms[*]})"
awk -v a="$m_ctl" -v b="$m_client" 'BEGIN { printf "ratio: %.2f x (target: within 2 x)\n", a / b }'
if [ -n "${ZORELCTL_BEFORE:-}" ]; then
  m_before=$(printf '%s\n' "${before[@]}" | median)
  echo "older zorelctl status:               median $m_before ms (runs: ${before[*]})"
  awk -v a="$m_before" -v b="$m_client" 'BEGIN { printf "older ratio: %.2f x\n", a / b }'
fi
