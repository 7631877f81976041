#!/bin/sh
# Fails when a file includes from a folder its layer may not use. Layers,
# bottom up (each may include only itself and the layers below it):
#   protocol, platform              the wire contract; Win32 or our stand-ins
#   binding                         the bound host table
#   geometry, widgets, options      side by side: none includes another
#   operations, dialog              side by side
#   plugin                          the top: exports, plug-in object, settings
# The replacement host includes only protocol/, fileio/ (safe reading and
# replacing of files, below the host and the tools) and its own folders; the
# tools only protocol/, platform/, fileio/, the host's interface and their own.
#   check-layers.sh [ROOT]
set -u
root=${1:-$(dirname "$0")/../..}
cd "$root" || exit 2

# folder: the folders its includes may name (an include without a folder is
# the file's own folder).
allowed() {
  case $1 in
    protocol) echo "protocol" ;;
    platform) echo "platform" ;;
    binding) echo "binding protocol platform" ;;
    geometry) echo "geometry binding protocol platform" ;;
    widgets) echo "widgets binding protocol platform" ;;
    options) echo "options" ;;
    fileio) echo "fileio" ;;
    operations) echo "operations geometry options binding protocol platform" ;;
    dialog) echo "dialog widgets geometry options binding protocol platform" ;;
    plugin) echo "plugin operations dialog geometry widgets options binding protocol platform" ;;
    host) echo "host mqhost protocol fileio" ;;
    tools/loader) echo "loader protocol platform" ;;
    tools/runner) echo "tools/runner loader mqhost protocol platform fileio" ;;
    tools/validator) echo "loader mqhost protocol platform fileio" ;;
    tools/workbench) echo "tools/workbench tools/runner loader mqhost protocol platform fileio" ;;
  esac
}

status=0
checked=0
for folder in protocol platform binding geometry widgets options operations dialog plugin fileio host \
              tools/loader tools/runner tools/validator tools/workbench; do
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
