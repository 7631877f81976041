#!/bin/sh
# Unpacks the upstream sources of a Debian source package into a folder of
# .deps/ for the Windows build, which cannot use Debian's Linux libraries.
# Needs a deb-src entry for the running Debian suite; tools/ci/install-deps.sh
# adds one.
#   fetch-debian-source.sh PACKAGE FOLDER FILE   (FILE: present once unpacked)
set -eu
package=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
dest="$root/.deps/$2"
[ -f "$dest/$3" ] && exit 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source --download-only "$package" >/dev/null 2>&1)
tarball=$(ls "$work/${package}"_*.orig.tar.* | head -n 1)
mkdir -p "$dest"
tar -xf "$tarball" -C "$dest" --strip-components=1
test -f "$dest/$3"
