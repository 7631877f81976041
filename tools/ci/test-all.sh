#!/bin/sh
# Builds the native, sanitizer and Windows builds and runs every test in each
# (the Windows one under Wine). Exits non-zero when any build or test fails.
set -eu
cd "$(dirname "$0")/../.."
jobs=${TERVOLIN_JOBS:-2}
status=0

run_preset() {
  preset=$1
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset: test"
  ctest --preset "$preset" -j "$jobs" || status=1
}

run_preset native
run_preset sanitize
run_preset windows
exit $status
