#!/bin/sh
# wine-run.sh PREFIX PROGRAM [ARGUMENT...]: runs a Windows program of the cross build under Wine,
# in the build's own Wine prefix (made at the first run) and without Wine's debug output. ctest
# runs every test program through it (CMAKE_CROSSCOMPILING_EMULATOR).
set -e
WINEPREFIX=$1
shift
export WINEPREFIX
export WINEDEBUG=-all
# Arguments reach the program in UTF-16 read from the UTF-8 the tests pass.
export LC_ALL=C.UTF-8
exec /usr/lib/wine/wine64 "$@"
