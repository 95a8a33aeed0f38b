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

# ---- the games: a dealt matching board, the board after a match, the letter game's quiz, its
# scattered tiles, the tip dialog, and (drawn offscreen, as the tiles' letters cannot be seen from
# here) a word arranged in one row.
view_x=8
view_y=$((menu_bar + 72))
# same_area FILE_A FILE_B X Y W H: true when the two shots agree in that rectangle.
same_area() {
  [ "$(compare -metric AE <(convert "$1" -crop "$5x$6+$3+$4" png:-) <(convert "$2" -crop "$5x$6+$3+$4" png:-) null: 2>&1)" = 0 ]
}
app_windows() {
  xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true
}
# the newest visible window of the program other than the main window (dialogs without a title)
dialog_window() {
  for _ in $(seq 50); do
    for w in $(app_windows); do
      [ "$w" != "$main" ] && { echo "$w"; return; }
    done
    sleep 0.1
  done
}

click "$main" $((576 + 36)) $((menu_bar + 8 + 28))
sleep 1
shoot "$main" matching-board

# Card 0 is in the top half; its partner is one of cards 8 to 15. Two tries per deal, then a fresh
# deal (再玩一遍) before a third miss would end it.
card_x() { echo $((view_x + 44 + ($1 % 4) * 184 + 88)); }
card_y() { echo $((view_y + 44 + ($1 / 4) * 120 + 56)); }
matched=
for try in $(seq 40); do
  import -window "$main" "$work/before.png"
  click "$main" "$(card_x 0)" "$(card_y 0)"
  sleep 0.2
  partner=$((8 + (try - 1) % 8))
  click "$main" "$(card_x "$partner")" "$(card_y "$partner")"
  sleep 1.2
  import -window "$main" "$work/after.png"
  if ! same_area "$work/before.png" "$work/after.png" $(($(card_x 0) - 80)) $(($(card_y 0) - 50)) 160 100; then
    matched=1
    break
  fi
  if [ $((try % 2)) = 0 ]; then
    click "$main" $((view_x + 560 + 50)) $((view_y + 10 + 13))
    sleep 0.5
  fi
done
[ -n "$matched" ] && shoot "$main" matching-after-match || echo "no match found for the matching shot" >&2

click "$main" $((488 + 36)) $((menu_bar + 8 + 28))
quiz=$(dialog_window)
sleep 1.5
shoot "$quiz" quiz
# Choices are tried in turn; a wrong one brings the "错啦" message, closed with Enter.
for k in 0 1 2 3; do
  xdotool mousemove --window "$quiz" 80 $((104 + k * 82)) click 1
  xdotool mousemove --window "$quiz" 230 457 click 1
  sleep 0.8
  wrong=$(xdotool search --onlyvisible --name '错啦' 2>/dev/null | head -n 1 || true)
  [ -z "$wrong" ] && break
  xdotool windowfocus --sync "$wrong" key Return
  sleep 0.5
done
sleep 0.5
shoot "$main" letter-board

click "$main" $((view_x + 616 + 32)) $((view_y + 8 + 10))
tip=$(window_named '提示信息')
sleep 1.5
shoot "$tip" tip
xdotool mousemove --window "$tip" 210 345 click 1
sleep 0.5

QT_QPA_PLATFORM=offscreen "build/$preset/tests/games/lexora_games_screens" "$work/Lexora" "$out/letter-row.png"
echo "saved $out/letter-row.png"
