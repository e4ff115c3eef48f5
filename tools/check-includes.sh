#!/usr/bin/env bash
# Fails when a source file includes across the layering: the player never
# reaches into the add-in, the stand-ins never into the add-in's core (both
# include the host interfaces from hostapi/), and the lower folders include
# only themselves and what lies below them. Checks the tree at $1 (the
# repository by default); lists every offending line.
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
failed=0

# Quoted includes of the folder's sources as "file:line:path".
includes() {
  [ -d "$root/$1" ] || return 0
  grep -rnoE --include='*.h' --include='*.cpp' --include='*.rc' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+"' "$root/$1" |
    sed -E "s#^$root/##; s#:[[:space:]]*\#[[:space:]]*include[[:space:]]*\"([^\"]+)\"\$#:\1#"
}

report() {
  if [ -n "$2" ]; then
    echo "include check: $1" >&2
    echo "$2" | sed 's/^/  /' >&2
    failed=1
  fi
}

# forbid FOLDER PREFIXES: FOLDER must not include paths starting with PREFIXES.
forbid() {
  report "$1/ includes from $2" "$(includes "$1" | grep -E ":($2)[^:]*\$")"
}

# only FOLDER PREFIXES: every folder-qualified include of FOLDER starts with PREFIXES.
only() {
  report "$1/ includes from above it" "$(includes "$1" | grep -E ':[^:]*/[^:]*$' | grep -vE ":($2)[^:]*\$")"
}

forbid player 'addin/'
forbid standins 'addin/core/'
only base 'base/'
only pixels 'base/|pixels/'
only hostapi 'hostapi/'
exit $failed
