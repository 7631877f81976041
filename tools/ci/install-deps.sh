#!/bin/sh
# Installs everything the builds, tests and tools need on a fresh Debian
# machine (run as root). Safe to run again.
set -eu
export DEBIAN_FRONTEND=noninteractive

src=/etc/apt/sources.list.d/tervolin-deb-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  . /etc/os-release
  cat > "$src" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: ${VERSION_CODENAME}
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
fi

apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev \
  libgtest-dev libgmock-dev googletest libbenchmark-dev \
  nlohmann-json3-dev libpugixml-dev libcli11-dev libtinyobjloader-dev \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 \
  dpkg-dev xz-utils ca-certificates >/dev/null

"$(dirname "$0")/fetch-pugixml.sh"
