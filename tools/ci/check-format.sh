#!/bin/sh
# Fails when a C++ file of the tree is not as clang-format writes it (the
# style is .clang-format at the root). Layouts kept by hand sit between
# "// clang-format off" and "// clang-format on".
#   check-format.sh [ROOT]
set -eu
root=${1:-$(dirname "$0")/../..}
cd "$root"
folders="protocol platform binding geometry widgets options operations dialog plugin fileio host tools tests bench fuzz"
# shellcheck disable=SC2086
find $folders \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' \) -print | sort |
  xargs clang-format --dry-run -Werror
echo "every C++ file is formatted"
