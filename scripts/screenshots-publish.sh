#!/usr/bin/env bash
# Screenshots of the publishing tool's two tabs, taken under a private Xvfb display:
#   build/screenshots/publish-pictures.png, build/screenshots/publish-audio.png
# Usage: scripts/screenshots-publish.sh [BUILD_DIR]   (default build/release; built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
tool=$build/stage/Lexora/lexora-publish
if [[ ! -x $tool ]]; then
  preset=$(basename "$build")
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j2 --target lexora-publish
fi
out=build/screenshots
mkdir -p "$out"

work=$(mktemp -d)
xvfb_pid=
tool_pid=
cleanup() {
  [[ -n $tool_pid ]] && kill "$tool_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

. scripts/lib/xvfb.sh
start_xvfb "$work"
export QT_QPA_PLATFORM=xcb

printf 'apple\nice cream\nT-shirt\n' >"$work/words.txt"
"$tool" >"$work/tool.log" 2>&1 &
tool_pid=$!

# Waits for a visible window whose name matches and gives it the keyboard.
focus() {
  local id
  id=$(timeout 30 xdotool search --sync --onlyvisible --name "$1" | tail -1)
  [[ -n $id ]] || { echo "no window named $1; the tool said:" >&2; cat "$work/tool.log" >&2; exit 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.5
  echo "$id"
}
keys() { xdotool key --delay 80 "$@"; sleep 0.4; }

# The access prompt, then the word list through the open-file dialog.
focus 'Lexora' >/dev/null
xdotool type --delay 60 qc
keys Return
window=$(focus 'Lexora')
keys Tab space
focus 'Load words' >/dev/null
xdotool type --delay 20 "$work/words.txt"
keys Return
window=$(focus 'Lexora')
import -window "$window" "$out/publish-pictures.png"

# List1, then the tab bar: Right shows "Audio"; its check runs over empty folders.
keys Tab Tab Right
for _ in 1 2 3 4 5 6 7 8 9; do keys Tab; done
keys space
keys Return
window=$(focus 'Lexora')
import -window "$window" "$out/publish-audio.png"
echo "screenshots: $out/publish-pictures.png $out/publish-audio.png"
