# Sourced by the scripts that run Lexora's windows without a screen.
# start_xvfb WORK_DIR: starts a private Xvfb display, exports DISPLAY and sets xvfb_pid (the caller's
# EXIT trap kills it). Xvfb picks a free display number itself.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$1/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$1/display" ] && break; sleep 0.1; done
  DISPLAY=":$(cat "$1/display")"
  export DISPLAY
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}
