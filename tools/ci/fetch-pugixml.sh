#!/bin/sh
# Unpacks pugixml's Debian source package into .deps/pugixml for the Windows
# build (Debian ships pugixml for Linux only). Needs a deb-src entry for the
# running Debian suite; tools/ci/install-deps.sh adds one.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
dest="$root/.deps/pugixml"
[ -f "$dest/src/pugixml.cpp" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source --download-only pugixml >/dev/null 2>&1)
tarball=$(ls "$work"/pugixml_*.orig.tar.gz | head -n 1)
mkdir -p "$dest"
tar -xzf "$tarball" -C "$dest" --strip-components=1
test -f "$dest/src/pugixml.cpp"
