#!/bin/sh
# Runs the benchmarks of the release build and prints the table.
#   tools/bench/run.sh [BUILD_DIR] [extra Google Benchmark flags]
# First checks that every floor does the same work as the plug-in; the raw
# results stay in BUILD_DIR/bench-results.json.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/release}
[ $# -gt 0 ] && shift
bench=$build/bin/tervolin_bench
if [ ! -x "$bench" ]; then
  echo "no $bench: cmake --preset release && cmake --build --preset release" >&2
  exit 2
fi
"$bench" --verify >/dev/null || { "$bench" --verify; exit 1; }
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
# The console shows each case as it finishes (a copy stays in the build).
rm -f "$build/bench-failed"
{ "$bench" --benchmark_out="$build/bench-results.json" --benchmark_out_format=json \
    --benchmark_format=console --benchmark_repetitions=5 "$@" 2>&1 || touch "$build/bench-failed"; } |
  tee "$build/bench-console.txt"
[ ! -e "$build/bench-failed" ] || { rm -f "$build/bench-failed"; exit 1; }
python3 "$root/tools/bench/table.py" "$build/bench-results.json"
