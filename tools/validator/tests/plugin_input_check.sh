#!/bin/sh
# The validator's --plugin names something that is no library file: a folder,
# a device, a pipe, a path with nothing there. Each is refused at once, with
# exit status 2 and a message naming it, before any check runs (no abort, no
# endless read, no wait for a writer).
#   plugin_input_check.sh VALIDATOR SCRATCH
set -eu
validator=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
mkfifo "$dir/pipe.so"
for plugin in "$dir" /dev/zero "$dir/pipe.so" "$dir/missing.so"; do
  status=0
  timeout 20 "$validator" --level 1 --plugin "$plugin" >"$dir/out.log" 2>"$dir/err.log" || status=$?
  test "$status" -eq 2 || { echo "--plugin $plugin: exit status $status, not 2"; cat "$dir/err.log"; exit 1; }
  grep -q -- "--plugin $plugin: " "$dir/err.log" || { echo "--plugin $plugin: no message"; cat "$dir/err.log"; exit 1; }
  test ! -s "$dir/out.log" || { echo "--plugin $plugin: checks ran"; cat "$dir/out.log"; exit 1; }
done
rm -rf "$dir"
echo "every unreadable --plugin refused"
