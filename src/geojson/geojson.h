// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* A cell as a GeoJSON Feature (RFC 7946) on one line, for map programs: one
 * line per cell makes a GeoJSON text sequence (GDAL's GeoJSONSeq). */
#ifndef TOLKA_GEOJSON_GEOJSON_H
#define TOLKA_GEOJSON_GEOJSON_H

#include <string_view>

#include "lines.h"
#include "locator.h"

/* Appends the Feature of cell (named locator) to out, without line end: a
 * Polygon of its corners, longitude first, counter-clockwise from the
 * south-west corner and closed, and the properties locator, layout (the one
 * the cell was read in), centre_lon, centre_lat, width_m and height_m. */
void append_geojson(const Cell &cell, std::string_view locator, OutputBuffer &out);

#endif
