// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Distance and bearing: the geodesic against GeodSolve, the long path, the
// contest rule worked by hand, the points as typed and the contest cell's
// centre, the output line.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <random>
#include <string>

#include "grid/distance.h"

namespace {

const double kMeridian = 4 * 10001965.729313; // GeodSolve -i: 0 0 90 0
const double kEquator = 2 * M_PI * 6378137;   // WGS84's equatorial radius

struct GeodesicCase {
    double lat1, lon1, lat2, lon2;
    double metres, azimuth; // GeodSolve -i
    double longMetres, longTolerance;
};

// metres and azimuth: `GeodSolve -i -p 6` (geographiclib-tools 2.1.2) on the
// four numbers of the row. The long path is exact where the geodesic closes:
// along the equator and the meridians (kEquator or kMeridian less the short
// path; identical points go round a meridian; antipodes get two halves).
// Elsewhere it is compared with the long geodesic through both points, solved
// by Newton's method on GeographicLib's direct problem and checked with
// `GeodSolve -L LAT1 LON1 AZIMUTH` (the distance given lands on the second
// point), to the 3 km the great ellipse keeps where that geodesic leaves on
// nearly the reversed bearing, as here.
const GeodesicCase kGeodesicCases[] = {
    {48.5, 2.5, 48.5, 2.5, 0, 180, kMeridian, 1},
    {-0.0, 0, 0, -0.0, 0, 180, kMeridian, 1}, // GeodSolve: 0; a point and itself: one bearing
    {90, 0, 90, 120, 0, 60, kMeridian, 1},
    {0, 0, 0, 180, 20003931.458625, 0, 20003931.458625, 1},
    {30, 0, -30, 180, 20003931.458625, 0, 20003931.458625, 1},
    {90, 0, -90, 0, 20003931.458625, 180, 20003931.458625, 1},
    {89.5, 0, 89.5, 180, 111693.950897, 0, kMeridian - 111693.950897, 1},
    {0, 10, 0, 20, 1113194.907933, 90, kEquator - 1113194.907933, 1},
    {10, 20, 60, 20, 5548217.986256, 0, kMeridian - 5548217.986256, 1},
    {51.5, -0.1, -33.87, 151.2, 16987563.650783, 60.42713115319, 23040235.187, 3000},
    {-10, -179.99, 10, 179.99, 2211710.775725, -0.05796797164, 37796152.204, 3000},
    {0, 0, 10, -0.0007, 1105854.835952, -0.00399651626, 38902008.082, 3000},
    // Nearly antipodal (no single long geodesic to compare with), across the
    // date line, very short.
    {-30.12345, 0, 30.12344, 179.99, 20003921.119807, 178.90234212906, NAN, 0},
    {0, 0, 0.5, 179.5, 19936288.578965, 25.67187286829, NAN, 0},
    {0, 0, 0, 179.5, 19980861.908891, 55.96649514016, NAN, 0},
    {50, 179.5, 51, -179.5, 131935.962781, 32.14539363725, NAN, 0},
    {48.81056, 2.28722, 48.81057, 2.28723, 1.332724, 33.44378281044, NAN, 0},
};

TEST(Distance, GeodesicAgreesWithGeodSolveAndGoesRoundTheOtherWay)
{
    for (const GeodesicCase &c : kGeodesicCases) {
        SCOPED_TRACE(testing::Message() << c.lat1 << ' ' << c.lon1 << ' ' << c.lat2 << ' '
                                        << c.lon2);
        const GeodesicPaths p = geodesic_paths({c.lat1, c.lon1}, {c.lat2, c.lon2});
        EXPECT_NEAR(p.short_path.metres, c.metres, 1.0);
        EXPECT_NEAR(std::remainder(p.short_path.bearing - c.azimuth, 360), 0, 0.01);
        EXPECT_NEAR(std::remainder(p.long_path.bearing - c.azimuth - 180, 360), 0, 1e-9);
        if (!std::isnan(c.longMetres)) {
            EXPECT_NEAR(p.long_path.metres, c.longMetres, c.longTolerance);
        }
    }
}

TEST(Distance, AnyPairGivesBearingsInRangeAndTheLongerWayRound)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> latitude(-90, 90), longitude(-180, 180);
    std::uniform_int_distribution<int> pole(0, 9);
    for (int i = 0; i < 20000; ++i) {
        // One point in ten on a pole, where the longitude is arbitrary.
        const LatLon from{pole(random) ? latitude(random) : 90.0, longitude(random)};
        const LatLon to{pole(random) ? latitude(random) : -90.0, longitude(random)};
        const GeodesicPaths p = geodesic_paths(from, to);
        for (const Path &path : {p.short_path, p.long_path}) {
            ASSERT_TRUE(path.bearing >= 0 && path.bearing < 360) << path.bearing;
            ASSERT_FALSE(std::signbit(path.bearing));
        }
        ASSERT_GE(p.long_path.metres, p.short_path.metres) << from.latitude << ' ' << to.latitude;
    }
}

