/* Distance and bearing between two points, for `tolka-cli distance`: the
 * geodesic on the WGS84 ellipsoid (short and long path) and the IARU Region 1
 * VHF contest rule, and the output line. Pure functions: no I/O, no locale,
 * no state. Points are (latitude, longitude) in degrees, latitude -90..90,
 * longitude -180..180, finite: the command's parsers refuse anything else. */
#ifndef TOLKA_CLI_DISTANCE_H
#define TOLKA_CLI_DISTANCE_H

#include <optional>
#include <string>
#include <string_view>

/* One point as the command parsed it: a locator's cell centre, or a position
 * typed as LATITUDE,LONGITUDE. locator_length (2, 4, 6, 8 or 10, either
 * system) says which, and matters only for the contest rule. */
struct DistancePoint {
    double latitude;
    double longitude;
    int locator_length; // 0: a typed position
};

struct LatLon {
    double latitude;
    double longitude;
};

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

/* The IARU Region 1 VHF contest rule between two points already at their
 * locators' centres: spherical law of cosines, 111.2 km per degree of arc;
 * points are the whole kilometres, truncated, plus one. */
struct ContestDistance {
    double kilometres;
    int points;
};
ContestDistance iaru_distance(LatLon from, LatLon to);

/* Centre of the 6-character locator cell (subsquare, 1/12 by 1/24 degree,
 * the same in both locator systems) holding the position, decided exactly
 * for the double given: an edge belongs to the cell north or east of it,
 * 90 N is in the top row and 180 E in the last column. */
LatLon subsquare_centre(LatLon position);

/* Where the contest rule takes a point: the centre of the locator exchanged
 * in a contest, which has 6 characters. A locator of 2 or 4 characters is
 * taken at its own centre; a longer one, and a typed position, at the centre
 * of the 6-character cell holding it. */
LatLon contest_point(const DistancePoint &point);

/* Everything one output line carries; contest only under --iaru. */
struct DistanceResult {
    GeodesicPaths paths;
    std::optional<ContestDistance> contest;
};
DistanceResult compute_distance(const DistancePoint &from, const DistancePoint &to, bool iaru);

enum class DistanceUnit { kilometre, mile, nautical_mile };

/* "km", "mi" or "nmi" (the --unit argument, exactly); nullopt otherwise. */
std::optional<DistanceUnit> parse_distance_unit(std::string_view text);

/* Appends the output line (no line end) to out: short distance (3 decimals),
 * bearing (2), long distance (3), long bearing (2), in the unit given; with a
 * contest result, then its kilometres (2 decimals, truncated like the points
 * are) and its points. Single spaces, '.' as the decimal separator whatever
 * the locale; a bearing never prints as 360.00, no value as -0. */
void append_distance_line(std::string &out, const DistanceResult &result, DistanceUnit unit);

/* Any finite angle in degrees as a bearing, 0 <= b < 360, never -0. */
double normalise_bearing(double degrees);

#endif
