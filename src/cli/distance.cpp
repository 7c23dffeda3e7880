#include "cli/distance.h"

#include <GeographicLib/EllipticFunction.hpp>
#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;

/* Length of the great ellipse that a path leaving (latitude, bearing) starts
 * along: the ellipse cut from the ellipsoid by the plane through the earth's
 * centre, the point and the path's initial direction. It is 8 RG(a^2, b'^2),
 * b' the ellipse's semi-minor axis, found from the plane's normal (computed
 * at longitude 0: turning about the axis changes nothing). */
double great_ellipse_circumference(const GeographicLib::Geodesic &earth, double latitude,
                                   double bearing)
{
    const double a = earth.EquatorialRadius();
    const double b = a * (1 - earth.Flattening());
    const double e2 = 1 - (b * b) / (a * a);
    const double sinLat = std::sin(latitude * kRadiansPerDegree);
    const double cosLat = std::cos(latitude * kRadiansPerDegree);
    const double sinBearing = std::sin(bearing * kRadiansPerDegree);
    const double cosBearing = std::cos(bearing * kRadiansPerDegree);
    // The normal: the point (over the prime vertical's radius) crossed with
    // the unit vector sin(bearing) east + cos(bearing) north.
    const double nx = -sinBearing * (1 - e2) * sinLat;
    const double ny = -cosBearing * (1 - e2 * sinLat * sinLat);
    const double nz = sinBearing * cosLat;
    const double horizontal2 = nx * nx + ny * ny; // never 0 together with nz
    const double semiMinor2 =
        a * a * b * b * (horizontal2 + nz * nz) / (b * b * nz * nz + a * a * horizontal2);
    return 8 * GeographicLib::EllipticFunction::RG(a * a, semiMinor2);
}

struct UnitRow {
    std::string_view name;
    double metres;
};
// In the order of DistanceUnit.
constexpr UnitRow kUnits[] = {{"km", 1000.0}, {"mi", 1609.344}, {"nmi", 1852.0}};

// Room for any double in fixed notation with a few decimals.
constexpr size_t kNumberRoom = 320;

/* Appends value rounded to the decimals given, '.' as the separator. */
void append_fixed(std::string &out, double value, int decimals)
{
    char buffer[kNumberRoom];
    // + 0.0 turns -0 into 0 and changes nothing else.
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0,
                                   std::chars_format::fixed, decimals).ptr;
    out.append(buffer, end);
}

void append_bearing(std::string &out, double bearing)
{
    const size_t start = out.size();
    append_fixed(out, bearing, 2);
    // Just under 360 rounds to 360.00: the same direction as 0.00.
    if (out.compare(start, std::string::npos, "360.00") == 0)
        out.replace(start, std::string::npos, "0.00");
}

void append_int(std::string &out, int value)
{
    char buffer[16];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

/* Index of the cell of 1/perDegree degree holding the angle, counted from
 * the grid's south or west end (origin cells away from 0), within
 * 0..count-1. */
int grid_index(double degrees, int perDegree, int origin, int count)
{
    // degrees * perDegree exactly: the rounded product plus what rounding
    // left out (an fma gives it without error).
    const double product = degrees * perDegree;
    const double leftOut = std::fma(degrees, perDegree, -product);
    double cells = std::floor(product);
    // The product can round up onto an edge from just below it, never past
    // one (the edges are small integers, doubles themselves).
    if (cells == product && leftOut < 0)
        cells -= 1;
    // The grid's north and east ends belong to the last row and column.
    return static_cast<int>(std::clamp(cells + origin, 0.0, count - 1.0));
}

} // namespace

double normalise_bearing(double degrees)
{
    double bearing = std::fmod(degrees, 360.0); // exact
    if (bearing < 0)
        bearing += 360; // may round up to 360 itself
    return bearing < 360 ? bearing + 0.0 : 0.0;
}

