// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tolka-cli's position and locator parsers and its exact encoder: every
// accepted form, every refused form with its message, cell edges in all four
// hemispheres at all five levels of both systems, and the agreement with the
// window's arithmetic.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "callbacks.h"
#include "grid/locator.h"
#include "grid/position.h"
#include "qra.h"

namespace {

std::string message(const Reason &why)
{
    std::string text;
    append_substituted(text, why.format, why.args, 3);
    return text;
}

// The locator of the text, or "refused: MESSAGE".
std::string encoded(const std::string &text, LocatorSystem system = LocatorSystem::Tolka,
                    int nLength = 10)
{
    const Result<Position> p = parse_position(text);
    if (!p)
        return "refused: " + message(p.reason);
    char sz[10];
    encode_locator(p.value, system, nLength, sz);
    return std::string(sz, static_cast<size_t>(nLength));
}

struct Row {
    const char *szText;
    const char *szExpected;
};

TEST(CliPosition, EveryAcceptedFormGivesItsCell)
{
    static const Row kRows[] = {
        // 48°48'38" N, 2°17'14" E in decimal degrees and in every lettered form.
        {"48.81056 2.28722", "JN18DTKK78"},
        {"48.81056,2.28722", "JN18DTKK78"},
        {"48.81056, 2.28722", "JN18DTKK78"},
        {"48.81056\t ,\t2.28722", "JN18DTKK78"},
        {"+48.81056 +2.28722", "JN18DTKK78"},
        {"48 48 38 N 2 17 14 E", "JN18DTKK78"},
        {"48°48'38\"N 2°17'14\"E", "JN18DTKK78"},
        {"48° 48' 38\" N, 2° 17' 14\" E", "JN18DTKK78"},
        {"48d48m38sN 2d17m14sE", "JN18DTKK78"},
        {"48°48′38″N 2°17′14″E", "JN18DTKK78"},
        {"48°48'38''N2°17'14''E", "JN18DTKK78"},
        {"2 17 14 E 48 48 38 N", "JN18DTKK78"},
        {"48.81056N 2.28722E", "JN18DTKK78"},
        {"48 48.63333 N 2 17.23333 E", "JN18DTKK78"},
        {"48°38\" N 2 E", "JN18AAAG00"}, // minutes left out by their marks
        {"48º48’38”N 2°17’14”E", "JN18DTKK78"}, // º for °, a word processor's quotes
        // The letter first, degrees and decimal minutes, as GPS units write it.
        {"N 48° 51.400' E 002° 21.050'", "JN18EUFN04"},
        {"N48 51.400 E2 21.050", "JN18EUFN04"},
        {"E 2 21.05, N 48 51.4", "JN18EUFN04"},
        {"N048 51.400 E002 21.050", "JN18EUFN04"}, // ADIF's location
        {"S33 52.128 E151 12.550", "QF56ODMD25"},
        {"n48 51.4 e2 21.05", "JN18EUFN04"},
        // Lower-case letters wherever they can mean nothing else.
        {"48.8566n 2.3522e", "JN18EUFN44"},
        {"33 52 8 s 151 12 33 e", "QF56ODMD25"},
        {"40 45 31 n 73 59 16 w", "FN30ASDE59"},
        {"40 45 31 n 73 59 16 o", "FN30ASDE59"},
        {"48d51m24sn 2d21m3se", "JN18EUFN04"},
        // The window's examples, away from its bias: the same cells.
        {"50 50 51 N 4 21 11 E", "JO20EUFI61"},
        {"40 45 31 N 73 59 16 O", "FN30ASDE59"},
        {"40 45 31 N 73 59 16 W", "FN30ASDE59"},
        {"33 52 11 S 151 12 31 E", "QF56ODMD00"},
        {"-33.8688 151.2093", "QF56ODMD25"},
        {"33 52 7.68 S 151 12 33.48 E", "QF56ODMD25"},
        // Corners and edges of the grid: the far edges belong to the last cells.
        {"90 180", "RR99XXXX99"},
        {"-90 -180", "AA00AAAA00"},
        {"90 N 180 W", "AR09AXAX09"},
        {"0 0", "JJ00AAAA00"},
        {"-0 -0.0", "JJ00AAAA00"},
        // 24 decimals, exactly: a hair south of the equator is south of it.
        {"-0.000000000000000000000001 0", "JI09AXAX09"},
        {"0.000000000000000000000001 -0.000000000000000000000001", "IJ90XAXA90"},
        {"89.999999999999999999999999 179.999999999999999999999999", "RR99XXXX99"},
        {"0 0 0.00000000000000000001 S 0 E", "JI09AXAX09"},
    };
    for (const Row &row : kRows)
        EXPECT_EQ(encoded(row.szText), row.szExpected) << row.szText;
}

TEST(CliPosition, EveryRefusedFormSaysWhy)
{
    static const Row kRows[] = {
        {"91 0", "latitude 91 is out of range (-90 to 90)"},
        {"-90.000000000000000000000001 0",
         "latitude -90.000000000000000000000001 is out of range (-90 to 90)"},
        {"0 180.0000001", "longitude 180.0000001 is out of range (-180 to 180)"},
        {"0 -1000000000000000000000", "longitude -1000000000000000000000 is out of range (-180 to 180)"},
        {"90 0 1 N 0 E", "latitude 90 0 1 N is out of range (-90 to 90)"},
        {"0 N 180 0 0.000000001 W", "longitude 180 0 0.000000001 W is out of range (-180 to 180)"},
        {"48 60 N 2 E", "minutes 60 are out of range (0 to 60, 60 excluded)"},
        {"48 0 60.5 N 2 E", "seconds 60.5 are out of range (0 to 60, 60 excluded)"},
        {"nan 0", "nan is not a plain decimal number"},
        {"0 inf", "inf is not a plain decimal number"},
        {"1e5 0", "1e5 is not a plain decimal number"},
        {"0x1p3 0", "0x1p3 is not a plain decimal number"},
        {"4. 0", "4. is not a plain decimal number"},
        {".5 0", ".5 is not a plain decimal number"},
        {"--5 0", "--5 is not a plain decimal number"},
        {"5 +-5", "+-5 is not a plain decimal number"},
        {"0.1234567890123456789012345 0", "0.1234567890123456789012345 has more than 24 decimals"},
        {"48", "the longitude is missing"},
        {"48,", "the longitude is missing"},
        {"48 N", "the longitude is missing"},
        {"2 E", "the latitude is missing"},
        {"48 2 3", "unexpected 3 after the two coordinates"},
        {"48 N 2 E 3", "unexpected 3 after the two coordinates"},
        {"48,,2", "unexpected ,"},
        {",48 2", "unexpected ,"},
        {"48 N 2 S", "two latitudes: 48 N and 2 S"},
        {"2 E 3 O", "two longitudes: 2 E and 3 O"},
        {"48 48 38 N 2 17 14", "2 17 14 has no hemisphere letter (N, S, E, W or O)"},
        {"-48 N 2 E", "-48: a coordinate with a hemisphere letter takes no sign"},
        {"48.5 30 N 2 E", "only the last number of 48.5 30 N may have decimals"},
        {"48 1 2 3 N 2 E", "more than three numbers in 48 1 2 3"},
        {"48' 2° N 2 E", "degrees, minutes and seconds are out of order in 48' 2°"},
        {"N 2 E", "no number after E"},
        {"N, 2 E", "no number after N"},
        {"N 48 51 E 2 1 2 3", "more than three numbers in E 2 1 2 3"},
        {"N -48 E 2", "-48: a coordinate with a hemisphere letter takes no sign"},
        {"48 # N 2 E", "unexpected #"},
        {"48°2°N 2°E", "degrees, minutes and seconds are out of order in 48°2°"},
        {"-.5 0", "-.5 is not a plain decimal number"},
        // Where s may mean seconds or south, and what only looks like a letter.
        {"33 52 8s 151 12 33 e", "in 33 52 8s, s could be seconds or south: write S for south"},
        {"48d48m38s, 2d17m14se", "in 48d48m38s, s could be seconds or south: write S for south"},
        {"1e5 0", "1e5 is not a plain decimal number"},
        {"48.5 2e5", "2e5 is not a plain decimal number"},
        {"48.5n 2e5", "2e5 is not a plain decimal number"},
        {"48 ne 2 e", "ne is not a plain decimal number"},
        // The decimal comma: what to write instead.
        {"48,8566 2,3522", "48,8566 has a decimal comma: write the decimals after a point, 48.8566"},
        {"48,8566,2,3522", "48,8566 has a decimal comma: write the decimals after a point, 48.8566"},
        {"-33,5, 151", "33,5 has a decimal comma: write the decimals after a point, 33.5"},
        {"N 48°51,4' E 2°21,05'", "51,4 has a decimal comma: write the decimals after a point, 51.4"},
        {"48,5 200", "unexpected 200 after the two coordinates"},
        {"48 2 Ä", "unexpected Ä after the two coordinates"},
        {"48 N 2Ä E", "2Ä is not a plain decimal number"},
    };
    for (const Row &row : kRows)
        EXPECT_EQ(encoded(row.szText), std::string("refused: ") + row.szExpected) << row.szText;
}

TEST(CliPosition, DecimalFormAloneRefusesLetters)
{
    EXPECT_EQ(parse_decimal_position("48.81056,2.28722").value.latitude.units,
              int64_t{175718016} * 1000000000); // 48.81056 * 3600 * 10^12
    EXPECT_EQ(message(parse_decimal_position("48 N 2 E").reason), "N is not a plain decimal number");
}

std::string decoded_or_refusal(const char *szText, LocatorSystem system)
{
    const Result<Cell> cell = parse_locator(szText, system);
    return cell ? "accepted" : message(cell.reason);
}

struct LocatorRow {
    LocatorSystem system;
    const char *szText, *szExpected;
};

TEST(CliLocator, EachLevelRefusesTheWrongCharacterByPosition)
{
    static const LocatorRow kRows[] = {
        {LocatorSystem::Tolka, "jn18dtkk78", "accepted"},
        {LocatorSystem::Tolka, "RR99XXXX99", "accepted"},
        {LocatorSystem::Tolka, "JS", "character 2 of JS must be a letter A-R, not S"},
        {LocatorSystem::Tolka, "JNA8", "character 3 of JNA8 must be a digit 0-9, not A"},
        {LocatorSystem::Tolka, "JN18DY", "character 6 of JN18DY must be a letter A-X, not Y"},
        {LocatorSystem::Tolka, "JN18DT7K", "character 7 of JN18DT7K must be a letter A-X in the extended layout, not 7"},
        {LocatorSystem::Tolka, "JN18DTKKA8", "character 9 of JN18DTKKA8 must be a digit 0-9 in the extended layout, not A"},
        {LocatorSystem::Tolka, "JN1é", "character 4 of JN1é must be a digit 0-9, not é"},
        {LocatorSystem::Tolka, "JN 18", "character 3 of JN 18 must be a digit 0-9, not  "},
        {LocatorSystem::Tolka, "JN1", "JN1 has an odd number of characters"},
        {LocatorSystem::Tolka, "JN18DTKK78AA", "JN18DTKK78AA is longer than 10 characters"},
        {LocatorSystem::Tolka, "", "a locator is expected"},
        {LocatorSystem::Maidenhead, "jn18dt72ax", "accepted"},
        {LocatorSystem::Maidenhead, "JN18DTKK", "character 7 of JN18DTKK must be a digit 0-9 in the Maidenhead layout, not K"},
        {LocatorSystem::Maidenhead, "JN18DT72Y0", "character 9 of JN18DT72Y0 must be a letter A-X in the Maidenhead layout, not Y"},
    };
    for (const auto &row : kRows)
        EXPECT_EQ(decoded_or_refusal(row.szText, row.system), row.szExpected) << row.szText;
}

// Position units per ten-thousandth of a second.
constexpr int64_t kPerE4 = kUnitsPerSecond / 10000;

// "D M S.SSSSSSSS H": the exact text of a signed value in 10^-8 second.
std::string dms_text(int64_t nE8, bool bLatitude)
{
    const bool bNegative = nE8 < 0;
    const int64_t m = bNegative ? -nE8 : nE8;
    char sz[64];
    snprintf(sz, sizeof sz, "%lld %lld %lld.%08lld %c", (long long)(m / 360000000000),
             (long long)(m / 6000000000 % 60), (long long)(m / 100000000 % 60),
             (long long)(m % 100000000),
             bLatitude ? (bNegative ? 'S' : 'N') : (bNegative ? 'W' : 'E'));
    return sz;
}

// The exact south-west corner of the cell that encodes the point (in 10^-4
// second), read back through the locator parser.
std::pair<int64_t, int64_t> corner_of(int64_t nLaE8, int64_t nLoE8, LocatorSystem system,
                                      int nLength)
{
    const std::string text = dms_text(nLaE8, true) + " " + dms_text(nLoE8, false);
    const std::string locator = encoded(text, system, nLength);
    const Result<Cell> cell = parse_locator(locator, system);
    EXPECT_TRUE(cell) << text << " -> " << locator;
    return {cell_latitude_e4(cell.value, false), cell_longitude_e4(cell.value, false)};
}

TEST(CliExactness, AnEdgeBelongsToTheCellNorthOrEastOfItInEveryHemisphereAndLevel)
{
    // Cell sizes in 10^-4 second, latitude then longitude, level by level.
    static const int64_t kTolka[5][2] = {
        {360000000, 720000000}, {36000000, 72000000}, {1500000, 3000000}, {62500, 125000},
        {6250, 12500}};
    static const int64_t kMaidenhead[5][2] = {
        {360000000, 720000000}, {36000000, 72000000}, {1500000, 3000000}, {150000, 300000},
        {6250, 12500}};
    for (LocatorSystem system : {LocatorSystem::Tolka, LocatorSystem::Maidenhead})
        for (int nLevel = 0; nLevel < 5; nLevel++) {
            const int64_t *size = (system == LocatorSystem::Tolka ? kTolka : kMaidenhead)[nLevel];
            for (int nLaSign : {1, -1})
                for (int nLoSign : {1, -1}) {
                    // Edges near 48° of latitude and 2° of longitude (or their
                    // mirror images), multiples of this level's cell.
                    const int64_t la = nLaSign * (1728000000 / size[0] * size[0] + size[0]);
                    const int64_t lo = nLoSign * (72000000 / size[1] * size[1] + size[1]);
                    const std::string where = dms_text(la * 10000, true) + " " +
                                              dms_text(lo * 10000, false) + " level " +
                                              std::to_string(nLevel + 1);
                    EXPECT_EQ(corner_of(la * 10000, lo * 10000, system, 2 * nLevel + 2),
                              std::make_pair(la, lo))
                        << where;
                    EXPECT_EQ(corner_of(la * 10000 - 1, lo * 10000 - 1, system, 2 * nLevel + 2),
                              std::make_pair(la - size[0], lo - size[1]))
                        << where << " less 10^-8 second";
                }
        }
}

// True if v (10^-6 degree) lies within 2 * 10^-6 degree of an edge of the
// finest grid (1/5760 or 1/2880 degree).
bool near_edge(int64_t v, int64_t nCellsPerDegree)
{
    const int64_t nScaled = (v + 200000000) * nCellsPerDegree; // offset kept positive
    const int64_t r = nScaled % 1000000;
    return r < 2 * nCellsPerDegree || r > 1000000 - 2 * nCellsPerDegree;
}

TEST(CliExactness, AgreesWithTheWindowAwayFromEdges)
{
    // The window nudges every magnitude 10^-6 degree away from the meridian
    // and the equator; apart from that the two must name the same cell.
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<int64_t> la(-90000000, 90000000), lo(-180000000, 180000000);
    int nCompared = 0;
    for (int i = 0; i < 200000; i++) {
        const int64_t a = la(random), o = lo(random);
        if (near_edge(a, 5760) || near_edge(o, 2880))
            continue;
        const double tab[6] = {std::abs(o) / 1e6, 0, 0, std::abs(a) / 1e6, 0, 0};
        char szWindow[11];
        KLOCXFromDMSLoLaTab(tab, szWindow, o < 0, a < 0);
        char sz[64];
        snprintf(sz, sizeof sz, "%s%lld.%06lld %s%lld.%06lld", a < 0 ? "-" : "",
                 (long long)(std::abs(a) / 1000000), (long long)(std::abs(a) % 1000000),
                 o < 0 ? "-" : "", (long long)(std::abs(o) / 1000000),
                 (long long)(std::abs(o) % 1000000));
        ASSERT_EQ(encoded(sz), std::string(szWindow)) << sz;
        nCompared++;
    }
    EXPECT_GT(nCompared, 190000);
}

TEST(CliLocator, CornersAreTheWindowsDoubles)
{
    // Short locators as the window pads them; Maidenhead corners as the
    // window's decoder gives the same corner named in Tolka's system.
    // szExpected: the window's text for the same corner.
    static const LocatorRow kRows[] = {
        {LocatorSystem::Tolka, "jn18dtkk78", "jn18dtkk78"},
        {LocatorSystem::Tolka, "jn18dtkk", "jn18dtkk"},
        {LocatorSystem::Tolka, "JN18", "JN18"},
        {LocatorSystem::Tolka, "aj05baaa00", "aj05baaa00"},
        {LocatorSystem::Tolka, "rr", "rr"},
        {LocatorSystem::Maidenhead, "JN18DT72", "JN18DTQE88"},
        {LocatorSystem::Maidenhead, "JN18DT72AX", "JN18DTQH81"},
        {LocatorSystem::Maidenhead, "RR99XX99XX", "RR99XXXX99"},
    };
    for (const auto &row : kRows) {
        char szWindow[11];
        locator_working_copy(row.szExpected, strlen(row.szExpected), szWindow);
        const Result<Cell> cell = parse_locator(row.szText, row.system);
        ASSERT_TRUE(cell) << row.szText;
        EXPECT_EQ(cell.value.south, KCoordFromLoOrLa(szWindow, 0, 0)) << row.szText;
        EXPECT_EQ(cell.value.west, KCoordFromLoOrLa(szWindow, 1, 0)) << row.szText;
    }
}

} // namespace
