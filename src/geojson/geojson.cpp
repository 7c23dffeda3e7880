// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "geojson.h"

#include <charconv>

#include "distance.h"
#include "format.h"
#include "point.h"

namespace {

/* The nearest double of index / nPerDegree - nOffset degrees: the integer
 * difference is exact, the one division rounds once. Corners shared by two
 * cells thus print the same. */
double degrees(int32_t nIndex, int32_t nPerDegree, int32_t nOffset)
{
    return static_cast<double>(nIndex - nOffset * nPerDegree) / nPerDegree;
}

/* Metres to the millimetre. */
void append_metres(OutputBuffer &out, double metres)
{
    char sz[kNumberRoom];
    const std::to_chars_result r =
        std::to_chars(sz, sz + sizeof sz, metres, std::chars_format::fixed, 3);
    out.append(std::string_view(sz, static_cast<size_t>(r.ptr - sz)));
}

} // namespace

void append_geojson(const Cell &cell, std::string_view locator, OutputBuffer &out)
{
    /* Finest cells: 1/2880 degree of longitude, 1/5760 of latitude. */
    const double west = degrees(cell.longitude_index, 2880, 180);
    const double east = degrees(cell.longitude_index + cell.span, 2880, 180);
    const double south = degrees(cell.latitude_index, 5760, 90);
    const double north = degrees(cell.latitude_index + cell.span, 5760, 90);
    const double ring[5][2] = {{west, south}, {east, south}, {east, north}, {west, north},
                               {west, south}};
    out.append("{\"type\":\"Feature\",\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[[");
    for (int i = 0; i < 5; i++) {
        if (i > 0)
            out.append(",");
        append_geojson_point(out, ring[i][0], ring[i][1]);
    }
    out.append("]]},\"properties\":{\"locator\":\"");
    for (char c : locator) { /* parse_locator took only letters and digits */
        const char cUpper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        out.append(std::string_view(&cUpper, 1));
    }
    out.append(cell.system == LocatorSystem::Tolka ? "\",\"layout\":\"extended\""
                                                   : "\",\"layout\":\"maidenhead\"");
    /* The centre as two numbers, not a pair: a list is no field type of
     * most map formats (GeoPackage, shapefiles), which would turn it into
     * text. */
    out.append(",\"centre_lon\":");
    append_geojson_number(out, degrees(2 * cell.longitude_index + cell.span, 2 * 2880, 180));
    out.append(",\"centre_lat\":");
    append_geojson_number(out, degrees(2 * cell.latitude_index + cell.span, 2 * 5760, 90));
    const CellSize size = cell_size(cell);
    out.append(",\"width_m\":");
    append_metres(out, size.width);
    out.append(",\"height_m\":");
    append_metres(out, size.height);
    out.append("}}");
}
