#!/usr/bin/env bash
# Builds Lexora and lets scripts/lib/a11y_route.py finish a recognition test, a matching game and a
# letter game on the sample course, finding every control by its accessible name over the AT-SPI
# bus and clicking it with the real pointer at the rectangle the bus reports. Runs at
# QT_SCALE_FACTOR=1, at 2, and with the window sized to the whole screen, each in a fresh private
# session bus and on a fresh copy of the staged course. Exits 0 only when every route finished.
# LEXORA_PRESET picks the build (default: release).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
preset=${LEXORA_PRESET:-release}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" >/dev/null

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
. scripts/lib/xvfb.sh
start_xvfb "$work"
export SDL_AUDIODRIVER=dummy

# route NAME ARGS...: one program, with its own data and settings, in its own session bus; the
# accessibility bus and its registry are started by that bus on the helper's first call.
route() {
  local dir="$work/$1"
  shift
  mkdir -p "$dir"
  cp -r "build/$preset/stage/." "$dir/"
  XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" \
    dbus-run-session -- /usr/bin/python3 -B -u scripts/lib/a11y_route.py "$dir/Lexora/lexora" "$@" \
    > >(grep --line-buffered -v 'SpiRegistry daemon' | tee "$dir/log") \
    2> >(grep -v -e 'dbus-daemon' -e 'XDG_RUNTIME_DIR' >&2)
}

failed=()
route scale1 --scale 1 || failed+=("scale 1")
route scale2 --scale 2 || failed+=("scale 2")
route screen --scale 1 --full-screen || failed+=("screen-sized window")
echo
grep -h -e '^finished' -e '^FAILED' "$work"/*/log
if [ "${#failed[@]}" -gt 0 ]; then
  echo "a11y-route: failed at ${failed[*]}" >&2
  exit 1
fi
echo "a11y-route: every route finished at scale 1, scale 2 and in a screen-sized window"
