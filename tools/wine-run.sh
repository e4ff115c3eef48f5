#!/usr/bin/env bash
# Runs one Windows program of the build under Wine with the project's prefix,
# e.g. tools/wine-run.sh build/tests/base_tests.exe --gtest_filter=Str*
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/env.sh"
WINE_SESSION_KEEP=1 . "$here/wine-session.sh"
wine "$@"
