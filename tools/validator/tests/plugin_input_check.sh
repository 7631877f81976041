#!/bin/sh
# The validator's --plugin names something that is no library file: a folder,
# a device, a pipe, a path with nothing there. Each is refused at once, with
# exit status 2 and a message naming it, before any check runs (no abort, no
# endless read, no wait for a writer). A name with control characters in it
# is shown with them escaped, so that it cannot steer the terminal.
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
esc=$(printf '\033')
status=0
timeout 20 "$validator" --level 1 --plugin "$dir/${esc}]0;title$(printf '\007')${esc}[2J.so" >"$dir/out.log" 2>"$dir/err.log" ||
  status=$?
test "$status" -eq 2 || { echo "a name with control characters: exit status $status, not 2"; exit 1; }
grep -q -F -- '\u001b]0;title\u0007\u001b[2J.so: ' "$dir/err.log" ||
  { echo "a name with control characters: not shown escaped"; cat -v "$dir/err.log"; exit 1; }
if tr -d '\n' <"$dir/err.log" | LC_ALL=C grep -q '[[:cntrl:]]'; then
  echo "a name with control characters reached standard error raw"; cat -v "$dir/err.log"; exit 1
fi
rm -rf "$dir"
echo "every unreadable --plugin refused"
