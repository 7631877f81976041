#!/bin/sh
# Fails when a file includes from a folder its layer may not use. The layers
# and what each may include are the table in cmake/layers.txt, which CMake
# also reads to make the plug-in's libraries.
#   check-layers.sh [ROOT]
set -u
root=${1:-$(dirname "$0")/../..}
cd "$root" || exit 2
table=cmake/layers.txt
[ -r "$table" ] || { echo "check-layers: cannot read $table"; exit 2; }

# The rows of the table: folder, library, names.
rows=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$table")
folders=$(echo "$rows" | awk '{print $1}')

# folder: the folders and prefixes its includes may name (an include without
# a folder is the file's own folder): its row's names, and through each name
# that is another row, that row's.
allowed() {
  echo "$rows" | awk -v want="$1" '
    { names[$1] = ""; for (i = 3; i <= NF; ++i) names[$1] = names[$1] " " $i }
    function add(folder,   n, list, i) {
      n = split(names[folder], list, " ")
      for (i = 1; i <= n; ++i) {
        if (list[i] in seen) continue
        seen[list[i]] = 1; order = order " " list[i]
        if (list[i] != folder && (list[i] in names)) add(list[i])
      }
    }
    END { add(want); print substr(order, 2) }'
}

status=0
checked=0
for folder in $folders; do
  [ -d "$folder" ] || continue
  permitted=$(allowed "$folder")
  for file in $(find "$folder" -name '*.cpp' -o -name '*.hpp' -o -name '*.h' | sort); do
    # The validator's own tests may reach what they test.
    case $file in tools/validator/tests/*) continue ;; esac
    for included in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file"); do
      case $included in
        */*) ;;
        *) continue ;;
      esac
      prefix=${included%%/*}
      [ "$prefix" = tools ] && prefix=$(echo "$included" | cut -d/ -f1-2)
      checked=$((checked + 1))
      case " $permitted " in
        *" $prefix "*) ;;
        *) echo "$file: includes \"$included\": $folder/ may include only from: $permitted"; status=1 ;;
      esac
    done
  done
done
[ $status -eq 0 ] && echo "layers: $checked includes checked, none goes up or sideways"
exit $status
