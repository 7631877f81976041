#!/bin/sh
# The release, checked as a user would meet it. Needs the Windows build
# (build/windows, for its Wine runner) and a committed checkout.
#  1. Reproducible: the commit is cloned into two folders of different names
#     and depths, and the release made in each, at different times, without
#     ccache: the first makes the whole release, the second the plug-in's
#     archive alone. The DLL, its debug file and the plug-in's archive must
#     be byte-identical; the first, made again later, must give the same
#     tools archives.
#  2. Installed from the archive: both Windows archives unzipped into an
#     empty folder; under Wine, the validator at level 5 on the unzipped DLL,
#     then the main job with the unzipped runner. The DLL carries no debug
#     sections, and SHA256SUMS checks.
#  3. The workbench: from each unpacked tools archive (the Windows one under
#     Wine) it starts on a free loopback port with the bundled scene, serves
#     every page file and makes a pick
#     (tests/release/workbench_archive_check.py).
#  4. Signed: a throwaway self-signed certificate; the release signs the DLL,
#     osslsigncode finds the signature, the validator passes on it.
# Exits non-zero when any of them fails.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run=$root/build/windows/wine-run.sh
[ -x "$wine_run" ] || { echo "release-tests: $wine_run missing (build the windows preset first)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "release-tests: FAIL $*"; status=1; }

clone() {
  git clone -q --no-hardlinks "$root" "$1"
  git -C "$1" checkout -q --detach "$(git -C "$root" rev-parse HEAD)"
  # pugixml's and cpp-httplib's sources as tools/ci/fetch-pugixml.sh and
  # fetch-httplib.sh would unpack them.
  mkdir -p "$1/.deps"
  cp -r "$root/.deps/pugixml" "$root/.deps/cpp-httplib" "$1/.deps/"
}

echo "=== release: reproducible (two clones, no ccache)"
first=$work/a
second=$work/elsewhere/deeper/b
clone "$first"
clone "$second"
CCACHE_DISABLE=1 "$first/tools/release/make-release.sh" --out "$work/dist-a" >"$work/a.log" 2>&1 ||
  { tail -20 "$work/a.log"; fail "the release in $first"; }
sleep 2
CCACHE_DISABLE=1 "$second/tools/release/make-release.sh" --plugin-only --out "$work/dist-b" >"$work/b.log" 2>&1 ||
  { tail -20 "$work/b.log"; fail "the release in $second"; }
version=$(cat "$first/build/dist-windows/tervolin-version.txt")
plugin_zip=Tervolin-$version-win64.zip
tools_zip=Tervolin-tools-$version-win64.zip
for side in a b; do
  mkdir "$work/unzip-$side"
  (cd "$work/unzip-$side" && unzip -q "$work/dist-$side/$plugin_zip")
done
for file in "$plugin_zip" "Tervolin-$version-win64.debug" "unzip:Tervolin-$version-win64/Tervolin.dll"; do
  case $file in
    unzip:*) a=$work/unzip-a/${file#unzip:}; b=$work/unzip-b/${file#unzip:} ;;
    *) a=$work/dist-a/$file; b=$work/dist-b/$file ;;
  esac
  hash_a=$(sha256sum <"$a" | cut -c1-64)
  hash_b=$(sha256sum <"$b" | cut -c1-64)
  echo "  ${file#unzip:}: $hash_a / $hash_b"
  [ "$hash_a" = "$hash_b" ] || fail "${file#unzip:} differs between the two builds"
done
tools_tar=Tervolin-tools-$version-linux-x86_64.tar.gz
CCACHE_DISABLE=1 "$first/tools/release/make-release.sh" --out "$work/dist-again" >"$work/again.log" 2>&1 ||
  { tail -20 "$work/again.log"; fail "the release made again in $first"; }
for file in "$tools_zip" "$tools_tar"; do
  if cmp -s "$work/dist-a/$file" "$work/dist-again/$file"; then
    echo "  $file: the same bytes when made again"
  else
    fail "$file differs when made again"
  fi
done

echo "=== release: installed from the archive"
dist=$work/dist-a
(cd "$dist" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c SHA256SUMS"
install=$work/installed
mkdir "$install"
(cd "$install" && unzip -q "$dist/$plugin_zip" && unzip -q "$dist/$tools_zip")
dll=$install/Tervolin-$version-win64/Tervolin.dll
tools=$install/Tervolin-tools-$version-win64
if x86_64-w64-mingw32-objdump -h "$dll" | grep -q '\.debug_'; then fail "the archive's DLL has debug sections"; fi
echo "  Tervolin.dll: $(stat -c %s "$dll") bytes; $plugin_zip: $(stat -c %s "$dist/$plugin_zip") bytes;" \
  "$tools_zip: $(stat -c %s "$dist/$tools_zip") bytes"
for file in LICENSE THIRD-PARTY-NOTICES CHANGELOG.md Tervolin-manual.html; do
  [ -s "$install/Tervolin-$version-win64/$file" ] || fail "$plugin_zip lacks $file"
done
if (cd "$install" && "$wine_run" "$tools/tervolin-validate.exe" --level 5 --picks 200 --seed 17 --quiet \
      --plugin "$dll" >"$work/validate.log" 2>&1); then
  tail -n 1 "$work/validate.log"
else
  grep -E '^FAIL' "$work/validate.log" | head -20 || true
  fail "the validator on the unzipped DLL"
fi
if (cd "$tools" && "$wine_run" ./tervolin-run.exe scenes/tilted-box.json --plugin "$dll" \
      --click "Center of the O(&b)ject" >"$work/run.log" 2>&1) && grep -q '^result      true' "$work/run.log"; then
  grep '^operation' "$work/run.log"
else
  cat "$work/run.log"
  fail "the main job with the unzipped runner"
fi

echo "=== release: the workbench from the tools archives"
mkdir "$work/linux"
(cd "$work/linux" && tar -xzf "$dist/$tools_tar")
"$root/tests/release/workbench_archive_check.py" "$root" "$work/linux/Tervolin-tools-$version-linux-x86_64" \
  "$dist/$tools_zip" "$wine_run" || fail "the workbench in the tools archives"

echo "=== release: signed with a throwaway certificate"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tervolin test signing" \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
TERVOLIN_SIGN_CERT=$work/cert.pem TERVOLIN_SIGN_KEY=$work/key.pem \
  "$first/tools/release/make-release.sh" --plugin-only --out "$work/dist-signed" >"$work/signed.log" 2>&1 ||
  { tail -20 "$work/signed.log"; fail "the signed release"; }
mkdir "$work/unzip-signed"
(cd "$work/unzip-signed" && unzip -q "$work/dist-signed/$plugin_zip")
signed=$work/unzip-signed/Tervolin-$version-win64/Tervolin.dll
if osslsigncode verify -CAfile "$work/cert.pem" -in "$signed" >"$work/verify.log" 2>&1; then
  grep -E '^Signature verification' "$work/verify.log" || true
else
  cat "$work/verify.log"
  fail "osslsigncode verify on the signed DLL"
fi
if "$wine_run" "$tools/tervolin-validate.exe" --level 1 --quiet --plugin "$signed" >"$work/validate-signed.log" 2>&1; then
  tail -n 1 "$work/validate-signed.log"
else
  grep -E '^FAIL' "$work/validate-signed.log" | head -20 || true
  fail "the validator on the signed DLL"
fi
exit $status
