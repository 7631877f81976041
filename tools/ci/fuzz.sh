#!/bin/sh
# Builds the libFuzzer targets (the `fuzz` preset, clang) and runs each for a
# bounded time on a scratch copy of its committed seed corpus. Fails when any
# target finds a crash, a leak, an undefined-behaviour report or a timeout.
#   FUZZ_SECONDS=600 tools/ci/fuzz.sh     # longer runs (default 30 s each)
# Findings are kept in build/fuzz/artifacts/ to be replayed with
#   build/fuzz/bin/fuzz_<target> build/fuzz/artifacts/<file>
set -eu
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-30}
jobs=${TERVOLIN_JOBS:-2}

echo "=== fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs" --target fuzzers

artifacts=build/fuzz/artifacts
work=build/fuzz/work
mkdir -p "$artifacts"
status=0
for target in $(cat build/fuzz/fuzzers.txt); do
  name=${target#fuzz_}
  rm -rf "$work/$name"
  mkdir -p "$work/$name"
  if [ -d "fuzz/corpus/$name" ]; then cp "fuzz/corpus/$name"/* "$work/$name"/ 2>/dev/null || true; fi
  log="$work/$name.log"
  echo "=== fuzz: $target for ${seconds} s"
  if "build/fuzz/bin/$target" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 \
       -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$work/$name" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} executions, no finding"
  else
    echo "$target: FOUND A FAULT (log: $log)"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|artifact_prefix|Test unit written)' "$log" | head -20 || true
    status=1
  fi
done
exit $status
