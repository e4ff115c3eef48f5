# Shared environment of the set-up, build and test scripts (sourced).
VISTELLO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${VISTELLO_DEPS:=/var/cache/vistello/deps}"
: "${VISTELLO_BUILD:=$VISTELLO_ROOT/build}"
: "${WINEPREFIX:=/var/cache/vistello/wineprefix}"
export VISTELLO_ROOT VISTELLO_DEPS VISTELLO_BUILD WINEPREFIX
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's 32-bit loader runs under qemu's user-mode emulator where the machine
# runs no 32-bit programs itself (tools/setup.sh); tests that need real
# hardware faults or real-time pace skip themselves there.
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then export VISTELLO_EMULATED_CPU=1; fi
