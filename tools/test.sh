#!/usr/bin/env bash
# Checks the includes against the layering, sets up the machine (idempotent),
# builds everything and runs every test executable under Wine through ctest.
# Extra arguments go to ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/check-includes.sh"
bash "$here/setup.sh"
. "$here/env.sh"
bash "$here/build.sh"
. "$here/wine-session.sh"
cd "$VISTELLO_BUILD"
ctest --output-on-failure -j"$(nproc)" "$@"
