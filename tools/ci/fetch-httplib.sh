#!/bin/sh
# Unpacks cpp-httplib's Debian source package into .deps/cpp-httplib for the
# Windows build of the workbench: Debian's libcpp-httplib-dev is a Linux
# library, while the upstream httplib.h is header-only, which mingw-w64 builds.
exec "$(dirname "$0")/fetch-debian-source.sh" cpp-httplib cpp-httplib httplib.h
