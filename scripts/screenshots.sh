#!/usr/bin/env bash
# Builds Lexora, runs it on the sample course under Xvfb and saves pictures of its windows into
# build/screenshots/: the reader, the reader with the recording panel, the book and unit dialog and
# the help dialog; the picture word list, the recognition test in its three modes, a wrong answer,
# the word list after a run with mistakes, the error counts, the unit status, the test history, the
# reader's note on the mistake notebook and its review, and the parents' progress report (each also at
# twice the scale). The program runs on a copy of the staged tree, so nothing of a learner's state
# changes. At the end the reader, the test and the games again in a 1920 × 1080 window (big-*) and
# with QT_SCALE_FACTOR=2 (scale2-*), and at full screen the wrong-answer box, the end-of-test box and
# the help (full-*). Then the recording panel's two verdicts on a voice fed to the microphone (reading-*)
# and the publishing tool. LEXORA_PRESET picks the build (default: release).
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
# The window's remembered size stays with this run.
export XDG_CONFIG_HOME="$work/config"

. scripts/lib/xvfb.sh
start_xvfb "$work"
export SDL_AUDIODRIVER=dummy

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

# ---- the word lists, the recognition test and the record views
# Points of the views are given in the view container, which starts at (8, 72) below the menu bar.
view_click() {
  click "$main" $((8 + $1)) $((menu_bar + 72 + $2))
}
# menu_entry TITLE_X ROW: opens the menu whose title is at TITLE_X and chooses its ROW-th entry (0-based).
menu_entry() {
  click "$main" "$1" $((menu_bar / 2))
  sleep 0.4
  xdotool key --clearmodifiers Down
  for _ in $(seq "$2"); do xdotool key --clearmodifiers Down; done
  xdotool key --clearmodifiers Return
}
test_menu=208
# box TITLE: the id of a visible message box with that title, or nothing.
box() {
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}
# shoot_box TITLE NAME: pictures the message box with that title, then closes it with its default button.
shoot_box() {
  local id
  id=$(box "$1")
  shoot "$id" "$2"
  xdotool windowfocus --sync "$id" key Return
}
# dismiss_wrong: closes the "错啦" message if an answer brought it up; false when none came.
dismiss_wrong() {
  local wrong
  sleep 0.8
  wrong=$(xdotool search --onlyvisible --name '错啦' 2>/dev/null | head -n 1 || true)
  [ -n "$wrong" ] || return 1
  xdotool windowfocus --sync "$wrong" key Return
  sleep 0.5
}
# verdict: prints "wrong", "end" or "right" by the box that appears after an answer (none: right).
verdict() {
  for _ in $(seq 15); do
    sleep 0.2
    [ -n "$(box '错啦！')" ] && { echo wrong; return; }
    [ -n "$(box '单词认知测试')" ] && { echo end; return; }
  done
  echo right
}
# answer K: picks choice K and presses "确定"; prints the verdict.
answer() {
  view_click $((40 + 20 + 30)) $((104 + 16 + $1 * 60 + 25))
  view_click $((40 + 60)) $((428 + 20))
  verdict
}
# answer_right: tries the choices in turn until one is right; prints "end" when the run is over.
answer_right() {
  local k result
  for k in 0 1 2 3; do
    result=$(answer "$k")
    if [ "$result" = wrong ]; then
      xdotool windowfocus --sync "$(box '错啦！')" key Return
      sleep 0.3
      continue
    fi
    echo "$result"
    return
  done
}

# The reader's "列表显示" button: the picture word list.
view_click 656 263
sleep 1
shoot "$main" picture-list

# The toolbar's test button: "看单词选中文".
click "$main" 268 $((menu_bar + 36))
sleep 1.5
shoot "$main" test-see-english

# Choice 0 until it is a wrong one: the answer box, then the view showing the answer.
for _ in $(seq 10); do
  result=$(answer 0)
  [ "$result" = wrong ] && break
done
shoot_box '错啦！' wrong-answer-box
sleep 0.5
shoot "$main" test-wrong-answer

# The rest of the run answered right: it ends in the word list with the results.
for _ in $(seq 40); do
  [ "$(answer_right)" = end ] && break
done
shoot_box '单词认知测试' test-end-box
sleep 1
shoot "$main" word-list-results

menu_entry $test_menu 2
sleep 1.5
shoot "$main" test-see-chinese

# Leaving a running test asks first.
menu_entry $test_menu 1
end_box=$(xdotool search --sync --onlyvisible --name '^单词测试$' | head -n 1)
xdotool windowfocus --sync "$end_box" key Return
sleep 1.5
shoot "$main" test-listen