TEST(Distance, BearingsWrapIntoZeroTo360)
{
    const double cases[][2] = {{-0.0, 0}, {360, 0}, {-1e-20, 0}, {-90, 270},
                               {720.5, 0.5}, {180, 180}, {359.999, 359.999}};
    for (const auto &c : cases) {
        EXPECT_EQ(normalise_bearing(c[0]), c[1]) << c[0];
        EXPECT_FALSE(std::signbit(normalise_bearing(c[0]))) << c[0];
    }
}

// cos d = sin(lat1) sin(lat2) + cos(lat1) cos(lat2) cos(lon2 - lon1), d in
// degrees times 111.2 km; points: whole km, truncated, plus one.
struct ContestCase {
    double lat1, lon1, lat2, lon2, kilometres;
    int points;
};
const ContestCase kContestCases[] = {
    // 0.75 + 0.25 * cos 90 = 0.75; acos 0.75 = 41.4096221 deg; * 111.2 = 4604.750
    {60, 0, 60, 90, 4604.749979, 4605},
    // -0.5 * 0.5 + 0.75 * cos 60 = 0.125; acos = 82.8192442 deg; * 111.2 = 9209.500
    {30, 0, -30, 60, 9209.499957, 9210},
    // Same meridian: d is the latitudes' difference, the centres of JN18DT and
    // JN18DA: 19/24 deg * 111.2 = 88.0333
    {48.8125, 2.2916667, 48.0208333, 2.2916667, 88.033333, 89},
    // Identical, and antipodal: rounding gives a cosine past 1 and -1 here,
    // clamped: 0 km and 1 point; 180 * 111.2 = 20016 km and 20017 points.
    {0.31, 5, 0.31, 5, 0, 1},
    {0.31, 0, -0.31, 180, 20016, 20017},
};

TEST(Distance, ContestRuleGivesTheHandWorkedKilometresAndPoints)
{
    for (const ContestCase &c : kContestCases) {
        SCOPED_TRACE(c.points);
        const ContestDistance d = iaru_distance({c.lat1, c.lon1}, {c.lat2, c.lon2});
        EXPECT_NEAR(d.kilometres, c.kilometres, 1e-5);
        EXPECT_EQ(d.points, c.points);
    }
}

std::string message(const Reason &why)
{
    std::string text;
    append_substituted(text, why.format, why.args, 3);
    return text;
}

