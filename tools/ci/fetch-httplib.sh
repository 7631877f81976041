#!/bin/sh
# Unpacks cpp-httplib's Debian source package into .deps/cpp-httplib for the
# Windows build of the workbench: Debian's libcpp-httplib-dev is a Linux
# library, while the upstream sources use httplib.h alone, header-only, which
# mingw-w64 builds. Needs the deb-src entry that tools/ci/install-deps.sh adds.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
dest="$root/.deps/cpp-httplib"
[ -f "$dest/httplib.h" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source --download-only cpp-httplib >/dev/null 2>&1)
tarball=$(ls "$work"/cpp-httplib_*.orig.tar.* | head -n 1)
mkdir -p "$dest"
tar -xf "$tarball" -C "$dest" --strip-components=1
test -f "$dest/httplib.h"