# The sample course has no test history and no unit done yet: a few rows go into the copy's database
# first (the program is idle and keeps no connection open meanwhile). The program may have left the
# file's header restored; it reads the file in either state, and is left as it was found.
course_tool="build/$preset/src/course/lexora-course"
db="$work/Lexora/AppPics/lexora.pet"
db_readable() {
  printf "PRAGMA key = 'quillbent';\nselect count(*) from sqlite_master;\n" | sqlcipher "$db" >/dev/null 2>&1
}
toggled=
db_readable || { "$course_tool" toggle "$db" >/dev/null; toggled=1; }
sqlcipher "$db" >/dev/null <<'SQL'
PRAGMA key = 'quillbent';
INSERT INTO History VALUES (1, 0, '2026-11-30', '16:05:12', '三年级上册 Unit 1 Hello! 看单词选中文');
INSERT INTO History VALUES (2, 0, '2026-12-02', '17:41:03', '三年级上册 Unit 2 Colours 听单词选中文');
INSERT INTO History VALUES (3, 0, '2026-12-05', '09:12:47', '三年级上册 Unit 3 看中文选单词');
UPDATE PEP3_BookUnit SET UnitStatus = 3 WHERE BookID = 0 AND UnitID = 1;
UPDATE PEP3_BookUnit SET UnitStatus = 2 WHERE BookID = 0 AND UnitID = 2;
UPDATE PEP3_BookUnit SET UnitStatus = 1 WHERE BookID = 0 AND UnitID = 3;
UPDATE PEP3 SET Result = '5|3|0' WHERE English = 'crayon';
UPDATE PEP3 SET Result = '4|2|1' WHERE English = 'ruler';
UPDATE PEP3 SET Result = '6|2|3' WHERE English = 'pencil';
UPDATE PEP3 SET Result = '3|1|1' WHERE English = 'goodbye';
CREATE TABLE IF NOT EXISTS MistakeNotebook (English TEXT PRIMARY KEY, Box INTEGER NOT NULL, Since TEXT NOT NULL, Entered TEXT NOT NULL);
INSERT OR REPLACE INTO MistakeNotebook VALUES ('ruler', 1, '2026-03-01', '2026-03-01'), ('crayon', 1, '2026-03-01', '2026-03-01'),
  ('green', 1, '2026-03-01', '2026-03-01'), ('purple', 1, '2026-03-01', '2026-03-01'),
  ('face', 1, '2026-03-01', '2026-03-01'), ('bag', 1, '2026-03-01', '2026-03-01');
CREATE TABLE IF NOT EXISTS TestRuns (Date text not null, Time text not null, Asked integer not null, Wrong integer not null, Task text);
INSERT INTO TestRuns VALUES ('2026-11-24', '16:00', 10, 4, 'Unit 1'), ('2026-11-26', '16:10', 10, 3, 'Unit 1'),
  ('2026-11-30', '16:05', 12, 3, 'Unit 1'), ('2026-12-02', '17:41', 12, 2, 'Unit 2'), ('2026-12-02', '18:02', 12, 1, 'Unit 2'),
  ('2026-12-05', '09:12', 11, 1, 'Unit 3');
SQL
if [ -n "$toggled" ]; then "$course_tool" toggle "$db" >/dev/null; fi
# The record views' menu entries are switched off for the learner: a test-only program draws them
# offscreen from the copy's database (the unit status, the history rows above, the error counts).
# Then the reader's note on the notebook's six words missed the day before, and their review, at 1× and 2×.
QT_QPA_PLATFORM=offscreen "build/$preset/tests/app/lexora_record_screens" "$work/Lexora" "$out"
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "build/$preset/tests/app/lexora_record_screens" "$work/Lexora" "$out" scale2-
for shot in learn-status history word-list-errors notebook-note notebook-review report; do
  echo "saved $out/$shot.png and $out/scale2-$shot.png"
done

# Back to the reader: the running listening test asks first.
click "$main" $((400 + 36)) $((menu_bar + 8 + 28))
end_box=$(xdotool search --sync --onlyvisible --name '^单词测试$' | head -n 1)
xdotool windowfocus --sync "$end_box" key Return
sleep 1

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
  dismiss_wrong || break
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