// at: a locator's centre (the doubles `decode --centre` prints), a position's
// nearest doubles. contest: the centre of the 6-character cell, where an edge
// belongs to the cell north or east of it, decided on the digits typed
// (48.124999999999999999999999 reads as the double 48.125, on the edge, yet
// lies south of it). The two systems name the same 6-character cells.
TEST(DistancePoint, GeodesicTakesTheCentreOrTheNearestDoublesAndContestTheSubsquare)
{
    const LocatorSystem T = LocatorSystem::Tolka, M = LocatorSystem::Maidenhead;
    const double kJN18DT[2] = {48.8125, 2 + 7.0 / 24};
    const struct {
        const char *text;
        LocatorSystem system;
        double latitude, longitude, contestLatitude, contestLongitude;
    } cases[] = {
        {"jn18dt", T, 48.8125, 2.2916666666666665, kJN18DT[0], kJN18DT[1]},
        {"JN18DTKK78", T, 48.81050347222222, 2.2873263888888893, kJN18DT[0], kJN18DT[1]},
        {"JN18DT72AX", M, 48.804079861111106, 2.3085069444444444, kJN18DT[0], kJN18DT[1]},
        {"RR99XXXX99", T, 89.99991319444445, 179.9998263888889, 90 - 1.0 / 48, 180 - 1.0 / 24},
        {"48.81056,2.28722", T, 48.81056, 2.28722, kJN18DT[0], kJN18DT[1]},
        {"+48.81056,+2.28722", M, 48.81056, 2.28722, kJN18DT[0], kJN18DT[1]},
        {"48.125,2.25", T, 48.125, 2.25, 48.125 + 1.0 / 48, 2.25 + 1.0 / 24},
        {"48.124999999999999999999999,2.249999999999999999999999", M, 48.125, 2.25,
         48.125 - 1.0 / 48, 2.25 - 1.0 / 24},
        {"-48.125,-2.25", T, -48.125, -2.25, -48.125 + 1.0 / 48, -2.25 + 1.0 / 24},
        {"-48.125000000000000000000001,-2.250000000000000000000001", T, -48.125, -2.25,
         -48.125 - 1.0 / 48, -2.25 - 1.0 / 24},
        {"$GPGLL,4807.500,S,00215.000,W,123519,A,A*4D", T, -48.125, -2.25, -48.125 + 1.0 / 48,
         -2.25 + 1.0 / 24}, // an NMEA sentence, on the edges too
        {"-0,-0.0", M, 0, 0, 1.0 / 48, 1.0 / 24},
        {"90,180", T, 90, 180, 90 - 1.0 / 48, 180 - 1.0 / 24},       // RR99XX
        {"-90,-180", M, -90, -180, -90 + 1.0 / 48, -180 + 1.0 / 24}, // AA00AA
        // Rounded once, from all the digits typed, to the nearest double:
        // either side of the midpoint 0.1000000000000000124900090270...
        // between 0.1 and the next double.
        {"0.100000000000000012490009,1", T, 0.1, 1, 2.5 / 24, 1 + 1.0 / 24},
        {"0.100000000000000012490010,1", T, 0.10000000000000002, 1, 2.5 / 24, 1 + 1.0 / 24},
        // The other forms of a position, written without blanks.
        {"48.125N,2.25E", T, 48.125, 2.25, 48.125 + 1.0 / 48, 2.25 + 1.0 / 24},
        {"S48°7.5',W2°15'", M, -48.125, -2.25, -48.125 + 1.0 / 48, -2.25 + 1.0 / 24},
    };
    for (const auto &c : cases) {
        const Result<DistancePoint> point = parse_point(c.text, c.system, true);
        ASSERT_TRUE(point) << c.text << ": " << message(point.reason);
        EXPECT_EQ(point.value.at.latitude, c.latitude) << c.text;
        EXPECT_EQ(point.value.at.longitude, c.longitude) << c.text;
        EXPECT_NEAR(point.value.contest.latitude, c.contestLatitude, 1e-12) << c.text;
        EXPECT_NEAR(point.value.contest.longitude, c.contestLongitude, 1e-12) << c.text;
    }
    // Outside the contest rule a square is a point too, at its own centre.
    const Result<DistancePoint> square = parse_point("JN18", T, false);
    ASSERT_TRUE(square);
    EXPECT_EQ(square.value.contest.latitude, 48.5);
    EXPECT_EQ(square.value.contest.longitude, 3);
}

