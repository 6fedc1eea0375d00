#!/usr/bin/env bash
# The window under Xvfb: PROGRAM (zorelcontrol) against zorel-virtual-pedal
# over a private JACK server, driven with xdotool and read through
# `PROGRAM --dump-state` (the running window's controls and texts), never
# through pixels. Everything started here is stopped here, by process id.
#
#   run_window_test.sh PROGRAM PEDAL PEDAL_NAMES SCREENSHOT ROWS [SHOTS_DIR]
#
# ROWS: how many of the pedal's program names must be on the surface.
# SHOTS_DIR: where to write screenshots (connected, panel, Preferences, its
# link check, snapshots, settings page, File menu); none when absent. Exit 77 (skipped) when Xvfb cannot start.
set -euo pipefail

program=$1
pedal=$2
pedal_names=$3
screenshot=$4
rows=$5
shots=${6:-}

# shellcheck source=../../tools/jack-private.sh
. "$(dirname "$0")/../../tools/jack-private.sh"
# shellcheck source=../../tools/xvfb-private.sh
. "$(dirname "$0")/../../tools/xvfb-private.sh"

work=$(mktemp -d)
pedal_pid=""
app_pid=""

stop_pid() { # stop_pid PID: asked to end, then, after 10 s, made to
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

cleanup() {
  stop_pid "$app_pid"
  stop_pid "$pedal_pid"
  jack_private_stop
  xvfb_private_stop
  [ -n "${KEEP_GUI:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  # What the window showed, for whoever reads the failure.
  [ -z "${app_pid:-}" ] || { state >"$work/state-at-failure.txt" 2>&1 || true; }
  for f in "$work"/*.txt; do [ -f "$f" ] && { echo "--- $f"; tail -n 20 "$f" | cut -c1-160; }; done
  [ -z "$shots" ] || shot failure 2>/dev/null || true
  exit 1
}

command -v xdotool >/dev/null || fail "xdotool is missing (tools/install-deps.sh installs it)"

# ---- the display ---------------------------------------------------------------
if ! xvfb_private_start "$work/xvfb-log.txt"; then
  echo "SKIP: Xvfb did not start"
  cat "$work/xvfb-log.txt"
  exit 77
fi
export ZOREL_HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$ZOREL_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS # the single instance needs no session bus

# ---- JACK and the pedal ---------------------------------------------------------
# A period that is not a multiple of 64 frames: the window's audio stream
# then runs its 64-frame sub-blocks across the JACK buffers.
jack_private_start zorel-gui "$work/jackd.txt" -r 48000 -p 1000 || fail "JACK server did not start"
"$pedal" --api jack --name ZorelGui --log "$work/pedal-log.txt" >"$work/pedal.txt" 2>&1 &
pedal_pid=$!
jack_private_wait_ports "$pedal_pid" "ZorelGui Out:MIDI Out" "ZorelGui:MIDI In" ||
  fail "the pedal's ports did not appear"

# ---- helpers ---------------------------------------------------------------------
state() { "$program" --dump-state 2>/dev/null || true; }
field() { # field LINE-KEY NAME: the value after NAME on the first line starting with LINE-KEY
  state | awk -v k="$1" -v n="$2" '$1 == k { for (i = 2; i < NF; i++) if ($i == n) { print $(i + 1); exit } }'
}
wait_for() { # wait_for SECONDS DESCRIPTION COMMAND...
  local seconds=$1 what=$2
  shift 2
  for _ in $(seq $((seconds * 10))); do
    "$@" && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "the window ended while waiting for: $what"
    sleep 0.1
  done
  fail "timed out waiting for: $what"
}
shot() { [ -z "$shots" ] || "$screenshot" "$shots/$1.png" "$(field window x)" "$(field window y)" \
  "$(field window width)" "$(field window height)"; }
main_window() { xdotool search --name '^ZorelControl$' | head -n1; }
# (No window manager runs here, so focus is set directly.)
focus_main() { xdotool windowfocus --sync "$(main_window)" >/dev/null 2>&1 || true; }
pedal_got() { grep -aq "$1" "$work/pedal-log.txt"; }
quiet_pedal() { # the pedal's log has not grown for a second
  local a b
  a=$(wc -c <"$work/pedal-log.txt")
  sleep 1
  b=$(wc -c <"$work/pedal-log.txt")
  [ "$a" = "$b" ]
}

# ---- start ------------------------------------------------------------------------
"$program" --api jack --in "ZorelGui Out:MIDI Out" --out "ZorelGui:MIDI In" --monitor \
  >"$work/app.txt" 2>&1 &
app_pid=$!
window_shown() { state | grep -q '^window '; }
wait_for 20 "the window" window_shown

title=$(state | sed -n 's/^window "\([^"]*\)".*/\1/p')
[ "$title" = "ZorelControl" ] || fail "window title \"$title\""
xdotool search --name '^ZorelControl$' >/dev/null || fail "no X window titled ZorelControl"
width=$(field window width)
height=$(field window height)
x=$(field window x)
y=$(field window y)
[ "$width" = 960 ] || fail "window width $width at the default scale, expected 960"
[ "$(field surface scale)" = "0.5000" ] || fail "scale $(field surface scale), expected 0.5"
[ "$x" = $(((1920 - width) / 2)) ] || fail "window x $x, not centred for width $width"
dy=$((y - (1080 - height) / 2))
[ "${dy#-}" -le 1 ] || fail "window y $y, not centred for height $height"
echo "window: ZorelControl ${width}x${height} at $x,$y"

# ---- connection: the pedal's names in the preset rows ------------------------------
names_shown() {
  local dump
  dump=$(state)
  grep -q '^editor connected 1' <<<"$dump" || return 1
  while IFS= read -r name; do
    grep -qF "$name" <<<"$dump" || return 1
  done < <("$pedal_names" | head -n "$rows")
}
wait_for 60 "the pedal's first $rows program names on the surface" names_shown
wait_for 60 "the end of the bulk read" pedal_got "EndBulkMode"
wait_for 30 "a quiet link" quiet_pedal
echo "connected: the first $rows program names are shown"
shot connected

# ---- the MIDI monitor, open from the start, lists the whole connection -----------------
monitor_has() { # (read whole first: grep -q ending early would fail the pipe)
  local lines
  lines=$(state | grep -E '^monitor-line ' || true)
  grep -Eq "$1" <<<"$lines"
}
[ "$(field monitor open)" = 1 ] || fail "--monitor did not open the MIDI monitor"
xdotool search --name '^MIDI Monitor$' >/dev/null || fail "no X window titled MIDI Monitor"
monitor_has '"[ 0-9.]+  out +9  identity request"' || fail "monitor: no identity request"
monitor_has '  in +267  identity, version 1\.1, checksum ok"' || fail "monitor: no identity reply"
monitor_has '  out +9  request preset checksum list"' || fail "monitor: no checksum list request"
monitor_has '  out +8  bulk mode on"' || fail "monitor: no bulk mode"
monitor_has '  in +267  preset dump 127, checksum ok"' || fail "monitor: no dump of preset 127"
echo "monitor: $(field monitor lines) messages of the connection listed"
if [ -n "$shots" ]; then
  mw=$(xdotool search --name '^MIDI Monitor$' | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$mw")"
  "$screenshot" "$shots/monitor.png" "$X" "$Y" "$WIDTH" "$HEIGHT"
fi

# Nothing changes, so nothing is drawn.
frames_drawn() { state | awk '$1 == "frames" { print $2 }'; }
frames=$(frames_drawn)
sleep 2
[ "$(frames_drawn)" = "$frames" ] || fail "frames drawn while idle: $frames -> $(frames_drawn)"

# ---- questions before an overwrite ----------------------------------------------------
asked() { state | grep -qF "dialog \"\" text \"$1"; }
no_dialog() { ! state | grep -q '^dialog '; }
click_tag() { # click_tag TAG: a click in the middle of the control of TAG
  local p
  p=$(state | awk -v t="$1" -v s="$(field surface scale)" -v ox="$(field surface x)" \
    -v oy="$(field surface y)" '$1 == "control" && $4 == t {
      for (i = 1; i < NF; i++) if ($i == "bounds") { printf "%d %d", ox + ($(i+1) + $(i+3)) / 2 * s, oy + ($(i+2) + $(i+4)) / 2 * s; exit } }')
  [ -n "$p" ] || fail "no control with tag $1"
  # shellcheck disable=SC2086
  xdotool mousemove $p click 1
}
note_says() { state | grep -q "^control .* tag 154 .* text \"$1"; }
snapshot_of() { compgen -G "$ZOREL_HOME/Snapshots/*_$1.q3s" >/dev/null; } # GLOB
# IMPORT on IR 7 names the user IR it replaces; Cancel leaves the pedal alone.
printf 'RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x44\xac\x00\x00\x88\x58\x01\x00\x02\x00\x10\x00data\x08\x00\x00\x00\x20\x4e\x00\x00\x00\x10\x00\x00' \
  >"$work/Room.wav"
# The impulse response panel is the one shown at start.
if state | grep -q '^control .* tag 66 .* hidden 0 disabled 0 '; then
  focus_main
  click_tag 66
  chooser_open() { state | grep -qx 'dialog "Open"'; }
  wait_for 10 "the WAV file prompt" chooser_open
  xdotool windowfocus --sync "$(xdotool search --name '^Open$' | head -n1)" 2>/dev/null || true
  xdotool key ctrl+l
  sleep 0.5
  xdotool type --delay 20 "$work/Room.wav"
  sleep 0.5
  # The first Return may only take the location's completion.
  for _ in 1 2 3; do
    chooser_open || break
    xdotool key Return
    sleep 1
  done
  wait_for 10 "the question before the IR import" asked "This will overwrite user IR "
  shot ir-import-question
  xdotool key Escape
  wait_for 5 "the question to close" no_dialog
  snapshot_of "import-user-ir-*" && fail "a cancelled IR import took a snapshot"
  echo "IR 7 IMPORT: asked naming the user IR; Cancel changed nothing"
else
  fail "IR 7 IMPORT is not there to press: $(state | grep -E '^control .* tag 66 ')"
fi

# ---- a drag on the DRIVE knob sends the set-parameter message ------------------------
sx=$(field surface x)
sy=$(field surface y)
scale=$(field surface scale)
# The knob: the shown control linked to DRIVE (parameter 5) that is not a text.
read -r kx ky < <(state | awk -v s="$scale" -v ox="$sx" -v oy="$sy" '
  $1 == "control" && $8 == "5" && $10 == "0" && !/ text "/ {
    for (i = 1; i < NF; i++) if ($i == "bounds") { printf "%d %d\n", ox + ($(i+1) + $(i+3)) / 2 * s, oy + ($(i+2) + $(i+4)) / 2 * s; exit } }')
[ -n "${kx:-}" ] || fail "no DRIVE knob (parameter 5) shown on the surface"
drive_value() { state | awk '$1 == "preset-values" { print $7 }'; } # parameter 5
drive_before=$(drive_value)
[ -n "$drive_before" ] || fail "the state dump shows no preset values"
focus_main
xdotool mousemove "$kx" "$ky" mousedown 1 sleep 0.1 mousemove "$kx" $((ky - 15)) sleep 0.1 \
  mousemove "$kx" $((ky - 30)) sleep 0.1 mousemove "$kx" $((ky - 45)) sleep 0.1 mouseup 1
# Set-parameter (0x50) of the pedal's parameter 5 (DRIVE).
wait_for 5 "the set-parameter message for DRIVE" pedal_got "SetParameter .* 50 0B 05 "
echo "drag: the pedal received $(grep -ac 'SetParameter .* 50 0B 05 ' "$work/pedal-log.txt") DRIVE change(s)"
monitor_set() { monitor_has '  out +10  set parameter 5 to [0-9]+"'; }
wait_for 5 "the DRIVE change in the monitor" monitor_set

# Pause holds new rows back, Resume shows them; Save writes the rows; Clear
# empties the list; Ctrl+W closes the monitor and Tools > MIDI Monitor opens it.
monitor_window() { xdotool search --name '^MIDI Monitor$' | head -n1; }
focus_monitor() { xdotool windowfocus --sync "$(monitor_window)" >/dev/null 2>&1 || true; }
focus_monitor
xdotool key alt+p
paused() { [ "$(field monitor paused)" = 1 ]; }
wait_for 5 "the monitor to pause" paused
xdotool key alt+r
resumed() { [ "$(field monitor paused)" = 0 ]; }
wait_for 5 "the monitor to resume" resumed
xdotool key alt+s
save_open() { state | grep -qx 'dialog "Save MIDI Monitor"'; }
wait_for 5 "the monitor's save dialog" save_open
xdotool windowfocus --sync "$(xdotool search --name '^Save MIDI Monitor$' | head -n1)" 2>/dev/null || true
xdotool key ctrl+a
xdotool type --delay 10 "$work/monitor.txt"
xdotool key Return
saved_file() { [ -s "$work/monitor.txt" ]; }
wait_for 5 "the saved monitor file" saved_file
grep -Eq '^ +[0-9.]+  out +9  identity request$' "$work/monitor.txt" || fail "saved monitor lacks the identity request"
focus_monitor
xdotool key alt+c
cleared() { [ "$(field monitor lines)" = 0 ]; }
wait_for 5 "the monitor to clear" cleared
xdotool key ctrl+w
monitor_closed() { [ "$(field monitor open)" = 0 ]; }
wait_for 5 "the monitor to close" monitor_closed
focus_main
xdotool key alt+t
sleep 0.3
xdotool key m
monitor_open() { [ "$(field monitor open)" = 1 ]; }
wait_for 5 "Tools > MIDI Monitor" monitor_open
# Out of the way again: without a window manager it lies over the surface.
focus_monitor
xdotool key ctrl+w
wait_for 5 "the monitor to close again" monitor_closed
echo "monitor: pause, resume, save ($(wc -l <"$work/monitor.txt") lines), clear, close, reopen from the menu"
# Turning a knob of the pedal brings its section's panel up.
sleep 0.5
shot panel

# ---- Ctrl+Z takes the whole drag back, Ctrl+Shift+Z and Ctrl+Y make it again -----------
wait_for 10 "a quiet link after the drag" quiet_pedal
last_drive() { grep -a 'SetParameter .* 50 0B 05 ' "$work/pedal-log.txt" | tail -n 1 | awk '{ print $(NF-1) }'; }
drive_dragged=$(last_drive)
hex_before=$(printf '%02X' "$drive_before")
[ "$drive_dragged" != "$hex_before" ] || fail "the drag left DRIVE at $drive_before"
drive_is() { [ "$(last_drive)" = "$1" ] && [ "$(drive_value)" = "$((16#$1))" ]; }
undo_once() { state | grep -qx 'history undo 0 redo 1 comparing 0'; }
focus_main
xdotool key ctrl+z
wait_for 5 "DRIVE back to $drive_before (0x$hex_before) after Ctrl+Z" drive_is "$hex_before"
wait_for 5 "one step taken back" undo_once
sent_after_undo=$(grep -ac 'SetParameter .* 50 0B 05 ' "$work/pedal-log.txt")
xdotool key ctrl+shift+z
wait_for 5 "DRIVE at 0x$drive_dragged again after Ctrl+Shift+Z" drive_is "$drive_dragged"
xdotool key ctrl+z
wait_for 5 "DRIVE back after a second Ctrl+Z" drive_is "$hex_before"
xdotool key ctrl+y
wait_for 5 "DRIVE at 0x$drive_dragged again after Ctrl+Y" drive_is "$drive_dragged"
# One message per undo and redo: the drag is one step, not one per move.
[ "$(grep -ac 'SetParameter .* 50 0B 05 ' "$work/pedal-log.txt")" = $((sent_after_undo + 3)) ] ||
  fail "undo and redo sent more than one DRIVE message each"
echo "undo: Ctrl+Z sent DRIVE $drive_before again; Ctrl+Shift+Z and Ctrl+Y sent 0x$drive_dragged"

# ---- the preset name is edited in a text field over the surface -----------------------
control_centre() { # control_centre TAG: screen x and y of the control's centre
  state | awk -v tag="$1" -v s="$scale" -v ox="$sx" -v oy="$sy" '$1 == "control" && $4 == tag {
    for (i = 1; i < NF; i++) if ($i == "bounds") { printf "%d %d\n", ox + ($(i+1) + $(i+3)) / 2 * s, oy + ($(i+2) + $(i+4)) / 2 * s; exit } }'
}
read -r nx ny < <(control_centre 148)
[ -n "${nx:-}" ] || fail "no preset name (tag 148) on the surface"
focus_main
xdotool mousemove "$nx" "$ny" click 1
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "GUI Test"
xdotool key Return
name_shown() { state | awk '$1 == "control" && $4 == "148"' | grep -q 'text "GUI Test'; }
wait_for 5 "the new preset name on the surface" name_shown
echo "text entry: the preset name reads \"GUI Test\""

# ---- SAVE twice stores the preset, after a snapshot of its slot -----------------------
read -r vx vy < <(control_centre 61)
[ -n "${vx:-}" ] || fail "no SAVE button (tag 61) on the surface"
focus_main
xdotool mousemove "$vx" "$vy" click 1
sleep 0.3
xdotool click 1
stored() { pedal_got " 50 0B 12 "; }
wait_for 10 "the store message" stored
store_snapshot() { find "$ZOREL_HOME" -name '*store*.q3s' | grep -q .; }
wait_for 10 "the snapshot of the stored preset" store_snapshot
echo "store: SAVE twice stored the preset, after a snapshot of its slot"

# ---- Ctrl+comma opens Preferences -----------------------------------------------------
focus_main
xdotool key ctrl+comma
preferences_open() { state | grep -qx 'dialog "Preferences"'; }
wait_for 5 "the Preferences dialog" preferences_open
xdotool search --name '^Preferences$' >/dev/null || fail "no X window titled Preferences"
echo "Ctrl+comma: Preferences is open"
if [ -n "$shots" ]; then
  pw=$(xdotool search --name '^Preferences$' | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$pw")"
  # The dialog with the window around it.
  "$screenshot" "$shots/preferences.png" "$(field window x)" "$(field window y)" \
    "$(field window width)" "$(field window height)"
fi
xdotool windowfocus --sync "$(xdotool search --name '^Preferences$' | head -n1)" 2>/dev/null || true
# Check MIDI Link: twenty identity requests among its harmless requests.
identities() { grep -ac "in .* 55 0B 0F F7" "$work/pedal-log.txt" || true; }
identities_before=$(identities)
xdotool key alt+l
link_checked() { [ $(($(identities) - identities_before)) -ge 20 ] && quiet_pedal; }
wait_for 30 "the link check's requests" link_checked
echo "Check MIDI Link: $(($(identities) - identities_before)) identity requests answered"
[ -z "$shots" ] || "$screenshot" "$shots/preferences-link-check.png" "$(field window x)" \
  "$(field window y)" "$(field window width)" "$(field window height)"
xdotool windowfocus --sync "$(xdotool search --name '^Preferences$' | head -n1)" 2>/dev/null || true
# Find Pedal: the pair that answers is chosen, told and saved.
xdotool key alt+f
found_told() { state | grep -q '^dialog "Find Pedal"'; }
wait_for 10 "the Find Pedal message" found_told
xdotool key Return
grep -qx "indev=ZorelGui Out:MIDI Out" "$ZOREL_HOME/settings.ini" || fail "Find Pedal did not save the input"
grep -qx "outdev=ZorelGui:MIDI In" "$ZOREL_HOME/settings.ini" || fail "Find Pedal did not save the output"
echo "Find Pedal: the pedal's pair is saved"
preferences_only() { ! state | grep -q '^dialog "Find Pedal"'; }
wait_for 5 "the message to close" preferences_only
xdotool windowfocus --sync "$(xdotool search --name '^Preferences$' | head -n1)" 2>/dev/null || true
xdotool key Escape
no_dialog() { ! state | grep -q '^dialog '; }
wait_for 5 "Preferences to close" no_dialog
# Find Pedal reopened the ports, so the editor connects again: the settings
# page needs the connection and the pedal's answers.
reconnected() { state | grep -q '^editor connected 1'; }
wait_for 60 "the connection after Find Pedal" reconnected
wait_for 60 "a quiet link after Find Pedal" quiet_pedal

# ---- File > Snapshots... lists the snapshot of the store ------------------------------
focus_main
xdotool key alt+f
sleep 0.5
xdotool key s
snapshots_open() { state | grep -qx 'dialog "Snapshots"'; }
wait_for 10 "the Snapshots dialog" snapshots_open
[ -z "$shots" ] || "$screenshot" "$shots/snapshots.png" "$(field window x)" "$(field window y)" \
  "$(field window width)" "$(field window height)"
xdotool windowfocus --sync "$(xdotool search --name '^Snapshots$' | head -n1)" 2>/dev/null || true
xdotool key Escape
wait_for 5 "the Snapshots dialog to close" no_dialog
echo "snapshots: File > Snapshots... opened and closed"

# ---- File > Zorel Global Settings... opens the settings page; X closes it -------------
page_shown() { # page_shown GROUP: a control of GROUP is shown
  # awk decides alone: a `grep -q` after it would exit at the first line
  # and, under pipefail, turn awk's SIGPIPE on the next into "not shown".
  state | awk -v g="$1" '$1 == "control" && $6 == g && $10 == "0" { shown = 1 } END { exit !shown }'
}
settings_shown() { page_shown globalsettingscontrols; }
settings_closed() { ! page_shown globalsettingscontrols; }
focus_main
xdotool key alt+f
sleep 0.5
xdotool key z
wait_for 15 "the global settings page" settings_shown
wait_for 10 "a quiet link" quiet_pedal # the pedal's settings have arrived
shot settings
sx=$(field surface x)
sy=$(field surface y)
scale=$(field surface scale)
focus_main
xdotool mousemove "$(awk -v o="$sx" -v s="$scale" 'BEGIN { printf "%d", o + 1471 * s }')" \
  "$(awk -v o="$sy" -v s="$scale" 'BEGIN { printf "%d", o + 240 * s }')" click 1
wait_for 5 "X to close the global settings page" settings_closed
echo "global settings: opened from the File menu, closed with X"

# ---- Import All asks, a write says so, a pedal that leaves is shown gone --------------
# Import All Presets asks before the file prompt; Cancel ends it there.
focus_main
xdotool key alt+f
sleep 0.5
xdotool key i
wait_for 10 "the question before Import All Presets" asked \
  'This operation will overwrite the current Presets!\nAre you sure to continue?'
shot import-all-question
xdotool key Escape
wait_for 5 "the question to close" no_dialog
sleep 1
no_dialog || fail "a cancelled Import All Presets went on: $(state | grep '^dialog ')"
echo "Import All Presets: asked first; Cancel opened no file prompt"
# A name with characters the pedal cannot hold is asked about; OK stores it
# as the pedal holds it, after a snapshot of the program, and says so.
focus_main
click_tag 148
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 40 'Café Noir'
xdotool key Return
wait_for 10 "the question about the name's characters" asked \
  'The pedal'"'"'s names hold only plain ASCII letters, digits and punctuation: \"é\" cannot'
shot name-question
xdotool key Return
wait_for 10 "the note on the stored name" note_says "Preset [0-9]* was stored on the pedal under its new name"
wait_for 5 "the write of the renamed preset" pedal_got "WritePreset"
wait_for 5 "the snapshot of the renamed program" snapshot_of "rename-preset-*"
shot stored-note
echo "rename: asked about \"é\", stored as \"Caf? Noir\" after a snapshot, and said so"
# The pedal leaves: the window says so at once and sends nothing; it comes
# back on the same ports and the window connects by itself.
kill "$pedal_pid"
wait "$pedal_pid" 2>/dev/null || true
pedal_pid=""
gone_shown() { state | grep -q '^control .* tag 152 .* text "The pedal is gone."' &&
  state | grep -q '^editor connected 0'; }
wait_for 10 "the window to show the pedal gone" gone_shown
wait_for 5 "the note on the ports that left" note_says "The pedal is gone: its MIDI input"
shot pedal-gone
"$pedal" --api jack --name ZorelGui --log "$work/pedal-log.txt" >"$work/pedal2.txt" 2>&1 &
pedal_pid=$!
wait_for 60 "the connection after the pedal came back" reconnected
wait_for 60 "a quiet link after the pedal came back" quiet_pedal
echo "pedal gone: shown within 10 s, connected again by itself when it came back"

# ---- a second start presents the first and ends with 0 ---------------------------------
rc=0
timeout 20 "$program" >"$work/second.txt" 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "the second start ended with $rc"
kill -0 "$app_pid" 2>/dev/null || fail "the first window ended when the second started"
grep -q "already running" "$work/second.txt" || fail "the second start did not find the first"
echo "second start: exit 0, the first window stays"

# ---- the corner resizer changes the scale; File > Quit keeps it --------------------------
cx=$(($(field surface x) + $(field surface width) - 4))
cy=$(($(field surface y) + $(field surface height) - 4))
focus_main
xdotool mousemove "$cx" "$cy" mousedown 1 sleep 0.1 mousemove $((cx + 50)) $((cy + 30)) sleep 0.1 \
  mousemove $((cx + 96)) $((cy + 60)) sleep 0.1 mouseup 1
sleep 0.5
scale=$(field surface scale)
[ "$scale" != "0.5000" ] || fail "the corner resizer left the scale at 0.5"
[ "$(field window width)" = "$(field surface width)" ] || fail "the window did not follow the surface"
echo "resizer: scale $scale, window $(field window width)x$(field window height)"

focus_main
xdotool key alt+f
sleep 0.5
[ -z "$shots" ] || "$screenshot" "$shots/file-menu.png" "$(field window x)" "$(field window y)" \
  "$(field window width)" "$(field window height)"
xdotool key q
rc=0
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "File > Quit did not end the program"
wait "$app_pid" || rc=$?
app_pid=""
[ "$rc" -eq 0 ] || fail "the program ended with $rc after File > Quit"
pedal_got "EditorClosing" || fail "the pedal did not receive the editor-closing message"
saved=$(sed -n 's/^scale=//p' "$ZOREL_HOME/settings.ini")
awk -v a="$saved" -v b="$scale" 'BEGIN { exit !(a - b < 0.0001 && b - a < 0.0001) }' ||
  fail "settings.ini keeps scale $saved, the window had $scale"
echo "File > Quit: exit 0, editor-closing sent, settings.ini keeps scale $saved"
echo "PASS"
