#!/bin/sh
# The validator's --work-dir: a folder that does not exist yet is made; the
# run works in a private folder inside it, so a link planted under one of its
# scratch files' names is left alone (and so is what it points to); and
# nothing of the run is left behind, also when the run is interrupted (which
# still writes the JUnit file, marked interrupted).
#   scratch_folder_check.sh VALIDATOR SCRATCH
set -eu
validator=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
echo "keep" >"$dir/victim"
"$validator" --level 1 --seed 7 --work-dir "$dir/nested" >"$dir/first.log" 2>&1 ||
  { cat "$dir/first.log"; exit 1; }
test -d "$dir/nested" || { echo "--work-dir was not made"; exit 1; }
ln -s ../victim "$dir/nested/tervolin-validate-text-7.so"
"$validator" --level 1 --seed 7 --work-dir "$dir/nested" >"$dir/second.log" 2>&1 ||
  { cat "$dir/second.log"; exit 1; }
test "$(cat "$dir/victim")" = "keep" || { echo "a planted link was written through"; exit 1; }
left=$(ls -A "$dir/nested" | grep -v '^tervolin-validate-text-7\.so$' || true)
test -z "$left" || { echo "left behind in --work-dir: $left"; exit 1; }
for signal in INT TERM; do
  rm -f "$dir/junit.xml"
  "$validator" --level 5 --picks 100000000 --seed 7 --work-dir "$dir/nested" --junit "$dir/junit.xml" \
    >"$dir/interrupted.log" 2>&1 &
  pid=$!
  # Until the picks are under way (the level-1 checks are done).
  tries=0
  until grep -q "MQEnumString" "$dir/interrupted.log" || [ $tries -ge 200 ]; do
    sleep 0.05
    tries=$((tries + 1))
  done
  sleep 0.5
  kill -s "$signal" "$pid"
  status=0
  wait "$pid" || status=$?
  case $signal in INT) expected=130 ;; TERM) expected=143 ;; esac
  test "$status" -eq "$expected" || { echo "SIG$signal: exit status $status, not $expected"; cat "$dir/interrupted.log"; exit 1; }
  left=$(ls -A "$dir/nested" | grep -v '^tervolin-validate-text-7\.so$' || true)
  test -z "$left" || { echo "SIG$signal left behind in --work-dir: $left"; exit 1; }
  grep -q "name=\"interrupted\"" "$dir/junit.xml" 2>/dev/null ||
    { echo "SIG$signal: no JUnit file marked interrupted"; cat "$dir/interrupted.log"; exit 1; }
  grep -q "stopped by SIG$signal" "$dir/junit.xml" || { echo "SIG$signal: the JUnit file names no signal"; exit 1; }
  grep -q "name=\"export table holds" "$dir/junit.xml" || { echo "SIG$signal: the JUnit file lost what ran"; exit 1; }
done
echo "scratch folder kept to itself"
