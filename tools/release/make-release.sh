#!/bin/sh
# Makes the release into dist/ (or --out DIR), from the checked-out commit:
#   Tervolin-VERSION-win64.zip            the stripped plug-in, licence,
#                                         notices, changelog and manual
#   Tervolin-VERSION-win64.debug          the plug-in's debug information
#   Tervolin-tools-VERSION-win64.zip      runner, validator, replacement host,
#                                         workbench with its page, sample
#                                         scenes, licences
#   Tervolin-tools-VERSION-linux-x86_64.tar.gz   the same for Linux
#   SHA256SUMS                            for sha256sum -c
# The builds are reproducible: the same commit gives the same bytes from any
# folder at any time (time stamps from the last commit, no build folder in the
# binaries, archive entries sorted with fixed times, owners and modes).
#   --plugin-only   the plug-in's archive and debug file alone
#   --windows-only  leave out the Linux tools
#   --out DIR       where the archives go (default: dist)
# Signing: with TERVOLIN_SIGN_CERT and TERVOLIN_SIGN_KEY naming a PEM
# certificate (chain) and its private key, the DLL is signed with osslsigncode
# (TERVOLIN_SIGN_PASS_FILE: a file holding the key's password, if it has one).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/dist
what=all
while [ $# -gt 0 ]; do
  case $1 in
    --plugin-only) what=plugin ;;
    --windows-only) what=windows ;;
    --out) out=$2; shift ;;
    *) echo "make-release: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
jobs=${TERVOLIN_JOBS:-2}
cd "$root"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
# ccache, when the build uses it, must not rewrite the sources' paths (its
# base_dir does): the debug information would name them differently from a
# build without it.
export CCACHE_BASEDIR=
umask 022
# pugixml's and cpp-httplib's sources for the Windows build (once; needs a
# deb-src entry).
[ -f "$root/.deps/pugixml/src/pugixml.cpp" ] || "$root/tools/ci/fetch-pugixml.sh"
[ "$what" = plugin ] || [ -f "$root/.deps/cpp-httplib/httplib.h" ] || "$root/tools/ci/fetch-httplib.sh"

build() {
  dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS=-g -DCMAKE_CXX_FLAGS=-g \
    -DTERVOLIN_TESTS=OFF -DTERVOLIN_REPRODUCIBLE=ON "$@" >/dev/null
}

# --- Windows
win=$root/build/dist-windows
build "$win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
version=$(cat "$win/tervolin-version.txt")
if [ "$what" = plugin ]; then
  cmake --build "$win" -j "$jobs" --target Tervolin
else
  cmake --build "$win" -j "$jobs" --target Tervolin tervolin-run tervolin-validate tervolin-workbench mqhost \
    mqhost_incomplete
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
rm -rf "$out"
mkdir -p "$out"

# The plug-in: its debug information kept apart, linked by name from the
# stripped DLL; then signed when a certificate is given.
cmake --install "$win" --component plugin --prefix "$stage/win" >/dev/null
debug=Tervolin-$version-win64.debug
dll=$stage/win/bin/Tervolin.dll
x86_64-w64-mingw32-objcopy --only-keep-debug "$dll" "$out/$debug"
x86_64-w64-mingw32-strip --strip-all "$dll"
(cd "$out" && x86_64-w64-mingw32-objcopy --add-gnu-debuglink="$debug" "$dll")
if [ -n "${TERVOLIN_SIGN_CERT:-}" ]; then
  "$root/tools/release/sign.sh" "$dll"
else
  echo "make-release: Tervolin.dll is unsigned (set TERVOLIN_SIGN_CERT and TERVOLIN_SIGN_KEY to sign it)"
fi

docs() {
  cp "$root/LICENSE" "$root/THIRD-PARTY-NOTICES" "$1/"
}

# Files get the commit's time and plain modes; entries go in sorted order.
normalise() {
  find "$1" -type d -exec chmod 755 {} +
  find "$1" -type f -exec chmod 644 {} +
  find "$1" -type f \( -name '*.exe' -o -name '*.dll' -o -name '*.so' -o -name 'tervolin-*' \) \
    ! -name '*.json' -exec chmod 755 {} +
  find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}
make_zip() {  # folder-name archive
  normalise "$stage/$1"
  (cd "$stage" && find "$1" -type f | sort | zip -q -X -D -9 "$out/$2" -@)
}
make_tar() {
  normalise "$stage/$1"
  (cd "$stage" && tar --format=gnu --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 \
    --numeric-owner -cf - "$1" | gzip -9n >"$out/$2")
}

name=Tervolin-$version-win64
mkdir "$stage/$name"
cp "$dll" "$stage/$name/"
docs "$stage/$name"
cp "$root/CHANGELOG.md" "$stage/$name/"
cp "$root/docs/manual.html" "$stage/$name/Tervolin-manual.html"
make_zip "$name" "$name.zip"

if [ "$what" != plugin ]; then
  # The tools run from their folder: the runner, the validator and the
  # workbench find the plug-in and the replacement host beside themselves,
  # and the workbench its page in workbench/.
  cmake --install "$win" --component tools --prefix "$stage/win" --strip >/dev/null
  name=Tervolin-tools-$version-win64
  mkdir "$stage/$name"
  cp -r "$stage"/win/bin/*.exe "$stage"/win/bin/*.dll "$stage"/win/bin/workbench "$stage/$name/"
  cp -r "$root/scenes" "$stage/$name/"
  docs "$stage/$name"
  make_zip "$name" "$name.zip"
fi

if [ "$what" = all ]; then
  lin=$root/build/dist-linux
  build "$lin"
  cmake --build "$lin" -j "$jobs" --target Tervolin tervolin-run tervolin-validate tervolin-workbench mqhost \
    mqhost_incomplete
  cmake --install "$lin" --prefix "$stage/linux" --strip >/dev/null
  name=Tervolin-tools-$version-linux-x86_64
  mkdir "$stage/$name"
  cp -r "$stage"/linux/bin/* "$stage/$name/"
  cp -r "$root/scenes" "$stage/$name/"
  docs "$stage/$name"
  make_tar "$name" "$name.tar.gz"
fi

chmod 644 "$out"/*
(cd "$out" && for file in *.zip *.debug *.tar.gz; do [ -e "$file" ] && echo "$file"; done | xargs sha256sum -- >SHA256SUMS)
echo "make-release: Tervolin $version into $out:"
(cd "$out" && ls -l)
