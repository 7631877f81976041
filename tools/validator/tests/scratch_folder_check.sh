#!/bin/sh
# The validator's --work-dir: a folder that does not exist yet is made; the
# run works in a private folder inside it, so a link planted under one of its
# scratch files' names is left alone (and so is what it points to); and
# nothing of the run is left behind.
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
echo "scratch folder kept to itself"