/* The long path leaves on the short path's opposite bearing and goes the rest
 * of the way round: the circumference minus the short path. On an ellipsoid
 * a geodesic does not close, so "round" needs choosing. The circumference
 * taken is that of the great ellipse the short path starts along (see
 * great_ellipse_circumference): it is the line the long bearing points along,
 * it is exact where the path does close (40 075.017 km along the equator,
 * 40 007.863 km along a meridian, so antipodes get two equal halves), it
 * depends on the bearing alone and so is defined for identical points too.
 * Against the long geodesic through both points, solved numerically for
 * 20,000 random pairs, it is within 30 m for half of them and 3 km wherever
 * that geodesic leaves within 5 degrees of the reversed bearing (all but
 * 0.7%: short hops near the equator and nearly antipodal pairs, whose long
 * geodesics leave on other bearings). A fixed figure errs by up to 34 km;
 * one full turn of the geodesic on GeographicLib's auxiliary sphere by up to
 * 134 km near the equator, where such a turn falls short of the way round by
 * a flattening's share. */
GeodesicPaths geodesic_paths(LatLon from, LatLon to)
{
    const GeographicLib::Geodesic &earth = GeographicLib::Geodesic::WGS84();
    double metres, bearing, arrival;
    earth.Inverse(from.latitude, from.longitude, to.latitude, to.longitude, metres, bearing,
                  arrival);
    const double circumference = great_ellipse_circumference(earth, from.latitude, bearing);
    return {{metres, normalise_bearing(bearing)},
            {circumference - metres, normalise_bearing(bearing + 180)}};
}

ContestDistance iaru_distance(LatLon from, LatLon to)
{
    const double lat1 = from.latitude * kRadiansPerDegree;
    const double lat2 = to.latitude * kRadiansPerDegree;
    const double dlon = (to.longitude - from.longitude) * kRadiansPerDegree;
    const double cosine =
        std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(dlon);
    // Rounding takes the cosine of a zero or straight angle just past 1 or -1,
    // where acos has no value.
    const double degrees = std::acos(std::clamp(cosine, -1.0, 1.0)) / kRadiansPerDegree;
    const double kilometres = degrees * 111.2;
    return {kilometres, static_cast<int>(kilometres) + 1};
}

LatLon subsquare_centre(LatLon position)
{
    constexpr int kColumns = 360 * 12, kRows = 180 * 24;
    const int column = grid_index(position.longitude, 12, kColumns / 2, kColumns);
    const int row = grid_index(position.latitude, 24, kRows / 2, kRows);
    // An exact odd numerator, one division: each centre rounded once.
    return {(2.0 * row + 1 - kRows) / 48, (2.0 * column + 1 - kColumns) / 24};
}

LatLon contest_point(const DistancePoint &point)
{
    const LatLon at{point.latitude, point.longitude};
    return point.locator_length > 0 && point.locator_length < 6 ? at : subsquare_centre(at);
}

DistanceResult compute_distance(const DistancePoint &from, const DistancePoint &to, bool iaru)
{
    DistanceResult result{
        geodesic_paths({from.latitude, from.longitude}, {to.latitude, to.longitude}),
        std::nullopt};
    if (iaru)
        result.contest = iaru_distance(contest_point(from), contest_point(to));
    return result;
}

std::optional<DistanceUnit> parse_distance_unit(std::string_view text)
{
    for (size_t i = 0; i < std::size(kUnits); ++i)
        if (text == kUnits[i].name)
            return static_cast<DistanceUnit>(i);
    return std::nullopt;
}

void append_distance_line(std::string &out, const DistanceResult &result, DistanceUnit unit)
{
    const double metres = kUnits[static_cast<size_t>(unit)].metres;
    for (const Path *path : {&result.paths.short_path, &result.paths.long_path}) {
        if (path != &result.paths.short_path)
            out += ' ';
        append_fixed(out, path->metres / metres, 3);
        out += ' ';
        append_bearing(out, path->bearing);
    }
    if (result.contest) {
        // Truncated, not rounded: the whole kilometres printed are those the
        // points count (99.996 km shows 99.99, 100 points, not 100.00).
        const double kilometres = result.contest->kilometres;
        const int whole = static_cast<int>(kilometres);
        const double fraction = kilometres - whole; // exact
        out += ' ';
        append_int(out, whole);
        out += '.';
        const int hundredths = std::min(99, static_cast<int>(fraction * 100));
        out += static_cast<char>('0' + hundredths / 10);
        out += static_cast<char>('0' + hundredths % 10);
        out += ' ';
        append_int(out, result.contest->points);
    }
}
