// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Distance and bearing between two points, for `tolka-cli distance`: the
 * points as typed, the geodesic on the WGS84 ellipsoid (short and long path),
 * the IARU Region 1 VHF contest rule, and the output line. Pure functions: no
 * I/O, no locale, no state. Points are (latitude, longitude) in degrees,
 * latitude -90..90, longitude -180..180, finite: parse_point refuses anything
 * else. */
#ifndef TOLKA_GRID_DISTANCE_H
#define TOLKA_GRID_DISTANCE_H

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "locator.h"

struct LatLon {
    double latitude;
    double longitude;
};

/* One point of a distance line: where the geodesic takes it, and where the
 * contest rule does (see parse_point). */
struct DistancePoint {
    LatLon at;
    LatLon contest;
};

/* One word of a distance line: a locator of 2, 4, 6, 8 or 10 characters of
 * the system (none: told by character 7), any case, at its cell's centre (the doubles `decode --centre`
 * prints), or LATITUDE,LONGITUDE in decimal degrees with no blank, read
 * exactly for its range, then taken as the nearest doubles. With bContest,
 * contest is the centre of the 6-character cell that the contest rule puts
 * the point in: a locator of 8 or 10 characters at the centre of its first
 * six, a position at the centre of the 6-character cell holding it (an edge
 * belongs to the cell north or east of it, 90 N to the top row, 180 E to the
 * last column), and a locator of 2 or 4 is refused, as the rule refuses it;
 * else contest is at. */
Result<DistancePoint> parse_point(std::string_view text, std::optional<LocatorSystem> system,
                                  bool bContest);

/* The contest rule's place of a station: the centre of the subsquare that a
 * 6-character locator names (both systems name them alike), any case. A text
 * of any other length is refused as not a 6-character locator, one of 6
 * characters that is no locator with its reason. */
Result<LatLon> subsquare_centre(std::string_view locator);

/* One way from the first point: length in metres, initial bearing in degrees
 * clockwise from true north, 0 <= bearing < 360. */
struct Path {
    double metres;
    double bearing;
};

/* short_path: the geodesic on WGS84 (GeographicLib). long_path: the opposite
 * bearing, and the circumference of the great ellipse the short path starts
 * along less the short path (why that circumference: see geodesic_paths in
 * distance.cpp). Identical points give 0 metres and GeographicLib's bearing
 * for them (180), never NaN. */
struct GeodesicPaths {
    Path short_path;
    Path long_path;
};
GeodesicPaths geodesic_paths(LatLon from, LatLon to);

/* The short path's length alone, in metres: the same geodesic. */
double geodesic_metres(LatLon from, LatLon to);

/* Points along the geodesic from `from` to `to`, both ends included, none
 * more than max_metres from the next (at least one segment): what draws the
 * path on a map. Longitudes run on across the date line (181, not -179) so
 * that the line stays unbroken; out is cleared first. */
void geodesic_vertices(LatLon from, LatLon to, double max_metres, std::vector<LatLon> &out);

/* The IARU Region 1 VHF contest rule between two points already at their
 * locators' centres: spherical law of cosines, 111.2 km per degree of arc;
 * points are the whole kilometres, truncated, plus one. */
struct ContestDistance {
    double kilometres;
    int points;
};
ContestDistance iaru_distance(LatLon from, LatLon to);

/* Everything one output line carries; contest only under --iaru (between the
 * points' contest positions). */
struct DistanceResult {
    GeodesicPaths paths;
    std::optional<ContestDistance> contest;
};
DistanceResult compute_distance(const DistancePoint &from, const DistancePoint &to, bool iaru);

enum class DistanceUnit { kilometre, mile, nautical_mile };

/* "km", "mi" or "nmi" (the --unit argument, exactly); nullopt otherwise. */
std::optional<DistanceUnit> parse_distance_unit(std::string_view text);

/* Room for any output line of format_distance_line. */
constexpr size_t kDistanceLineRoom = 128;

/* Writes the output line (no line end) to szOut and returns its length:
 * short distance (3 decimals), bearing (2), long distance (3), long bearing
 * (2), in the unit given; with a contest result, then its kilometres (2
 * decimals, truncated like the points are) and its points. Single spaces,
 * '.' as the decimal separator whatever the locale; a bearing never prints as
 * 360.00, no value as -0. */
size_t format_distance_line(const DistanceResult &result, DistanceUnit unit, char *szOut);

/* Writes contest kilometres (0 to 20016) with two decimals, truncated like
 * the points are, to szOut (no terminator; room for 12 characters) and
 * returns the length: 99.996 writes 99.99, not 100.00. */
size_t format_contest_kilometres(double kilometres, char *szOut);

/* Any finite angle in degrees as a bearing, 0 <= b < 360, never -0. */
double normalise_bearing(double degrees);

/* A cell's size on the WGS84 ellipsoid, in metres: its width along the
 * parallel through its centre, its height along the meridian. */
struct CellSize {
    double width;
    double height;
};
CellSize cell_size(const Cell &cell);

#endif
