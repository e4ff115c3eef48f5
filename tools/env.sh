# Shared environment of the set-up, build and test scripts (sourced).
VISTELLO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${VISTELLO_DEPS:=/var/cache/vistello/deps}"
: "${VISTELLO_BUILD:=$VISTELLO_ROOT/build}"
: "${WINEPREFIX:=/var/cache/vistello/wineprefix}"
export VISTELLO_ROOT VISTELLO_DEPS VISTELLO_BUILD WINEPREFIX
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
