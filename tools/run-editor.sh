#!/usr/bin/env bash
# `make run`: the ZorelControl window on the pedal of settings.ini, or, when
# none is configured there, on a virtual pedal started for the purpose (with
# a private JACK server when the machine has neither an ALSA sequencer nor a
# running JACK server). Closing the window stops what this script started,
# by process id. Without a display it says so and runs `zorelctl status`
# instead. Extra arguments go to the program that runs (zorelcontrol, or
# zorelctl before its command, for example --timeout 30).
set -euo pipefail
cd "$(dirname "$0")/.."

ctl=./build/app/zorelctl
window=./build/app/zorelcontrol
pedal=./build/sim/program/zorel-virtual-pedal
root=${ZOREL_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/ZorelControl}
settings="$root/settings.ini"

# The value of KEY in section [midi] of settings.ini ("" when absent).
midi_port() {
  [ -f "$settings" ] || return 0
  awk -v key="$1" '
    /^[ \t]*\[/ { in_midi = tolower($0) ~ /^[ \t]*\[midi\]/; next }
    in_midi { split($0, kv, "="); k = kv[1]; gsub(/[ \t]/, "", k)
              if (tolower(k) == key) { sub(/^[^=]*=[ \t]*/, ""); sub(/[ \t\r]*$/, ""); print; exit } }
  ' "$settings"
}

gui=1
if ! "$window" --check-display 2>/dev/null; then
  gui=0
  echo "No display to open the window on (DISPLAY / WAYLAND_DISPLAY is not set or not reachable):"
  echo "running \"zorelctl status\" instead"
fi

in_port=$(midi_port indev)
out_port=$(midi_port outdev)
if [ -n "$in_port" ] && [ "$in_port" != off ] && [ -n "$out_port" ] && [ "$out_port" != off ]; then
  echo "Using the pedal of $settings: $in_port / $out_port"
  [ "$gui" = 1 ] && exec "$window" "$@"
  exec "$ctl" "$@" status
fi

# shellcheck source=jack-private.sh
. tools/jack-private.sh

work=$(mktemp -d)
pedal_pid=""
cleanup() {
  if [ -n "$pedal_pid" ]; then
    kill "$pedal_pid" 2>/dev/null || true
    wait "$pedal_pid" 2>/dev/null || true
  fi
  jack_private_stop
  rm -rf "$work"
}
trap cleanup EXIT

if [ -r /dev/snd/seq ] && [ -w /dev/snd/seq ]; then
  api=alsa
else
  api=jack
  export JACK_NO_START_SERVER=1
  if ! jack_lsp >/dev/null 2>&1; then
    echo "No ALSA sequencer and no JACK server: starting a JACK server with the dummy driver"
    jack_private_start zorel-run "$work/jackd.txt" -r 48000 -p 1024 || { cat "$work/jackd.txt"; exit 1; }
  fi
fi

echo "No pedal in $settings: starting the virtual pedal"
"$pedal" --api "$api" --name "ZorelVirtual$$" --state "$work/pedal.state" >"$work/pedal.txt" 2>&1 &
pedal_pid=$!
for _ in $(seq 100); do
  grep -q "editor output port:" "$work/pedal.txt" 2>/dev/null && break
  kill -0 "$pedal_pid" 2>/dev/null || { cat "$work/pedal.txt"; exit 1; }
  sleep 0.1
done
in_port=$(sed -n 's/^  editor input port:  //p' "$work/pedal.txt")
out_port=$(sed -n 's/^  editor output port: //p' "$work/pedal.txt")
[ -n "$in_port" ] && [ -n "$out_port" ] || { cat "$work/pedal.txt"; exit 1; }
echo "Virtual pedal on $in_port / $out_port"

if [ "$gui" = 1 ]; then
  # Not exec: when the window closes, the pedal (and JACK) stop with it.
  "$window" --api "$api" --in "$in_port" --out "$out_port" "$@"
else
  "$ctl" --api "$api" --in "$in_port" --out "$out_port" "$@" status
fi
