#!/bin/sh
# Checks that the plug-in exports exactly the fourteen names the host looks up,
# undecorated, and (for the DLL) imports nothing but Windows system DLLs.
#   check_exports.sh windows|linux PATH EXPECTED-NAMES-FILE
set -u
mode=$1
file=$2
# The names, sorted, one a line: the build writes them from the export list.
expected=$(cat "$3") || { echo "cannot read the expected names from $3"; exit 1; }
status=0

if [ "$mode" = windows ]; then
  dump=$(x86_64-w64-mingw32-objdump -p "$file") || { echo "objdump failed on $file"; exit 1; }
  # Export name table rows look like "	[   0] +base[   1] 0000 MQCheckVersion".
  exports=$(printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
            grep -E '^\s*\[ *[0-9]+\]' | awk '{print $NF}' | sort)
  imports=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  allowed="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll"
  for dll in $imports; do
    case " $allowed " in
      *" $dll "*) ;;
      *) echo "imports a DLL that is not part of Windows: $dll"; status=1 ;;
    esac
  done
  echo "imports: $(echo $imports)"
else
  exports=$(nm -D --defined-only "$file" | awk '$2 ~ /^[TtWwDdBbRrVvi]$/ {print $3}' | sort)
fi

if [ "$exports" != "$expected" ]; then
  echo "export table differs from the fourteen plug-in functions:"
  printf '%s\n' "$expected" > /tmp/tervolin-expected.$$
  printf '%s\n' "$exports" > /tmp/tervolin-actual.$$
  diff /tmp/tervolin-expected.$$ /tmp/tervolin-actual.$$
  rm -f /tmp/tervolin-expected.$$ /tmp/tervolin-actual.$$
  status=1
else
  echo "exports: the fourteen plug-in functions, undecorated"
fi
exit $status
