#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# decode --geojson read back by GDAL: a GeoJSON text sequence of polygons
# with the extent of the cells. geojson.sh PROGRAM
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A square in each layout, a field, and a subsquare in the western hemisphere.
{
  printf 'JN18DT\nJN18\nFN20XR\n' | "$cli" decode --geojson
  "$cli" decode --geojson --maidenhead JN18DT72AX
} >"$work/cells.geojsons"
ogrinfo -ro -so -al "$work/cells.geojsons" >"$work/info"
failures=0
for want in 'Feature Count: 4' 'Geometry: Polygon' \
  'Extent: (-74.083333, 40.708333) - (4.000000, 49.000000)'; do
  grep -qF "$want" "$work/info" || { echo "FAILED: no '$want' in:"; cat "$work/info"; failures=1; }
done
grep -q 'GeoJSONSeq' "$work/info" || { echo "FAILED: not read as GeoJSONSeq"; failures=1; }
exit $failures
