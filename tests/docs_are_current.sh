#!/bin/sh
# The README's and the manual's pictures and the rendered manual are what
# tools/release/make-docs.sh makes from the sources now.
#   docs_are_current.sh SOURCE_DIR BUILD_DIR
set -eu
root=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/release/make-docs.sh" "$build" "$work" 2>"$work/errors.txt" || { cat "$work/errors.txt"; exit 1; }
status=0
for picture in "$work"/*.svg "$work"/manual/*.svg; do
  committed=$root/docs/${picture#"$work"/}
  if ! cmp -s "$picture" "$committed"; then
    echo "stale: docs/${picture#"$work"/}"
    status=1
  fi
done
for committed in "$root"/docs/manual/*.svg; do
  [ -e "$work/manual/$(basename "$committed")" ] || { echo "not made any more: docs/manual/$(basename "$committed")"; status=1; }
done
"$root/tools/release/render-manual.py" "$(cat "$build/tervolin-version.txt")" \
  "$(cat "$build/tervolin-file-version.txt")" "$work/manual.html"
cmp -s "$work/manual.html" "$root/docs/manual.html" || { echo "stale: docs/manual.html"; status=1; }
[ $status -eq 0 ] || echo "run tools/release/make-docs.sh and commit what it changes"
exit $status
