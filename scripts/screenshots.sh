#!/usr/bin/env bash
# Builds Lexora, runs it on the sample course under Xvfb and saves pictures of its windows into
# build/screenshots/: the reader, the reader with the recording panel, the book and unit dialog and
# the help dialog. The program runs on a copy of the staged tree, so nothing of a learner's state
# changes. LEXORA_PRESET picks the build (default: release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${LEXORA_PRESET:-release}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

out=build/screenshots
mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "build/$preset/stage/." "$work/"

# A display number nobody uses.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display" SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# window_named REGEX: the id of the first visible window whose title matches.
window_named() {
  xdotool search --sync --onlyvisible --name "$1" | head -n 1
}
shoot() {
  import -window "$1" "$out/$2.png"
  echo "saved $out/$2.png"
}
# click WINDOW X Y: a left click at a point of the window's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

"$work/Lexora/lexora" &
app_pid=$!
main=$(window_named 'Lexora -- ')
# The first word slides in and is read once the window is up.
sleep 2.5
shoot "$main" reader

# Controls of the reader sit in the view container at (8, 72) below the menu bar.
menu_bar=$(( $(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p') - 626 ))
click "$main" $((8 + 708 + 10)) $((menu_bar + 72 + 300 + 12))
sleep 0.5
shoot "$main" reader-recording

click "$main" $((312 + 36)) $((menu_bar + 8 + 28))
dialog=$(window_named '选择教程')
sleep 0.5
shoot "$dialog" book-unit
xdotool windowfocus --sync "$dialog" key Escape
sleep 0.5

click "$main" $((752 + 36)) $((menu_bar + 8 + 28))
help=$(window_named '^帮助$')
sleep 0.5
shoot "$help" help
xdotool windowfocus --sync "$help" key Escape
