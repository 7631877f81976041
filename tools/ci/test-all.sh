#!/bin/sh
# Builds the native, sanitizer and Windows builds and runs every test in each
# (the Windows one under Wine), then the plug-in validator on each build's
# plug-in, the release's checks (tools/ci/release-tests.sh) and the fuzzers
# for a bounded time. Exits non-zero when any build,
# test, validation or fuzzer fails.
#   VALIDATE_PICKS=N    menu picks of the native validator run (default 1000;
#                       the sanitizer and Wine runs use a third and a fifth)
#   FUZZ_SECONDS=N      seconds per fuzzer (default 30)
set -eu
cd "$(dirname "$0")/../.."
jobs=${TERVOLIN_JOBS:-2}
picks=${VALIDATE_PICKS:-1000}
status=0

run_preset() {
  preset=$1
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset: test"
  ctest --preset "$preset" -j "$jobs" || status=1
}

# The validator at level 5 on the plug-in of one build. Its output goes to a
# file first: a Wine program's output must not go into a pipe.
validate() {
  preset=$1
  count=$2
  shift 2
  log=build/$preset/validate.log
  echo "=== $preset: validator, level 5, $count picks"
  if "$@" --level 5 --picks "$count" >"$log" 2>&1; then
    tail -n 1 "$log"
  else
    grep -E '^FAIL|seed' "$log" | head -40 || true
    tail -n 1 "$log"
    status=1
  fi
}

# Level 10 on one build, with the "host faults" stage's picks (the level-5
# picks stay with the run above).
validate10() {
  preset=$1
  faults=$2
  count=$3
  shift 3
  log=build/$preset/validate10.log
  echo "=== $preset: validator, level 10, $faults picks under host faults"
  if "$@" --level 10 --picks "$count" --host-faults "$faults" >"$log" 2>&1; then
    tail -n 1 "$log"
  else
    grep -E '^FAIL|seed' "$log" | head -40 || true
    tail -n 1 "$log"
    status=1
  fi
}

run_preset native
validate native "$picks" build/native/bin/tervolin-validate
validate10 native 1000 200 build/native/bin/tervolin-validate
run_preset sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
validate sanitize $((picks / 3)) build/sanitize/bin/tervolin-validate
validate10 sanitize 1000 0 build/sanitize/bin/tervolin-validate
unset ASAN_OPTIONS UBSAN_OPTIONS
run_preset windows
TERVOLIN_WINE_TIMEOUT=900 validate windows $((picks / 5)) build/windows/wine-run.sh build/windows/bin/tervolin-validate.exe
echo "=== release"
tools/ci/release-tests.sh || status=1
tools/ci/fuzz.sh || status=1
exit $status
