#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs each
# for SECONDS (default 60). Exits non-zero when any target finds a crash, a hang, a leak or undefined
# behaviour; the input that did it is kept in build/fuzz/findings/TARGET/ and the run's log beside it.
# New inputs each run finds go to build/fuzz/corpus/TARGET/ and are used again by the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=(fuzz_wav fuzz_course_source fuzz_table fuzz_kvtml fuzz_records fuzz_filehead)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
status=0
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  findings=build/fuzz/findings/$target
  mkdir -p "$corpus" "$findings"
  log=$findings/run.log
  if build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -artifact_prefix="$findings/" -print_final_stats=1 \
      "$corpus" fuzz/seeds/"$target" >"$log" 2>&1; then
    runs=$(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    echo "$target: no finding in ${seconds} s ($runs runs)"
  else
    echo "$target: FINDING, see $log and $findings/" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit $status
