#!/bin/bash
# SPDX-FileCopyrightText: 2026 the Tolka developers
# SPDX-License-Identifier: GPL-3.0-or-later

# decode --geojson read back by GDAL: a GeoJSON text sequence of polygons
# with the extent of the cells, and a clean GeoPackage layer. geojson.sh
# PROGRAM
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A square in each layout, a field, and a subsquare in the western hemisphere.
{
  printf 'JN18DT\nJN18\nFN20XR\n' | "$cli" decode --geojson
  "$cli" decode --geojson JN18DT72AX
} >"$work/cells.geojsons"
ogrinfo -ro -so -al "$work/cells.geojsons" >"$work/info"
failures=0
for want in 'Feature Count: 4' 'Geometry: Polygon' \
  'Extent: (-74.083333, 40.708333) - (4.000000, 49.000000)'; do
  grep -qF "$want" "$work/info" || { echo "FAILED: no '$want' in:"; cat "$work/info"; failures=1; }
done
grep -q 'GeoJSONSeq' "$work/info" || { echo "FAILED: not read as GeoJSONSeq"; failures=1; }
# The README's conversion to GeoPackage: no warning, and every property a
# field of its own type (a list, which GeoPackage lacks, would become text).
ogr2ogr "$work/cells.gpkg" "$work/cells.geojsons" 2>"$work/ogr2ogr.err"
[ ! -s "$work/ogr2ogr.err" ] || { echo "FAILED: ogr2ogr said:"; cat "$work/ogr2ogr.err"; failures=1; }
ogrinfo -ro -al "$work/cells.gpkg" >"$work/gpkg"
for want in 'locator: String' 'layout: String' 'centre_lon: Real' 'centre_lat: Real' \
  'width_m: Real' 'height_m: Real' 'locator (String) = JN18DT72AX' 'layout (String) = maidenhead' \
  'centre_lon (Real) = 3' 'centre_lat (Real) = 48.5'; do
  grep -qF "$want" "$work/gpkg" || { echo "FAILED: no '$want' in:"; cat "$work/gpkg"; failures=1; }
done
exit $failures
