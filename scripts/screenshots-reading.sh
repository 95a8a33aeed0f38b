#!/usr/bin/env bash
# Screenshots of the reader's recording panel after a reading has been judged, taken under a private
# Xvfb display with a synthesised voice fed into the microphone (SDL's disk capture):
#   build/screenshots/reading-good.png    "hello" read for the word hello
#   build/screenshots/reading-again.png   "ruler" read for the word hello, the letters to work on marked
# Usage: scripts/screenshots-reading.sh [BUILD_DIR]   (default build/release; built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
app=$build/stage/Lexora/lexora
if [[ ! -x $app ]]; then
  preset=$(basename "$build")
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
fi
out=build/screenshots
mkdir -p "$out"

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A copy of the staged tree: the readings and the learner's record stay with this run.
cp -r "$build/stage/." "$work/"
export XDG_CONFIG_HOME="$work/config"

. scripts/lib/xvfb.sh
start_xvfb "$work"
export QT_QPA_PLATFORM=xcb
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE=/dev/null

# voice TEXT FILE: TEXT read by flite after a short pause, as the panel records (44.1 kHz, 2 channels,
# 16 bits, no header); silence follows once the file is read.
voice() {
  flite -voice kal16 -t "$1" -o "$work/voice.wav"
  sox "$work/voice.wav" -r 44100 -c 2 -b 16 -e signed-integer -t raw "$2" pad 0.4 0
}

# shoot_reading TEXT NAME: starts Lexora on the first word (hello) with TEXT at its microphone, shows the
# recording panel, records for 2.5 s and stops, and pictures the verdict.
shoot_reading() {
  voice "$1" "$work/$2.raw"
  SDL_DISKAUDIOFILEIN="$work/$2.raw" "$work/Lexora/lexora" >"$work/lexora.log" 2>&1 &
  app_pid=$!
  local main bar
  main=$(timeout 30 xdotool search --sync --onlyvisible --name 'Lexora -- ' | head -n 1)
  [[ -n $main ]] || { echo "Lexora did not start; it said:" >&2; cat "$work/lexora.log" >&2; exit 1; }
  sleep 2.5
  # The page sits below the menu bar; its view container starts at (8, 72).
  bar=$(($(xdotool getwindowgeometry --shell "$main" | sed -n 's/^HEIGHT=//p') - 626))
  # 跟读比对, then 开始录音 in the panel that it shows, and the same button (now 停止) again.
  xdotool mousemove --window "$main" $((8 + 708 + 10)) $((bar + 72 + 300 + 12)) click 1
  sleep 0.5
  xdotool mousemove --window "$main" $((8 + 508 + 43)) $((bar + 72 + 330 + 44)) click 1
  sleep 2.5
  xdotool mousemove --window "$main" $((8 + 508 + 43)) $((bar + 72 + 330 + 44)) click 1
  # The reading is played back first; its verdict follows.
  sleep 5
  import -window "$main" "$out/$2.png"
  echo "saved $out/$2.png"
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

shoot_reading hello reading-good
shoot_reading ruler reading-again