# ---- bigger screens: the page keeps its layout and is scaled as one to the window.
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
# restart FACTOR: a fresh program at QT_SCALE_FACTOR=FACTOR; sets main and bar, the menu bar's
# height in screen pixels.
restart() {
  local factor=$1
  QT_SCALE_FACTOR="$factor" "$work/Lexora/lexora" &
  app_pid=$!
  main=$(window_named 'Lexora -- ')
  sleep 2.5
  bar=$(( $(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p') - 626 * factor ))
}
# page_click X Y: a click at a point of the page (833 × 626 at scale 1), wherever the window shows it.
page_click() {
  local size
  size=$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | tr '\n' ' ')
  click "$main" $(echo "$size" | awk -v x="$1" -v y="$2" -v bar="$bar" '{
    h = $2 - bar; s = $1 / 833; if (h / 626 < s) s = h / 626
    printf "%d %d", ($1 - 833 * s) / 2 + x * s, bar + (h - 626 * s) / 2 + y * s }')
}
# scaled_round PREFIX: the reader, the test with choice 2 taken by its key, the matching board with
# the focus moved by the arrow keys, and the letter board after its quiz answered with the keys.
scaled_round() {
  shoot "$main" "$1-reader"
  page_click $((232 + 36)) $((8 + 28))
  sleep 1.5
  xdotool key 2
  sleep 0.5
  shoot "$main" "$1-test"
  xdotool key Escape
  xdotool windowfocus --sync "$(timeout 10 xdotool search --sync --onlyvisible --name '^单词测试$' | head -n 1)" key Return
  sleep 1
  page_click $((576 + 36)) $((8 + 28))
  sleep 1.5
  xdotool key Right Right Down
  sleep 0.5
  shoot "$main" "$1-matching"
  page_click $((488 + 36)) $((8 + 28))
  quiz=$(dialog_window)
  sleep 1.5
  shoot "$quiz" "$1-quiz"
  for k in 1 2 3 4; do
    xdotool windowfocus --sync "$quiz" key "$k" Return
    dismiss_wrong || break
  done
  sleep 1
  shoot "$main" "$1-letter-board"
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
}
restart 1
xdotool windowsize --sync "$main" 1920 1080
sleep 1.5
scaled_round big
restart 2
scaled_round scale2

# ---- at full screen the boxes grow with the page: the wrong-answer box, the end-of-test box and the
# help, each pictured with the whole screen around it. The test is answered with the keys alone.
shoot_screen() {
  import -window root "$out/$1.png"
  echo "saved $out/$1.png"
}
# key_answer K: presses K and Enter in the test; prints the verdict.
key_answer() {
  xdotool windowfocus --sync "$main" key "$1" Return
  verdict
}
# Full screen as a window manager would give it on F11; this display has none, so the window is sized.
restart 1
xdotool windowsize --sync "$main" $(xdotool getdisplaygeometry)
sleep 1.5
page_click $((232 + 36)) $((8 + 28))
sleep 1.5
for _ in $(seq 10); do
  [ "$(key_answer 1)" = wrong ] && break
done
sleep 0.5
shoot_screen full-wrong-answer-box
xdotool windowfocus --sync "$(box '错啦！')" key Return
result=
for _ in $(seq 40); do
  for k in 1 2 3 4; do
    result=$(key_answer "$k")
    [ "$result" = wrong ] || break
    xdotool windowfocus --sync "$(box '错啦！')" key Return
    sleep 0.3
  done
  [ "$result" = end ] && break
done
sleep 0.5
shoot_screen full-test-end-box
xdotool windowfocus --sync "$(box '单词认知测试')" key Return
sleep 1
xdotool windowfocus --sync "$main" key F1
help=$(window_named '^帮助$')
sleep 1
shoot_screen full-help
xdotool windowfocus --sync "$help" key Escape
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true

# ---- the recording panel's two verdicts on the first word (hello): a reading by flite is fed to the
# microphone through SDL's disk capture (44.1 kHz, 2 channels, 16 bits, no header; silence once read).
# shoot_reading TEXT NAME: records TEXT for 2.5 s, stops, and pictures the verdict, which follows the
# reading's playback.
shoot_reading() {
  flite -voice kal16 -t "$1" -o "$work/voice.wav"
  sox "$work/voice.wav" -r 44100 -c 2 -b 16 -e signed-integer -t raw "$work/voice.raw" pad 0.4 0
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIOFILEIN="$work/voice.raw" "$work/Lexora/lexora" &
  app_pid=$!
  main=$(window_named 'Lexora -- ')
  sleep 2.5
  view_click 718 312 # 跟读比对
  sleep 0.5
  view_click 551 374 # 开始录音, then 停止
  sleep 2.5
  view_click 551 374
  sleep 5
  shoot "$main" "$2"
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
}
shoot_reading hello reading-good
shoot_reading ruler reading-again

# The publishing tool's two tabs.
scripts/screenshots-publish.sh "build/$preset"
