#!/usr/bin/env bash
# A whole `zorelctl status` against a pedal whose presets are all cached,
# beside a minimal client that sends the same requests, each as soon as the
# answer before it arrives (status_client.cpp), on one private JACK server
# with the dummy driver and the virtual pedal. Both are whole programs,
# started and timed the same way, alternating, RUNS times each; the medians
# and their ratio are printed. Three cases: a status with every preset
# cached, a sync of all 128 presets (an empty cache, a pedal that answers
# at once) and the same sync from a pedal that paces its bytes at the MIDI
# wire's 31250 baud.
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
pedal_pids=()
cleanup() {
  for p in "${pedal_pids[@]}"; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null || true; done
  jack_private_stop
  rm -rf "$work"
}
trap cleanup EXIT

jack_private_start zorel-bench-status "$work/jackd.txt" -r 48000 -p 256 ||
  { echo "no JACK server" >&2; exit 1; }
start_pedal() { # start_pedal NAME [OPTIONS...]
  local name=$1
  shift
  "$pedal" --api jack --name "$name" --state "$work/$name.state" "$@" >"$work/$name.txt" 2>&1 &
  pedal_pids+=($!)
  jack_private_wait_ports "$!" "$name Out:MIDI Out" "$name:MIDI In" ||
    { echo "the pedal's ports did not appear" >&2; exit 1; }
}
start_pedal ZorelStatus
start_pedal ZorelWire --wire

elapsed_ms() { # elapsed_ms COMMAND...: the command's wall time; fails with it
  local start
  start=$(date +%s%N)
  "$@" >"$work/run.txt" 2>&1 || { cat "$work/run.txt" >&2; echo "failed: $*" >&2; return 1; }
  echo $((($(date +%s%N) - start) / 1000000))
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# zorelctl on pedal NAME: a cached status, or a sync (a new library each run).
ctl_run() { # ctl_run PROGRAM NAME cached|sync
  local home="$work/home-$2"
  [ "$3" = sync ] && home="$work/home-sync-$RANDOM"
  ZOREL_HOME=$home elapsed_ms "$1" --api jack --in "$2 Out:MIDI Out" --out "$2:MIDI In" \
    --timeout 60 status
}
client_run() { # client_run NAME cached|sync
  if [ "$2" = sync ]; then elapsed_ms "$client" --sync "$1"; else elapsed_ms "$client" "$1"; fi
}

bench_case() { # bench_case TITLE NAME cached|sync
  local ctl=() client_ms=() before=() m_ctl m_client m_before
  # A cached status needs the cache filled once.
  [ "$3" = cached ] && { ctl_run "$zorelctl" "$2" sync >/dev/null ||
    { echo "the first status failed" >&2; exit 1; }; }
  for _ in $(seq "$runs"); do
    ctl+=("$(ctl_run "$zorelctl" "$2" "$3")")
    client_ms+=("$(client_run "$2" "$3")")
    [ -n "${ZORELCTL_BEFORE:-}" ] && before+=("$(ctl_run "$ZORELCTL_BEFORE" "$2" "$3")")
  done
  m_ctl=$(printf '%s\n' "${ctl[@]}" | median)
  m_client=$(printf '%s\n' "${client_ms[@]}" | median)
  echo "$1"
  echo "  zorelctl:       median $m_ctl ms (runs: ${ctl[*]})"
  echo "  minimal client: median $m_client ms (runs: ${client_ms[*]})"
  awk -v a="$m_ctl" -v b="$m_client" 'BEGIN { printf "  ratio: %.2f x\n", a / b }'
  if [ -n "${ZORELCTL_BEFORE:-}" ]; then
    m_before=$(printf '%s\n' "${before[@]}" | median)
    echo "  older zorelctl: median $m_before ms (runs: ${before[*]})"
    awk -v a="$m_before" -v b="$m_client" 'BEGIN { printf "  older ratio: %.2f x\n", a / b }'
  fi
}

bench_case "status, all presets cached (target 1.3 x):" ZorelStatus cached
bench_case "sync of 128 presets, a pedal that answers at once (target 1.2 x):" ZorelStatus sync
bench_case "sync of 128 presets at the 31250-baud wire (target 1.01 x):" ZorelWire sync
