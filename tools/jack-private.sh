# A JACK server of one's own, for the end-to-end scripts and for
# tools/run-editor.sh: the dummy driver (no sound card needed) under a server
# name no other run uses, so parallel runs and a user's own server never
# meet. Source this file, then
#
#   jack_private_start PREFIX LOG [DUMMY DRIVER OPTIONS...]   # e.g. -r 48000 -p 1024
#   ...            clients now find the server through JACK_DEFAULT_SERVER
#   jack_private_stop
#
# jack_private_start exports JACK_DEFAULT_SERVER (PREFIX-pid-random) and
# JACK_NO_START_SERVER=1 (a client must never start a server of its own),
# starts jackd with its output in LOG and returns once a client gets in;
# it returns 1 when the server exits or no client gets in within 20 s.
# jackd is stopped by its process id, never by name. jack_private_stop is
# safe to call twice; call it from the EXIT trap after stopping the server's
# clients. A caller without an EXIT trap gets one that stops the server.

jack_private_pid=""

jack_private_stop() {
  [ -n "$jack_private_pid" ] || return 0
  kill "$jack_private_pid" 2>/dev/null || true
  wait "$jack_private_pid" 2>/dev/null || true
  jack_private_pid=""
}

# jackd keeps its servers in a registry of eight entries in shared memory
# (/dev/shm/jack-shm-registry: a 24-byte header, then entries of 264 bytes,
# each a 32-bit pid followed by the server's name). A server that dies
# without unregistering -- killed by a time-out, say -- keeps its entry for
# ever, because jackd only reclaims an entry of the same name, and our names
# are unique. After eight such deaths no server starts at all ("Too many
# servers already active"), so free the entries whose process is gone.
jack_private_reclaim() {
  local registry=/dev/shm/jack-shm-registry
  [ -w "$registry" ] || return 0
  # Only a registry of the layout described above is touched.
  [ "$(head -c 4 "$registry")" = "KCAJ" ] || return 0
  [ "$(od -An -t u4 -j 16 -N 4 "$registry" | tr -d ' ')" = 2136 ] || return 0
  local slot offset pid
  for slot in 0 1 2 3 4 5 6 7; do
    offset=$((24 + slot * 264))
    pid=$(od -An -t d4 -j "$offset" -N 4 "$registry" | tr -d ' ')
    [ -n "$pid" ] && [ "$pid" -gt 0 ] || continue
    [ -d "/proc/$pid" ] && continue
    dd if=/dev/zero of="$registry" bs=1 seek="$offset" count=264 conv=notrunc 2>/dev/null
  done
}

# jack_private_wait_ports PID PORT...: 0 once every PORT is listed; 1 when
# process PID has ended first or 10 s have passed.
jack_private_wait_ports() {
  local pid=$1 listed p missing
  shift
  for _ in $(seq 100); do
    listed=$(jack_lsp 2>/dev/null || true)
    missing=0
    for p in "$@"; do grep -qxF "$p" <<<"$listed" || missing=1; done
    [ "$missing" -eq 0 ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

jack_private_start() {
  local prefix=$1 log=$2
  shift 2
  [ -z "$jack_private_pid" ] || { echo "jack_private_start: a server is already running" >&2; return 1; }
  [ -n "$(trap -p EXIT)" ] || trap jack_private_stop EXIT
  export JACK_DEFAULT_SERVER="$prefix-$$-$RANDOM"
  export JACK_NO_START_SERVER=1
  (
    # Two runs must not rewrite the registry at once.
    flock 9
    jack_private_reclaim
  ) 9>"${TMPDIR:-/tmp}/zorel-jack-registry.lock"
  jackd --no-realtime -d dummy "$@" >"$log" 2>&1 &
  jack_private_pid=$!
  # A client that connects while the server is still coming up can be
  # turned away, so ask until one gets in.
  local attempt
  for attempt in $(seq 200); do
    jack_lsp >/dev/null 2>&1 && return 0
    if ! kill -0 "$jack_private_pid" 2>/dev/null; then
      wait "$jack_private_pid" 2>/dev/null || true
      jack_private_pid=""
      return 1
    fi
    sleep 0.1
  done
  jack_private_stop
  return 1
}
