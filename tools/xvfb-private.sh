# An X server of one's own for the GUI test and the window benchmark: Xvfb
# on a display number it picks itself, 1920 x 1080. Source this file, then
#
#   xvfb_private_start LOG     # exports DISPLAY; 1 when Xvfb is missing or does not start
#   ...
#   xvfb_private_stop          # safe to call twice; stops it by its process id
#
# The session's environment is set for a window alone on that display:
# X11 backend, no accessibility bus.

xvfb_private_pid=""

xvfb_private_stop() {
  [ -n "$xvfb_private_pid" ] || return 0
  kill "$xvfb_private_pid" 2>/dev/null || true
  wait "$xvfb_private_pid" 2>/dev/null || true
  xvfb_private_pid=""
}

xvfb_private_start() {
  local log=$1 number
  command -v Xvfb >/dev/null || { echo "no Xvfb" >"$log"; return 1; }
  number=$(mktemp)
  exec 3>"$number"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset >"$log" 2>&1 &
  xvfb_private_pid=$!
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$number" ] && break
    kill -0 "$xvfb_private_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$number" ]; then
    rm -f "$number"
    xvfb_private_stop
    return 1
  fi
  export DISPLAY=":$(head -n1 "$number")"
  export GDK_BACKEND=x11 NO_AT_BRIDGE=1
  rm -f "$number"
}
