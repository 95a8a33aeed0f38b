#!/usr/bin/env bash
# Start-up of the real program under Xvfb: the time from launch until its window is mapped, and its
# resident memory 3 s later. One warm-up run, then RUNS (default 5) measured runs; prints each run
# and the medians. Each run starts from a fresh copy of the staged sample course.
# LEXORA_PRESET picks the build (default: release); the build must exist (scripts/run.sh or
# cmake --build --preset release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${LEXORA_PRESET:-release}
runs=${RUNS:-5}
stage="build/$preset/stage"
[ -x "$stage/Lexora/lexora" ] || { echo "no program in $stage; build the $preset preset first" >&2; exit 1; }

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
export SDL_AUDIODRIVER=dummy

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# One run: prints "<ms to mapped> <resident KiB 3 s later>". The map is seen as xev reports it on the
# root window, without polling.
measure() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"
  cp -r "$stage/." "$work/tree/"
  coproc XEV { exec xev -root -event substructure; }
  local xev_pid=$XEV_PID line start mapped rss
  # xev is listening once it has drawn nothing and read nothing; give it a moment to connect.
  sleep 0.3
  start=$(now_ms)
  "$work/tree/Lexora/lexora" >/dev/null 2>&1 &
  app_pid=$!
  while read -r line <&"${XEV[0]}"; do
    case $line in MapNotify*) break ;; esac
  done
  mapped=$(now_ms)
  kill "$xev_pid" 2>/dev/null || true
  wait "$xev_pid" 2>/dev/null || true
  xdotool search --onlyvisible --name 'Lexora -- ' >/dev/null || { echo "the window mapped is not Lexora's" >&2; exit 1; }
  sleep 3
  rss=$(sed -n 's/^VmRSS:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$app_pid/status")
  kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  echo "$((mapped - start)) $rss"
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure >/dev/null # warm-up: file cache, font cache
: >"$work/results"
for i in $(seq "$runs"); do
  result=$(measure)
  echo "run $i: mapped after ${result% *} ms, resident $(( ${result#* } / 1024 )) MiB"
  echo "$result" >>"$work/results"
done
echo "median time to mapped window: $(cut -d' ' -f1 "$work/results" | median) ms"
echo "median resident memory 3 s later: $(cut -d' ' -f2 "$work/results" | median | awk '{ printf "%.1f", $1 / 1024 }') MiB"
