#!/usr/bin/env bash
# Runs one test program under Wine for ctest (the toolchain's emulator). The
# program's output goes through a file, not ctest's pipe: Wine's desktop and
# service processes, started by whichever program first needs them, inherit
# its standard handles and outlive it, and ctest would wait on a pipe they
# hold until its time-out.
set -u
log=$(mktemp)
wine "$@" >"$log" 2>&1 </dev/null
code=$?
cat "$log"
rm -f "$log"
exit $code
