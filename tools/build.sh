#!/usr/bin/env bash
# Configures (once) and builds everything into $VISTELLO_BUILD.
set -euo pipefail
. "$(dirname "$0")/env.sh"
if [ ! -f "$VISTELLO_BUILD/build.ninja" ]; then
  cmake -S "$VISTELLO_ROOT" -B "$VISTELLO_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$VISTELLO_ROOT/cmake/toolchain-mingw.cmake" -DVISTELLO_DEPS="$VISTELLO_DEPS"
fi
cmake --build "$VISTELLO_BUILD" "$@"
