// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* A GeoJSON position, shared by every map the programs write: cells and
 * contest maps alike print a point the same way. */
#ifndef TOLKA_GEOJSON_POINT_H
#define TOLKA_GEOJSON_POINT_H

#include <charconv>
#include <string_view>

/* Appends d to out (anything with append(string_view)) in the fewest
 * decimals of fixed notation that read back as the double, so that a corner
 * two cells share prints the same in both. The room holds the longest such
 * number, a subnormal's. */
template <class Out>
void append_geojson_number(Out &out, double d)
{
    char text[340];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof text, d, std::chars_format::fixed);
    out.append(std::string_view(text, static_cast<size_t>(r.ptr - text)));
}

/* Appends the position [longitude,latitude] to out. */
template <class Out>
void append_geojson_point(Out &out, double longitude, double latitude)
{
    out.append("[");
    append_geojson_number(out, longitude);
    out.append(",");
    append_geojson_number(out, latitude);
    out.append("]");
}

#endif
