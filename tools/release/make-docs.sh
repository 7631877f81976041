#!/bin/sh
# Draws the pictures of the README and the user manual with the runner, from
# the sample scenes (every operation, most once more with "Trans(&f)orm", and
# the dialog), then renders the manual into docs/manual.html with them. Run
# from anywhere, after building the runner (native preset). The test
# docs_are_current fails when the committed files differ from what this makes.
#   make-docs.sh [BUILD_DIR [OUT_DIR]]   (build/native; docs)
# With OUT_DIR, only the pictures are drawn, into OUT_DIR.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/native}
run=$build/bin/tervolin-run
out=${2:-$root/docs}
mkdir -p "$out/manual"
cd "$root"

# picture NAME SCENE ACTIONS...: one pick, drawn as OUT/manual/NAME.svg.
picture() {
  name=$1
  scene=$2
  shift 2
  "$run" "scenes/$scene" "$@" --show-scene "$out/manual/$name.svg" >/dev/null
}
# The same pick, once as it is and once with Trans(&f)orm.
both() {
  name=$1
  scene=$2
  shift 2
  picture "$name" "$scene" "$@"
  picture "$name-transform" "$scene" --toggle "Trans(&f)orm" "$@"
}

both center-vertices tilted-box.json --click "Center of (&V)ertexes"
both center-object tilted-box.json --click "Center of the O(&b)ject"
both line edge-loop.json --click "(&L)ine"
picture vertex-x tilted-box.json --select-vertices Box:6 --click "set to X" --click "(&O)rigin to Vertex"
both normal wedge.json --click "(&N)ormal of a Face"
both vertex tilted-box.json --select-vertices Box:6 --click "(&O)rigin to Vertex"
both camera tilted-box.json --click "(&C)amera"
picture camera-x tilted-box.json --click "set to X" --click "(&C)amera"
both rotate-x tilted-box.json --click "&X"
both mirror-x tilted-box.json --click "X"
picture mirror-x-global tilted-box.json --toggle "(&g)lobal" --click "X"
both copy copy-targets.json --click "Copy"
both clear tilted-box.json --click "Clear"

# The dialog, the button of its pick marked.
"$run" scenes/tilted-box.json --click "Center of the O(&b)ject" --show-dialog "$out/manual/dialog.svg" >/dev/null
# The README's pair.
"$run" scenes/edge-loop.json --click "(&L)ine" --show-scene "$out/ring-line.svg" --show-dialog "$out/dialog.svg" \
  >/dev/null

if [ $# -lt 2 ]; then
  "$root/tools/release/render-manual.py" "$(cat "$build/tervolin-version.txt")" \
    "$(cat "$build/tervolin-file-version.txt")"
fi
