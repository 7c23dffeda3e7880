// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "distance.h"

#include <GeographicLib/Ellipsoid.hpp>
#include <GeographicLib/EllipticFunction.hpp>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "nmea.h"
#include "position.h"
#include "text.h"

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

/* Writes value rounded to the decimals given at p, '.' as the separator;
 * returns the end. */
char *write_fixed(char *p, char *pEnd, double value, int decimals)
{
    // + 0.0 turns -0 into 0 and changes nothing else.
    const std::to_chars_result r =
        std::to_chars(p, pEnd, value + 0.0, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? r.ptr : p;
}

char *write_bearing(char *p, char *pEnd, double bearing)
{
    constexpr std::string_view kFull = "360.00", kZero = "0.00";
    char *const pNumberEnd = write_fixed(p, pEnd, bearing, 2);
    // Just under 360 rounds to 360.00: the same direction as 0.00.
    if (std::string_view(p, static_cast<size_t>(pNumberEnd - p)) != kFull)
        return pNumberEnd;
    return std::copy(kZero.begin(), kZero.end(), p);
}

/* The nearest double to a decimal number that the position parser accepted
 * ("-33.8688", "+2"): std::from_chars rounds correctly, in any locale. */
double nearest_double(std::string_view number)
{
    number = trim_blanks(number);
    if (!number.empty() && number[0] == '+')
        number.remove_prefix(1);
    double d = 0;
    std::from_chars(number.data(), number.data() + number.size(), d);
    return d;
}

/* A coordinate read exactly, as a double: the whole degrees and the rest
 * are exact doubles, so only the division and the sum round. */
double degrees(const Coordinate &c)
{
    const double d = static_cast<double>(c.units / kUnitsPerDegree) +
                     static_cast<double>(c.units % kUnitsPerDegree) / kUnitsPerDegree;
    return c.negative ? -d : d;
}

LatLon centre_of(const Cell &cell)
{
    return {cell.centre_latitude(), cell.centre_longitude()};
}

/* The contest rule's cells: the subsquares, which both systems name alike. */
constexpr int kContestLength = 6;

/* The centre of the cell that a 6-character locator names. */
LatLon contest_centre(std::string_view locator, std::optional<LocatorSystem> system)
{
    return centre_of(parse_locator(locator.substr(0, kContestLength), system).value);
}

/* A position's point: at the doubles given, and for the contest rule at the
 * centre of the subsquare that holds it, found by the exact encoder. */
DistancePoint position_point(const Position &p, LatLon at, std::optional<LocatorSystem> system,
                             bool bContest)
{
    DistancePoint point{at, at};
    if (bContest) {
        // Six characters name the same subsquare in either layout.
        char szLocator[kContestLength];
        encode_locator(p, LocatorSystem::Tolka, kContestLength, szLocator);
        point.contest = contest_centre(std::string_view(szLocator, kContestLength), system);
    }
    return point;
}

bool starts_like_a_number(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
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
    /* From a point to itself any bearing holds; GeographicLib's depends on
     * the signs of zeros (0 for -0,0 to 0,0, 180 for 0,0 to 0,0): one answer
     * for both, 180. */
    if (from.latitude == to.latitude && from.longitude == to.longitude)
        bearing = 180;
    const double circumference = great_ellipse_circumference(earth, from.latitude, bearing);
    return {{metres, normalise_bearing(bearing)},
            {circumference - metres, normalise_bearing(bearing + 180)}};
}

double geodesic_metres(LatLon from, LatLon to)
{
    double metres;
    GeographicLib::Geodesic::WGS84().Inverse(from.latitude, from.longitude, to.latitude,
                                             to.longitude, metres);
    return metres;
}

void geodesic_vertices(LatLon from, LatLon to, double max_metres, std::vector<LatLon> &out)
{
    using GeographicLib::Geodesic;
    const GeographicLib::GeodesicLine line = Geodesic::WGS84().InverseLine(
        from.latitude, from.longitude, to.latitude, to.longitude,
        Geodesic::LATITUDE | Geodesic::LONGITUDE | Geodesic::DISTANCE_IN | Geodesic::LONG_UNROLL);
    const double metres = line.Distance();
    const double segments = std::max(1.0, std::ceil(metres / max_metres));
    out.clear();
    for (double i = 0; i <= segments; i++) {
        LatLon p;
        double unused;
        line.GenPosition(false, metres * i / segments,
                         Geodesic::LATITUDE | Geodesic::LONGITUDE | Geodesic::LONG_UNROLL,
                         p.latitude, p.longitude, unused, unused, unused, unused, unused, unused);
        out.push_back(p);
    }
    /* The ends exactly where they were given (the last one unrolled). */
    const double turns = std::round((out.back().longitude - to.longitude) / 360);
    out.front() = from;
    out.back() = {to.latitude, to.longitude + 360 * turns};
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

Result<DistancePoint> parse_point(std::string_view text, std::optional<LocatorSystem> system,
                                  bool bContest)
{
    if (is_nmea_sentence(text)) {
        const Result<Position> position = parse_nmea_position(text);
        if (!position)
            return refused<DistancePoint>(position.reason);
        const LatLon at{degrees(position.value.latitude), degrees(position.value.longitude)};
        return {position_point(position.value, at, system, bContest), {}};
    }
    const size_t nComma = text.find(',');
    if (nComma != std::string_view::npos) {
        // Read exactly, so that the range is decided on the digits typed and
        // the contest cell by the exact encoder. Decimal degrees give the
        // nearest doubles; the other forms (N48.5,E2.3) their exact value
        // rounded.
        const Result<Position> decimal = parse_decimal_position(text);
        const Result<Position> position = decimal ? decimal : parse_position(text);
        if (!position)
            return refused<DistancePoint>(position.reason);
        const LatLon at = decimal ? LatLon{nearest_double(text.substr(0, nComma)),
                                           nearest_double(text.substr(nComma + 1))}
                                  : LatLon{degrees(position.value.latitude),
                                           degrees(position.value.longitude)};
        return {position_point(position.value, at, system, bContest), {}};
    }
    if (!text.empty() && starts_like_a_number(text[0]))
        return refused<DistancePoint>(refusal(
            N_("%s is not a point: a position is written LATITUDE,LONGITUDE, with no blank"),
            text));
    const Result<Cell> cell = parse_locator(text, system);
    if (!cell)
        return refused<DistancePoint>(cell.reason);
    DistancePoint point{centre_of(cell.value), centre_of(cell.value)};
    if (bContest) {
        // The rule scores subsquares: a square or a field names none.
        if (cell.value.length < kContestLength)
            return refused<DistancePoint>(
                refusal(N_("%s is shorter than the 6 characters the contest rule needs"), text));
        point.contest = contest_centre(text, cell.value.system);
    }
    return {point, {}};
}

Result<LatLon> subsquare_centre(std::string_view locator)
{
    /* Any length but 6 gets the same answer, whatever its 7th character
     * would be taken for ("JO31LK44", "JO31LKKK78"); an empty one is told
     * that a locator is expected. */
    const bool sized = locator.size() == kContestLength || locator.empty();
    const Result<Cell> cell = parse_locator(locator, LocatorSystem::Maidenhead);
    if (sized && !cell)
        return refused<LatLon>(cell.reason);
    if (!sized || cell.value.length != kContestLength)
        return refused<LatLon>(refusal(N_("%s is not a 6-character locator"), locator));
    return {centre_of(cell.value), {}};
}

DistanceResult compute_distance(const DistancePoint &from, const DistancePoint &to, bool iaru)
{
    DistanceResult result{geodesic_paths(from.at, to.at), std::nullopt};
    if (iaru)
        result.contest = iaru_distance(from.contest, to.contest);
    return result;
}

std::optional<DistanceUnit> parse_distance_unit(std::string_view text)
{
    for (size_t i = 0; i < std::size(kUnits); ++i)
        if (text == kUnits[i].name)
            return static_cast<DistanceUnit>(i);
    return std::nullopt;
}

size_t format_distance_line(const DistanceResult &result, DistanceUnit unit, char *szOut)
{
    char *p = szOut;
    char *const pEnd = szOut + kDistanceLineRoom;
    const double metres = kUnits[static_cast<size_t>(unit)].metres;
    for (const Path *path : {&result.paths.short_path, &result.paths.long_path}) {
        if (path != &result.paths.short_path)
            *p++ = ' ';
        p = write_fixed(p, pEnd, path->metres / metres, 3);
        *p++ = ' ';
        p = write_bearing(p, pEnd, path->bearing);
    }
    if (result.contest) {
        *p++ = ' ';
        p += format_contest_kilometres(result.contest->kilometres, p);
        *p++ = ' ';
        p = std::to_chars(p, pEnd, result.contest->points).ptr;
    }
    return static_cast<size_t>(p - szOut);
}

size_t format_contest_kilometres(double kilometres, char *szOut)
{
    // Truncated, not rounded: the whole kilometres printed are those the
    // points count (99.996 km shows 99.99, 100 points, not 100.00).
    const int whole = static_cast<int>(kilometres);
    const double fraction = kilometres - whole; // exact
    char *p = std::to_chars(szOut, szOut + 12, whole).ptr;
    *p++ = '.';
    const int hundredths = std::min(99, static_cast<int>(fraction * 100));
    *p++ = static_cast<char>('0' + hundredths / 10);
    *p++ = static_cast<char>('0' + hundredths % 10);
    return static_cast<size_t>(p - szOut);
}

CellSize cell_size(const Cell &cell)
{
    const GeographicLib::Ellipsoid &earth = GeographicLib::Ellipsoid::WGS84();
    const double north = cell.south + cell.span / 5760.0; /* finest cells of 1/5760 degree */
    const double width = cell.span / 2880.0 * kRadiansPerDegree;
    return {earth.CircleRadius(cell.centre_latitude()) * width,
            earth.MeridianDistance(north) - earth.MeridianDistance(cell.south)};
}