TEST(DistancePoint, NeitherLocatorNorPositionSaysWhatIsWrong)
{
    const struct {
        const char *text, *expected;
    } cases[] = {
        {"JN18D", "JN18D has an odd number of characters"},
        {"ZZ", "character 1 of ZZ must be a letter A-R, not Z"},
        {"JN18DT72", "character 7 of JN18DT72 must be a letter A-X in the extended layout, not 7"},
        {"JN18DTKK78XX", "JN18DTKK78XX is longer than 10 characters"},
        {"48.81056", "48.81056 is not a point: a position is written LATITUDE,LONGITUDE, with no "
                     "blank"},
        {"-33.8688", "-33.8688 is not a point: a position is written LATITUDE,LONGITUDE, with no "
                     "blank"},
        {"91,0", "latitude 91 is out of range (-90 to 90)"},
        {"90.000000000000000000000001,0",
         "latitude 90.000000000000000000000001 is out of range (-90 to 90)"},
        {"0,-180.5", "longitude -180.5 is out of range (-180 to 180)"},
        {"48.8,", "the longitude is missing"},
        {",2", "unexpected ,"},
        {"48,2,3", "unexpected ,3 after the two coordinates"},
        {"nan,0", "nan is not a plain decimal number"},
        {"48.8,1e1", "1e1 is not a plain decimal number"},
        // The contest rule scores subsquares only.
        {"JN18", "JN18 is shorter than the 6 characters the contest rule needs"},
        {"jn", "jn is shorter than the 6 characters the contest rule needs"},
        {"48N,2N", "two latitudes: 48N and 2N"},
        {"48,5,2,5", "48,5 has a decimal comma: write the decimals after a point, 48.5"},
    };
    for (const auto &c : cases) {
        const Result<DistancePoint> point = parse_point(c.text, LocatorSystem::Tolka, true);
        EXPECT_FALSE(point) << c.text;
        EXPECT_EQ(message(point.reason), c.expected);
    }
}

TEST(Distance, LinePrintsFixedDecimalsWithoutMinusZeroOr360)
{
    const struct {
        DistanceResult result;
        DistanceUnit unit;
        const char *expected;
    } cases[] = {
        {{{{1234.5678, 359.996}, {38765432.1, 179.996}}, {}}, DistanceUnit::kilometre,
         "1.235 0.00 38765.432 180.00"},
        {{{{-0.0, -0.0}, {kMeridian, 0}}, {}}, DistanceUnit::kilometre,
         "0.000 0.00 40007.863 0.00"},
        {{{{1609.344, 90}, {1852, 270}}, {}}, DistanceUnit::mile, "1.000 90.00 1.151 270.00"},
        {{{{1852, 90}, {1609.344, 270}}, {}}, DistanceUnit::nautical_mile,
         "1.000 90.00 0.869 270.00"},
        // Contest kilometres truncated with the points, not rounded past them.
        {{{{0, 180}, {kMeridian, 0}}, ContestDistance{99.99999999, 100}},
         DistanceUnit::mile, "0.000 180.00 24859.733 0.00 99.99 100"},
        {{{{0, 180}, {kMeridian, 0}}, ContestDistance{12.348, 13}}, DistanceUnit::kilometre,
         "0.000 180.00 40007.863 0.00 12.34 13"},
    };
    // The decimal separator stays '.' under a locale whose own is ','.
    ASSERT_TRUE(std::setlocale(LC_ALL, "fr_FR.UTF-8")) << "fr_FR.UTF-8 not generated";
    for (const auto &c : cases) {
        char line[kDistanceLineRoom];
        EXPECT_EQ(std::string(line, format_distance_line(c.result, c.unit, line)), c.expected);
    }
    std::setlocale(LC_ALL, "C");
}

TEST(Distance, UnitIsOneOfThreeNames)
{
    EXPECT_EQ(parse_distance_unit("km"), DistanceUnit::kilometre);
    EXPECT_EQ(parse_distance_unit("mi"), DistanceUnit::mile);
    EXPECT_EQ(parse_distance_unit("nmi"), DistanceUnit::nautical_mile);
    for (const char *bad : {"", "KM", "m", "kms", "nm"})
        EXPECT_FALSE(parse_distance_unit(bad)) << bad;
}

} // namespace
