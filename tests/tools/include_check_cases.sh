#!/usr/bin/env bash
# Runs the include check on small trees: one file with one include each, and
# whether the check must fail on it.
set -uo pipefail
check=$1
cases=(
  'fail|player/engine/PVThing.cpp|#include "addin/imaging/AreaResample.h"'
  'fail|player/app/Main.cpp|  #  include "addin/core/AddIn.h"'
  'pass|player/engine/PVThing.cpp|#include "pixels/AreaAverage.h"'
  'pass|player/engine/PVThing.cpp|#include "base/MKAlloc.h"'
  'fail|standins/powerpoint/SlideObject.h|#include "addin/core/PowerPointInterfaces.h"'
  'pass|standins/powerpoint/SlideObject.h|#include "hostapi/PowerPointInterfaces.h"'
  'fail|base/MKThing.cpp|#include "addin/core/AddIn.h"'
  'fail|base/MKThing.h|#include "pixels/PixelTypes.h"'
  'fail|base/MKThing.h|#include "hostapi/OfficeInterfaces.h"'
  'pass|base/MKThing.cpp|#include "base/MKAlloc.h"'
  'pass|base/MKThing.cpp|#include <windows.h>'
  'fail|pixels/Thing.cpp|#include "addin/imaging/RasterImage.h"'
  'pass|pixels/Thing.cpp|#include "base/MKAlloc.h"'
  'fail|hostapi/Thing.h|#include "base/MKString.h"'
  'pass|addin/core/Thing.cpp|#include "player/engine/PVImage.h"'
)
failures=0
for entry in "${cases[@]}"; do
  IFS='|' read -r expect file line <<<"$entry"
  tree=$(mktemp -d)
  mkdir -p "$tree/$(dirname "$file")"
  printf '%s\n' "$line" >"$tree/$file"
  if bash "$check" "$tree" 2>/dev/null; then got=pass; else got=fail; fi
  rm -rf "$tree"
  if [ "$got" != "$expect" ]; then
    echo "FAILED: $file with '$line': expected $expect, got $got"
    failures=$((failures + 1))
  fi
done
echo "$((${#cases[@]} - failures)) of ${#cases[@]} cases as expected"
[ "$failures" = 0 ]
