#!/bin/sh
# Unpacks pugixml's Debian source package into .deps/pugixml for the Windows
# build (Debian ships pugixml for Linux only).
exec "$(dirname "$0")/fetch-debian-source.sh" pugixml pugixml src/pugixml.cpp
