#!/bin/sh
# Installs everything the builds, tests and tools need on a fresh Debian
# machine (run as root). Safe to run again.
set -eu
export DEBIAN_FRONTEND=noninteractive
here=$(dirname "$0")

# pugixml's sources (for the Windows build) come from Debian's source
# package, which needs a deb-src entry. Unless the machine has one already,
# add one beside each deb entry of the running release, with the same URIs,
# suites, components and keys, so that the archive the machine already uses
# serves the sources too.
. /etc/os-release
ours=/etc/apt/sources.list.d/tervolin-deb-src
has_deb_src() {
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    case "$file" in "$ours".*) continue ;; esac
    [ -f "$file" ] || continue
    if grep -Eqs '^[[:space:]]*deb-src[[:space:]]|^Types:.*deb-src' "$file"; then return 0; fi
  done
  return 1
}
if ! has_deb_src; then
  rm -f "$ours.sources" "$ours.list"
  # deb822 stanzas: copied whole (continuation lines included, comments left
  # out) with "Types: deb-src", when they are enabled, of type deb, and name
  # the running release among their suites.
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v release="$VERSION_CODENAME" '
      function flush() {
        if (n > 0 && types ~ /(^|[ \t])deb([ \t]|$)/ && (" " suites " ") ~ (" " release " ") && enabled !~ /^[ \t]*no/) {
          print "Types: deb-src"
          for (i = 1; i <= n; i++) if (lines[i] !~ /^Types:/) print lines[i]
          print ""
        }
        n = 0; types = ""; suites = ""; enabled = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      { lines[++n] = $0 }
      /^Types:/ { types = substr($0, 7) }
      /^Suites:/ { suites = substr($0, 8); gsub(/[ \t]+/, " ", suites) }
      /^Enabled:/ { enabled = substr($0, 9) }
      END { flush() }
    ' "$file" >>"$ours.sources"
  done
  # One-line entries: "deb [options] URI SUITE COMPONENTS..." of the running
  # release become the same line with "deb-src".
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    awk -v release="$VERSION_CODENAME" '
      $1 != "deb" { next }
      {
        i = 2
        if ($i ~ /^\[/) while ($i !~ /\]$/ && i < NF) i++
        if ($i ~ /\]$/) i++
        if ($(i + 1) == release) { sub(/^deb/, "deb-src"); print }
      }
    ' "$file" >>"$ours.list"
  done
  [ -s "$ours.sources" ] || rm -f "$ours.sources"
  [ -s "$ours.list" ] || rm -f "$ours.list"
  if [ ! -e "$ours.sources" ] && [ ! -e "$ours.list" ]; then
    echo "install-deps: no deb entry for $VERSION_CODENAME found in the apt sources; pugixml's sources cannot be fetched" >&2
    exit 1
  fi
fi

apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev \
  libgtest-dev libgmock-dev googletest libbenchmark-dev \
  nlohmann-json3-dev libpugixml-dev libcli11-dev libtinyobjloader-dev \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 \
  dpkg-dev xz-utils ca-certificates locales \
  python3 python3-markdown git zip unzip osslsigncode openssl librsvg2-bin \
  pkg-config libcpp-httplib-dev libjs-three chromium chromium-driver python3-selenium >/dev/null

# A locale that writes numbers with a decimal comma, so that the tests of the
# frame text check that the plug-in's numbers never take the C runtime's.
if ! locale -a | grep -qix 'de_DE\.utf-\?8'; then
  grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

"$here/fetch-pugixml.sh"
"$here/fetch-httplib.sh"
