#!/usr/bin/env bash
# End-to-end: a private JACK server (dummy driver), zorel-virtual-pedal on
# it, and the RtMidi client talking to the pedal's ports. The pedal is run
# twice on one state file to show that what it stores survives a restart.
# Everything started here is stopped here, by process id.
set -euo pipefail

pedal=$1
client=$2

# shellcheck source=../../tools/jack-private.sh
. "$(dirname "$0")/../../tools/jack-private.sh"

work=$(mktemp -d)
name="ZorelE2E$$"
pedal_pid=""

cleanup() {
  [ -n "$pedal_pid" ] && kill "$pedal_pid" 2>/dev/null || true
  [ -n "$pedal_pid" ] && wait "$pedal_pid" 2>/dev/null || true
  jack_private_stop
  [ -n "${KEEP_E2E:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for f in "$work"/*.txt; do echo "--- $f"; cat "$f"; done
  exit 1
}

jack_private_start zorel-e2e "$work/jackd.txt" -r 48000 -p 1024 || fail "JACK server did not start"

start_pedal() {
  "$pedal" --api jack --name "$name" --state "$work/state.bin" --log "$work/log.txt" \
    >"$work/pedal-$1.txt" 2>&1 &
  pedal_pid=$!
  jack_private_wait_ports "$pedal_pid" "$name Out:MIDI Out" "$name:MIDI In" && return 0
  kill -0 "$pedal_pid" 2>/dev/null || fail "pedal exited at start"
  fail "pedal ports did not appear"
}

stop_pedal() {
  kill -TERM "$pedal_pid"
  local status=0
  wait "$pedal_pid" || status=$?
  pedal_pid=""
  [ "$status" -eq 0 ] || fail "pedal ended with status $status on SIGTERM"
  grep -q "stopped" "$work/pedal-$1.txt" || fail "pedal did not report a clean stop"
}

start_pedal first
grep -q "editor input port:  $name Out:MIDI Out" "$work/pedal-first.txt" ||
  fail "pedal did not print its port names"
"$client" "$name" fresh >"$work/client-first.txt" 2>&1 || fail "client (fresh)"
stop_pedal first
[ -s "$work/state.bin" ] || fail "no state file written"
grep -q "in   RequestSettings" "$work/log.txt" || fail "log misses the identity request"
grep -q "out  SettingsBlock .*F0 00 51 21 05 52 0B 0F" "$work/log.txt" ||
  fail "log misses the identity block"

start_pedal second
"$client" "$name" stored >"$work/client-second.txt" 2>&1 || fail "client (stored)"
stop_pedal second

cat "$work/client-first.txt" "$work/client-second.txt"
echo "e2e virtual pedal: passed"
