#!/usr/bin/env bash
# Start-up of the real program under Xvfb beside a bare Qt window (a menu and a Chinese label, built
# here from bench/bare_window.cpp): the time from launch until each window is mapped, measured in
# turn in the same run, their medians and their ratio; Lexora's resident memory 3 s after start, with
# and without the release of font pages; and how long after its window is mapped the first word's
# picture is on screen and its voice starts. Both programs are measured twice: with a session bus
# running (dbus-run-session) and without one. The ratio is only worth something when the yardstick
# is quick: when the bare window itself takes longer than 60 ms to map, no ratio is printed.
# KWordQuiz, when installed, is measured the same way for a second ratio.
# One warm-up run of each, then RUNS (default 9) measured runs of each. Every Lexora run starts from
# a fresh copy of the staged sample course.
# LEXORA_PRESET picks the build (default: release); the program must be built (scripts/run.sh or
# cmake --build --preset release); the bare window is built here.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${LEXORA_PRESET:-release}
runs=${RUNS:-9}
stage="build/$preset/stage"
[ -x "$stage/Lexora/lexora" ] || { echo "no program in $stage; build the $preset preset first" >&2; exit 1; }
cmake --build --preset "$preset" --target bench_bare_window bench_keep_pages >/dev/null
bare="build/$preset/bench/bench_bare_window"
keep_pages="$PWD/build/$preset/bench/libbench_keep_pages.so"
kwordquiz=$(command -v kwordquiz || true)

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

. scripts/lib/xvfb.sh
start_xvfb "$work"
# The disk driver plays in real time into a file, so the voice's start can be seen from outside.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/voice.raw"
# Qt's own timing lines of the program's start-up (off unless asked for), in ms since its start.
export QT_LOGGING_RULES="lexora.startup.debug=true" QT_MESSAGE_PATTERN="%{category} %{message} %{time process}"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# One run of PROGRAM: prints "<ms to mapped> <resident KiB 3 s later>"; its stderr goes to $work/log.
# The map is seen as xev reports it on the root window, without polling.
launch() {
  local title=$1 line start mapped rss
  shift
  coproc XEV { exec xev -root -event substructure; }
  local xev_pid=$XEV_PID
  # Give xev time to connect before anything is mapped (longer on a busy machine).
  sleep "${XEV_WAIT:-1}"
  start=$(now_ms)
  "$@" >/dev/null 2>"$work/log" &
  app_pid=$!
  while :; do
    read -r -t 60 line <&"${XEV[0]}" || { echo "no window of $title was seen mapped" >&2; exit 1; }
    case $line in MapNotify*) break ;; esac
  done
  mapped=$(now_ms)
  kill "$xev_pid" 2>/dev/null || true
  wait "$xev_pid" 2>/dev/null || true
  xdotool search --onlyvisible --name "$title" >/dev/null || { echo "the window mapped is not $title" >&2; exit 1; }
  sleep 3
  rss=$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$app_pid/status")
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  echo "$((mapped - start)) $rss"
}

# Lexora's own timing line NAME, in ms since its start.
logged() { sed -n "s/^lexora.startup $1 *\([0-9.]*\)$/\1/p" "$work/log" | head -n1 | awk '{ printf "%d", $1 * 1000 }'; }

# One Lexora run; with "keep" the font pages are not released (madvise does nothing).
lexora_run() {
  rm -rf "$work/tree" "$work/voice.raw"
  mkdir -p "$work/tree"
  cp -r "$stage/." "$work/tree/"
  local result exposed picture voice
  if [ "${1:-}" = keep ]; then
    result=$(launch 'Lexora -- ' env LD_PRELOAD="$keep_pages" "$work/tree/Lexora/lexora")
  else
    result=$(launch 'Lexora -- ' "$work/tree/Lexora/lexora")
  fi
  exposed=$(logged mapped)
  picture=$(logged picture)
  voice=$(logged voice)
  echo "$result $((picture - exposed)) $((voice - exposed)) $(logged qt) $(logged built) $(logged read) $exposed"
}

bare_run() { launch 'bare window' "$bare" | cut -d' ' -f1; }
kwordquiz_run() { launch 'KWordQuiz' "$kwordquiz" | cut -d' ' -f1; }

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# All runs of one setting of the session bus: "bus" (one runs, started for the runs) or "none".
series() {
  local bus=$1
  : >"$work/lexora"
  : >"$work/bare"
  : >"$work/kept"
  : >"$work/kwordquiz"
  # Warm-up: file cache, font cache.
  bare_run >/dev/null
  lexora_run >/dev/null
  [ -n "$kwordquiz" ] && kwordquiz_run >/dev/null
  for i in $(seq "$runs"); do
    b=$(bare_run)
    l=$(lexora_run)
    k=$(lexora_run keep)
    set -- $l
    echo "[$bus] run $i: bare window mapped after $b ms; Lexora after $1 ms, resident $(($2 / 1024)) MiB" \
      "($(($(echo "$k" | cut -d' ' -f2) / 1024)) MiB keeping font pages), picture +$3 ms, voice +$4 ms"
    echo "$b" >>"$work/bare"
    echo "$l" >>"$work/lexora"
    echo "$k" >>"$work/kept"
    [ -n "$kwordquiz" ] && kwordquiz_run >>"$work/kwordquiz"
  done
  local bare_median lexora_median
  bare_median=$(median <"$work/bare")
  lexora_median=$(cut -d' ' -f1 "$work/lexora" | median)
  echo "[$bus] median time to mapped window: bare Qt window $bare_median ms (the yardstick), Lexora $lexora_median ms"
  if awk -v b="$bare_median" 'BEGIN { exit !(b > 60) }'; then
    echo "[$bus] no ratio: the bare window itself took $bare_median ms (over 60 ms), so this machine's start-up of" \
      "any Qt window is slow and a ratio would flatter Lexora"
  else
    echo "[$bus] ratio Lexora / bare window: $(ratio "$lexora_median" "$bare_median")"
  fi
  if [ -n "$kwordquiz" ]; then
    local kwordquiz_median
    kwordquiz_median=$(median <"$work/kwordquiz")
    echo "[$bus] median KWordQuiz $kwordquiz_median ms; ratio Lexora / KWordQuiz: $(ratio "$lexora_median" "$kwordquiz_median")"
  else
    echo "[$bus] KWordQuiz is not installed: no ratio against it"
  fi
  echo "[$bus] median resident memory 3 s later: $(cut -d' ' -f2 "$work/lexora" | median | awk '{ printf "%.1f", $1 / 1024 }') MiB," \
    "keeping the font pages $(cut -d' ' -f2 "$work/kept" | median | awk '{ printf "%.1f", $1 / 1024 }') MiB"
  echo "[$bus] median after the window is mapped: first picture on screen +$(cut -d' ' -f3 "$work/lexora" | median) ms, voice started +$(cut -d' ' -f4 "$work/lexora" | median) ms"
  echo "[$bus] median ms since Lexora's start: Qt ready $(cut -d' ' -f5 "$work/lexora" | median), window built $(cut -d' ' -f6 "$work/lexora" | median), course read $(cut -d' ' -f7 "$work/lexora" | median), window on screen $(cut -d' ' -f8 "$work/lexora" | median)"
}

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
if [ "${1:-}" != --inner ]; then
  # Without a session bus: nothing to connect to (an autolaunch, where offered, is paid by both).
  (unset DBUS_SESSION_BUS_ADDRESS; series none)
  # With one: a bus started for these runs alone.
  dbus-run-session -- "$0" --inner
else
  series bus
fi
