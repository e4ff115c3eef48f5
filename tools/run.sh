#!/usr/bin/env bash
# Sets up the machine (idempotent), builds every deliverable, lists them and
# runs the demo road over them under Wine (tools/demo.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/setup.sh"
. "$here/env.sh"
bash "$here/build.sh"
echo "Deliverables in $VISTELLO_BUILD/out:"
ls -l "$VISTELLO_BUILD/out" 2>/dev/null || echo "  (none built yet)"
bash "$here/demo.sh"
