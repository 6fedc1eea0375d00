#!/usr/bin/env bash
# The real zorelcontrol under Xvfb, connected to the virtual pedal over a
# private JACK server:
#   - exec to first frame drawn, side by side with a bare GTK 3 window (menu
#     bar, 960 x 600 drawing area), alternating, RUNS times each (median);
#   - idle CPU over 10 s, connected, nothing happening;
#   - resident memory then;
#   - one full redraw on screen (mean and best of 50).
# Everything started here is stopped here, by process id.
#
#   bench/window/bench_window.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
runs=${2:-7}
program=$build/app/zorelcontrol
bare=$build/bench/window_bare
probe=$build/bench/window_probe
pedal=$build/sim/program/zorel-virtual-pedal

# shellcheck source=../../tools/jack-private.sh
. tools/jack-private.sh
# shellcheck source=../../tools/xvfb-private.sh
. tools/xvfb-private.sh

work=$(mktemp -d)
pedal_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null || true
  [ -n "$pedal_pid" ] && kill "$pedal_pid" 2>/dev/null && wait "$pedal_pid" 2>/dev/null || true
  jack_private_stop
  xvfb_private_stop
  rm -rf "$work"
}
trap cleanup EXIT

xvfb_private_start "$work/xvfb.txt" || { echo "Xvfb did not start"; exit 1; }
export ZOREL_HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$ZOREL_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

jack_private_start zorel-bench "$work/jackd.txt" -r 48000 -p 1024 || { echo "no JACK server"; exit 1; }
"$pedal" --api jack --name ZorelBench >"$work/pedal.txt" 2>&1 &
pedal_pid=$!
jack_private_wait_ports "$pedal_pid" "ZorelBench Out:MIDI Out" "ZorelBench:MIDI In" ||
  { echo "the pedal's ports did not appear"; exit 1; }
ports=(--api jack --in "ZorelBench Out:MIDI Out" --out "ZorelBench:MIDI In")

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# A first start fills the library (factory IRs, manual); the timed ones find
# it there, as every later start does.
"$probe" first-frame "$program" "${ports[@]}" >/dev/null
for _ in $(seq "$runs"); do
  "$probe" first-frame "$bare" >>"$work/bare.txt"
  "$probe" first-frame "$program" "${ports[@]}" >>"$work/zorel.txt"
done
bare_ms=$(median <"$work/bare.txt")
zorel_ms=$(median <"$work/zorel.txt")
echo "exec to first frame (median of $runs): zorelcontrol $zorel_ms ms, bare GTK window $bare_ms ms" \
  "($(awk -v a="$zorel_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", a / b }') x)"

"$program" "${ports[@]}" >"$work/app.txt" 2>&1 &
app_pid=$!
connected() { "$probe" ask state 2>/dev/null | grep '^editor connected 1' >/dev/null; }
for _ in $(seq 300); do connected && break; sleep 0.1; done
connected || { echo "the window did not connect"; exit 1; }
# The bulk read and what follows it end in silence on the link.
sleep 8

ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
hz=$(getconf CLK_TCK)
per_thread() { for t in /proc/"$app_pid"/task/*; do echo "${t##*/} $(awk '{ print $14 + $15 }' "$t/stat")"; done; }
per_thread >"$work/threads0.txt"
t0=$(ticks)
sleep 10
t1=$(ticks)
per_thread >"$work/threads1.txt"
# The user-interface thread is the process's own id; the others are the
# audio callback, RtMidi's and JACK's threads.
ui_ticks=$(join "$work/threads0.txt" "$work/threads1.txt" | awk -v ui="$app_pid" '$1 == ui { print $3 - $2 }')
echo "idle CPU over 10 s, connected: $(awk -v d=$((t1 - t0)) -v hz="$hz" 'BEGIN { printf "%.2f", d / hz / 10 * 100 }') % of a core" \
  "(user-interface thread $(awk -v d="$ui_ticks" -v hz="$hz" 'BEGIN { printf "%.2f", d / hz / 10 * 100 }') %," \
  "the rest audio, MIDI and JACK threads)"
# JACK's shared memory is the server's, mapped into every client; it is
# shown apart, with the window's own share (PSS) of everything.
jack_kb=$(awk '/^[0-9a-f]+-[0-9a-f]+ / { jack = ($6 ~ /^\/dev\/shm\/jack/) } /^Rss:/ && jack { k += $2 } END { print k + 0 }' "/proc/$app_pid/smaps")
rss_kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$app_pid/status")
echo "resident memory: $(awk -v r="$rss_kb" -v j="$jack_kb" 'BEGIN { printf "%.1f MB, of which %.1f MB JACK shared memory (%.1f MB without it)", r / 1024, j / 1024, (r - j) / 1024 }');" \
  "PSS $(awk '/^Pss:/ { printf "%.1f MB", $2 / 1024 }' "/proc/$app_pid/smaps_rollup")," \
  "anonymous $(awk '/^Anonymous:/ { printf "%.1f MB", $2 / 1024 }' "/proc/$app_pid/smaps_rollup")"
echo "full redraw on screen: $("$probe" ask "redraw-time 50")"
