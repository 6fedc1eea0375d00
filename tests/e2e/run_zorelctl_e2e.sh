#!/usr/bin/env bash
# End-to-end: zorelctl (real RtMidi and RtAudio) against zorel-virtual-pedal
# on a private JACK server with the dummy driver. Everything started here is
# stopped here, by process id.
#
#   run_zorelctl_e2e.sh status|transfer|firmware|faults|matrix ZORELCTL PEDAL TOOL
set -euo pipefail

mode=$1
zorelctl=$2
pedal=$3
tool=$4

# shellcheck source=../../tools/jack-private.sh
. "$(dirname "$0")/../../tools/jack-private.sh"

work=$(mktemp -d)
declare -A pedal_pids=()

cleanup() {
  for p in "${pedal_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pedal_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  jack_private_stop
  [ -n "${KEEP_E2E:-}" ] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for f in "$work"/*.txt; do [ -f "$f" ] && { echo "--- $f"; tail -n 40 "$f"; }; done
  exit 1
}

# zorelctl opens no audio stream; the pedal is a JACK MIDI client.
jack_private_start zorelctl-e2e "$work/jackd.txt" -r 48000 -p 1000 || fail "JACK server did not start"

# start_pedal NAME [options...]: a pedal whose ports are NAME:MIDI In and
# "NAME Out:MIDI Out", keeping its state in $work/NAME.state.
start_pedal() {
  local name=$1
  shift
  "$pedal" --api jack --name "$name" --state "$work/$name.state" --log "$work/$name-log.txt" "$@" \
    >"$work/$name-pedal.txt" 2>&1 &
  pedal_pids[$name]=$!
  jack_private_wait_ports "${pedal_pids[$name]}" "$name Out:MIDI Out" "$name:MIDI In" && return 0
  kill -0 "${pedal_pids[$name]}" 2>/dev/null || fail "pedal $name exited at start"
  fail "pedal $name ports did not appear"
}

stop_pedal() {
  local name=$1 status=0
  kill -TERM "${pedal_pids[$name]}"
  wait "${pedal_pids[$name]}" || status=$?
  unset "pedal_pids[$name]"
  [ "$status" -eq 0 ] || fail "pedal $name ended with status $status"
}

# ctl NAME HOME LOG [args...]: zorelctl on pedal NAME with library HOME; the
# output goes to $work/LOG.txt, the status to $rc.
# A zorelctl that dies of a signal fails the test whatever was expected, with
# the stacks from its core file when gdb is there to read it.
#
# A run that found no pedal while the pedal's log shows it received nothing
# at all -- the JACK link between them never carried a byte, seen once in a
# long while on a loaded machine -- runs once more, and says so.
ctl() {
  local name=$1 home=$2 log=$3
  shift 3
  local attempt
  for attempt in 1 2; do
    rc=0
    (
      cd "$work" && ulimit -c unlimited 2>/dev/null
      ZOREL_HOME="$work/$home" exec "$zorelctl" --api jack --in "$name Out:MIDI Out" \
        --out "$name:MIDI In" --timeout 40 "$@"
    ) >"$work/$log.txt" 2>"$work/$log-err.txt" || rc=$?
    # (The shell read its commands from stdin: they cannot be read twice.)
    [ "$rc" -eq 1 ] && [ "$attempt" -eq 1 ] && [ ! -s "$work/$name-log.txt" ] &&
      [[ " $* " != *" shell "* ]] &&
      grep -q "no pedal answered within the time-out" "$work/$log-err.txt" || break
    echo "note: the JACK link to pedal $name carried nothing; zorelctl $* runs once more"
  done
  if [ "$rc" -ge 128 ]; then
    local core
    core=$(ls -t "$work"/core* 2>/dev/null | head -n 1 || true)
    if [ -n "$core" ] && command -v gdb >/dev/null; then
      gdb -q -batch -ex "thread apply all bt 25" "$zorelctl" "$core" >"$work/$log-crash.txt" 2>&1 || true
    fi
    fail "zorelctl $* ended with signal $((rc - 128))"
  fi
}

expect_rc() {
  [ "$rc" -eq "$1" ] || fail "$2: exit status $rc, expected $1"
}

requests() { grep -c "in   RequestPreset" "$work/$1-log.txt" || true; }

case "$mode" in
status)
  start_pedal A
  ctl A home status status
  expect_rc 0 "status"
  printf 'DEVICE: Dravix Movrant Zorel\nVERSION: 1.1\n' >"$work/expected.txt"
  head -n 2 "$work/status.txt" | cmp -s - "$work/expected.txt" || fail "device lines"
  [ "$(wc -l <"$work/status.txt")" -eq 3 ] || fail "not three device lines"
  grep -qx "SERIAL: .*" <(sed -n 3p "$work/status.txt") || fail "serial line"
  [ "$(ls "$work/home/Presets" | wc -l)" -eq 128 ] || fail "library cache not filled"
  grep -qx "indev=off" "$work/home/settings.ini" || fail "one-off ports were stored"

  # The cache is up to date now: a second status reads only the current preset.
  before=$(requests A)
  ctl A home status2 status
  expect_rc 0 "second status"
  [ "$(( $(requests A) - before ))" -eq 1 ] || fail "second status read more than the current preset"

  # undo, redo and compare in the shell: each sends the value it puts back.
  printf '%s\n' "set 1 76" "set 1 77" "set 1 78" "undo" "get 1" "redo" "compare" "compare" "get 1" \
    >"$work/undo-in.txt"
  ctl A home undo shell <"$work/undo-in.txt"
  expect_rc 0 "undo, redo and compare in the shell"
  grep -q '^  1  Gain  *77 ' "$work/undo.txt" || fail "undo did not put Gain 77 back"
  grep -qx "comparing: the stored preset is playing" "$work/undo.txt" || fail "compare did not say so"
  grep -qx "back to the edited preset" "$work/undo.txt" || fail "compare did not return to the edits"
  grep -q '^  1  Gain  *78 ' <(tail -n 1 "$work/undo.txt") || fail "compare twice did not end at Gain 78"
  # Gain 77 (4D) twice: from "set 1 77" and from undo.
  [ "$(grep -c 'SetParameter .* 50 0B 01 4D F7' "$work/A-log.txt")" -eq 2 ] ||
    fail "the pedal did not receive Gain 77 from the set and from undo"

  # The ports of settings.ini, when none are given.
  sed -i "s|^indev=off|indev=A Out:MIDI Out|; s|^outdev=off|outdev=A:MIDI In|" \
    "$work/home/settings.ini"
  rc=0
  ZOREL_HOME="$work/home" "$zorelctl" --api jack status >"$work/stored.txt" 2>&1 || rc=$?
  expect_rc 0 "status on the stored ports"

  rc=0
  ZOREL_HOME="$work/home" "$zorelctl" --api jack ports >"$work/ports.txt" 2>&1 || rc=$?
  expect_rc 0 "ports"
  # The pair the pedal answers on is marked.
  grep -qx "\* A Out:MIDI Out" "$work/ports.txt" || fail "ports misses the pedal's output"
  grep -qx "\* A:MIDI In" "$work/ports.txt" || fail "ports misses the pedal's input"

  rc=0; "$zorelctl" frobnicate >/dev/null 2>&1 || rc=$?
  expect_rc 2 "unknown command"
  rc=0; "$zorelctl" backup >/dev/null 2>&1 || rc=$?
  expect_rc 2 "backup without a file"

  rc=0
  ZOREL_HOME="$work/home" "$zorelctl" --api jack --in "Nobody:MIDI Out" status \
    >"$work/missing.txt" 2>&1 || rc=$?
  expect_rc 1 "status on a missing port"
  grep -q "Nobody:MIDI Out" "$work/missing.txt" || fail "the missing port is not named"

  # A pedal that hears but never answers.
  start_pedal S --drop 1
  rc=0
  ZOREL_HOME="$work/home-s" "$zorelctl" --api jack --in "S Out:MIDI Out" --out "S:MIDI In" \
    --timeout 5 status >"$work/silent.txt" 2>&1 || rc=$?
  expect_rc 1 "status on a silent pedal"
  grep -q "no pedal answered" "$work/silent.txt" || fail "no clear message for a silent pedal"

  # No ports given or stored: zorelctl finds pedal A among two that never
  # answer, says so, stores the pair; --monitor prints the conversation.
  start_pedal T --drop 1
  rc=0
  ZOREL_HOME="$work/home-find" "$zorelctl" --api jack --monitor --timeout 40 status \
    >"$work/find.txt" 2>"$work/find-err.txt" || rc=$?
  expect_rc 0 "status that finds the pedal"
  grep -q 'answered on MIDI input "A Out:MIDI Out" and output "A:MIDI In"' "$work/find.txt" ||
    fail "the pair found is not told"
  grep -qx "indev=A Out:MIDI Out" "$work/home-find/settings.ini" || fail "found input not stored"
  grep -qx "outdev=A:MIDI In" "$work/home-find/settings.ini" || fail "found output not stored"
  for p in S T; do
    grep -q " in " "$work/$p-log.txt" || fail "pedal $p was not asked"
    if grep " in " "$work/$p-log.txt" | grep -vq "RequestSettings .* 55 0B 0F F7"; then
      fail "pedal $p heard more than the identity request"
    fi
  done
  grep -Eq '^ +[0-9]+\.[0-9]{3}  out +9  identity request$' "$work/find.txt" ||
    fail "monitor: no identity request"
  grep -Eq '  in +267  identity, version 1\.1, checksum ok$' "$work/find.txt" ||
    fail "monitor: no identity reply"
  [ "$(grep -cE '  in +267  preset dump [0-9]+, checksum ok$' "$work/find.txt")" -ge 128 ] ||
    fail "monitor: not every preset dump"
  grep -Eq '  out +8  editor closing$' "$work/find.txt" || fail "monitor: no goodbye"
  stop_pedal T

  # A pedal with a firmware too old: refused, yet its device lines are known
  # and printed, once each.
  start_pedal O --report-version 0.9
  ctl O home-o old status
  expect_rc 1 "status on an old firmware"
  [ "$(grep -cx "DEVICE: Dravix Movrant Zorel" "$work/old.txt")" -eq 1 ] || fail "old firmware: device line"
  [ "$(grep -cx "VERSION: 0.9" "$work/old.txt")" -eq 1 ] || fail "old firmware: version line"
  grep -q "Please upgrade Zorel" "$work/old.txt" || fail "old firmware: no upgrade message"
  grep -q "refused" "$work/old-err.txt" || fail "old firmware: no clear failure"
  ;;

transfer)
  "$tool" wav "$work/big room.wav"
  start_pedal A
  # Make pedal A differ from a factory pedal: edits, a name and an imported
  # IR (a path with a blank, quoted), stored into a program.
  printf '%s\n' "set 1 100" "set 5 17" "set 40 1" "ir7 \"$work/big room.wav\"" "name E2E Stored" \
    "store 9" >"$work/edits.txt"
  ctl A home-a shell --yes shell <"$work/edits.txt"
  expect_rc 0 "shell edits"
  # Values outside a parameter's range are refused, not clamped.
  printf '%s\n' "set 1 200" "get 1" >"$work/refused.txt"
  ctl A home-a shell-refused --yes shell <"$work/refused.txt"
  expect_rc 1 "set outside the range"
  grep -q "outside the range of Gain: 0..127" "$work/shell-refused-err.txt" || fail "no range named"
  grep -q "^  1  Gain  *100 " "$work/shell-refused.txt" || fail "a refused value changed the parameter"
  ctl A home-a backup backup "$work/a.q3b"
  expect_rc 0 "backup"
  grep -qx "Finished successfully!" "$work/backup.txt" || fail "backup did not say it finished"
  cp "$work/a.q3b" "$work/a-copy.q3b"
  ctl A home-a backup2 backup "$work/a.q3b"
  expect_rc 1 "backup over an existing file without --yes"
  cmp -s "$work/a.q3b" "$work/a-copy.q3b" || fail "the existing backup was touched"

  start_pedal B
  ctl B home-b restore-no restore "$work/a.q3b"
  expect_rc 1 "restore without --yes"
  grep -q "overwrite the current Presets" "$work/restore-no.txt" || fail "restore did not say what it overwrites"
  ctl B home-b restore restore "$work/a.q3b" --yes
  expect_rc 0 "restore"
  grep -qx "Finished successfully!" "$work/restore.txt" || fail "restore did not say it finished"
  # restore returns once the presets are read back: the cache is whole.
  [ "$(ls "$work/home-b/Presets" | wc -l)" -eq 128 ] || fail "restore returned before the re-read"

  stop_pedal A
  stop_pedal B
  "$tool" compare "$work/A.state" factory >"$work/compare-factory.txt" &&
    fail "pedal A still equals a factory pedal: the edits did not arrive"
  "$tool" compare "$work/A.state" "$work/B.state" >"$work/compare.txt" ||
    fail "the restored pedal differs from the backed-up one"

  # The restore first kept a snapshot of pedal B as it was, a factory pedal:
  # listed, and put back, it makes B a factory pedal again.
  start_pedal B
  ctl B home-b snapshots snapshots
  expect_rc 0 "snapshots"
  grep -q "  1  .* import  *128 presets" "$work/snapshots.txt" || fail "no snapshot of the restore listed"
  ctl B home-b put-back restore-snapshot 1 --yes
  expect_rc 0 "restore-snapshot"
  stop_pedal B
  "$tool" compare "$work/B.state" factory >"$work/compare-back.txt" ||
    fail "the snapshot did not put pedal B back"
  echo "snapshot: listed after the restore and put back, pedal B is a factory pedal again"
  ;;

firmware)
  start_pedal F --firmware-out "$work/received.bin"
  # Random bytes after a fixed start, which no file-kind check mistakes for
  # something else (a SysEx stream starts with F0).
  { printf 'ZRL'; head -c 19997 /dev/urandom; } >"$work/image.bin"
  ctl F home fw-no firmware "$work/image.bin"
  expect_rc 1 "firmware without --yes"
  [ ! -e "$work/received.bin" ] || fail "firmware sent without --yes"
  head -c 100 /dev/urandom >"$work/tiny.bin"
  ctl F home fw-tiny firmware "$work/tiny.bin" --yes
  expect_rc 1 "a file too small to be an image"
  grep -q "not a firmware image" "$work/fw-tiny.txt" || fail "no clear message for a bad image"
  ctl F home fw firmware "$work/image.bin" --yes
  expect_rc 0 "firmware"
  cmp -s "$work/image.bin" "$work/received.bin" || fail "the pedal did not receive the image"
  ;;

faults)
  # A pipe for a file is refused at once: nothing may block in open() (a
  # blocked open would wait for a writer for good).
  mkfifo "$work/pipe.q3b"
  start=$(date +%s%N)
  ctl F home fifo restore "$work/pipe.q3b" --yes
  elapsed=$((($(date +%s%N) - start) / 1000000))
  expect_rc 1 "restore from a pipe"
  [ "$elapsed" -lt 10000 ] || fail "restore from a pipe took $elapsed ms"
  pipe_ms=$elapsed
  grep -q "not an ordinary file" "$work/fifo-err.txt" || fail "no clear message for a pipe"

  # A second zorelctl on the same library is turned away while one runs,
  # and SIGINT ends a waiting zorelctl long before its time-out (closing its
  # JACK clients takes a while on a busy machine).
  start_pedal S --drop 1
  ZOREL_HOME="$work/busy" "$zorelctl" --api jack --in "S Out:MIDI Out" --out "S:MIDI In" \
    --timeout 60 status >"$work/waiting.txt" 2>&1 &
  waiting=$!
  sleep 2
  ctl S busy second status
  expect_rc 1 "a second zorelctl on one library"
  grep -q "is using the library" "$work/second-err.txt" || fail "no clear message for a locked library"
  start=$(date +%s%N)
  kill -INT "$waiting"
  rc=0
  wait "$waiting" || rc=$?
  elapsed=$((($(date +%s%N) - start) / 1000000))
  [ "$rc" -ne 0 ] || fail "an interrupted status reported success"
  [ "$elapsed" -lt 10000 ] || fail "SIGINT took $elapsed ms to end zorelctl"
  echo "pipe refused in $pipe_ms ms; SIGINT ended zorelctl in $elapsed ms"
  stop_pedal S
  ;;

matrix)
  # The fault matrix over JACK with the real programs: status and backup
  # either end correct (a backup equal to a clean one) or fail with a reason,
  # leaving no backup file behind.
  start_pedal C
  ctl C clean clean-backup backup "$work/clean.q3b" --yes
  expect_rc 0 "clean backup"
  stop_pedal C
  i=0
  for fault in "--drop 0.03" "--corrupt-block 0.1" "--corrupt-transfer 0.3" "--cut 0.03" \
               "--delay 100 --delay-jitter 200"; do
    i=$((i + 1))
    # shellcheck disable=SC2086
    start_pedal "M$i" $fault --seed "$i"
    start=$(date +%s%N)
    ctl "M$i" "m$i" "m$i-status" status --timeout 60
    status_rc=$rc
    ctl "M$i" "m$i" "m$i-backup" backup "$work/m$i.q3b" --yes --timeout 60
    backup_rc=$rc
    ms=$((($(date +%s%N) - start) / 1000000))
    if [ "$backup_rc" -eq 0 ]; then
      cmp -s "$work/m$i.q3b" "$work/clean.q3b" || fail "$fault: the backup differs from a clean one"
      outcome="whole backup"
    else
      [ ! -e "$work/m$i.q3b" ] || fail "$fault: a failed backup left a file"
      [ -s "$work/m$i-backup-err.txt" ] || fail "$fault: the backup failed without a reason"
      outcome="refused: $(tail -n 1 "$work/m$i-backup-err.txt")"
    fi
    [ "$status_rc" -eq 0 ] || [ -s "$work/m$i-status-err.txt" ] || fail "$fault: status failed silently"
    echo "matrix over JACK: $fault: status rc $status_rc, $outcome, $ms ms"
    stop_pedal "M$i"
  done
  ;;

*)
  fail "unknown mode $mode"
  ;;
esac

echo "zorelctl e2e $mode: passed"
