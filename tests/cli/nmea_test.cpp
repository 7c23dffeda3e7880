// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// NMEA 0183 sentences read exactly: one row per sentence kind and oddity,
// and the exact value of gpsd's doubles.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "grid/locator.h"
#include "grid/nmea.h"

namespace {

std::string message(const Reason &why)
{
    std::string text;
    append_substituted(text, why.format, why.args, 3);
    return text;
}

// The ten-character locator of the sentence's fix, and its time as
// "YYYY-MM-DD hh:mm:ss.mmm" (the date left out when unknown), or "refused:
// MESSAGE", or "other".
std::string read(const std::string &text)
{
    const Result<NmeaSentence> r = read_nmea(text);
    if (!r)
        return "refused: " + message(r.reason);
    if (r.value.kind == NmeaSentence::kOther)
        return "other";
    const FixTime &t = r.value.time;
    char sz[40];
    if (t.has_date)
        snprintf(sz, sizeof sz, "%04d-%02d-%02d ", t.year, t.month, t.day);
    else
        sz[0] = '\0';
    std::string s = sz;
    snprintf(sz, sizeof sz, "%02d:%02d:%02d.%03d", t.hour, t.minute, t.second, t.millisecond);
    s += t.has_time ? sz : "-";
    if (r.value.kind == NmeaSentence::kNoFix)
        return "no fix " + s;
    char szLocator[10];
    encode_locator(r.value.position, LocatorSystem::Tolka, 10, szLocator);
    return std::string(szLocator, 10) + " " + s;
}

TEST(CliNmea, EverySentenceKindGivesItsFixOrItsRefusal)
{
    static const struct {
        const char *szSentence;
        const char *szExpected;
    } kRows[] = {
        // The classic RMC, 48 07.038 N 11 31.000 E, and the same without checksum.
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
         "JN58SCET85 1994-03-23 12:35:19.000"},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
         "JN58SCET85 1994-03-23 12:35:19.000"},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6a",
         "JN58SCET85 1994-03-23 12:35:19.000"}, // lower-case hexadecimal
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6B",
         "refused: checksum *6B does not match the sentence"},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6",
         "refused: *6 is not a checksum of two hexadecimal digits"},
        {"$GPRMC,123519,V,,,,,,,230394,,,N*51", "no fix 1994-03-23 12:35:19.000"},
        {"$GNRMC,101500.25,A,4848.63,N,00217.2,E,,,071226,,,N*7E", "no fix 2026-12-07 10:15:00.250"},
        // GGA, GLL, GNS, other talkers, the southern and western hemispheres.
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
         "JN58SCET85 12:35:19.000"},
        {"$GPGGA,123519,4807.038,N,01131.000,E,0,00,,,M,,M,,*52", "no fix 12:35:19.000"},
        {"$BDGLL,3352.1300,S,15112.5500,E,101510.00,A,A*62", "QF56ODMD25 10:15:10.000"},
        {"$GAGLL,3352.1300,S,15112.5500,E,101510.00,V,N*7A", "no fix 10:15:10.000"},
        {"$GNGNS,101511,4042.7700,N,07400.3600,W,AN,08,0.9,10,-34,,*70", "FN20XRWC25 10:15:11.000"},
        {"$GLGNS,101511,,,,,NN,00,,,,,*54", "no fix 10:15:11.000"},
        // Exactly on edges: 2 25' E is the western edge of JN18FU, 0 0' the
        // corner of four fields; 90 N and 180 W, the edges of the grid.
        {"$GBRMC,101509,A,4850.1,N,00225.0,E,,,071226,,", "JN18FUAA09 2026-12-07 10:15:09.000"},
        {"$GPRMC,101509,A,0000.0000,S,00000.0000,W,,,071226,,", "JJ00AAAA00 2026-12-07 10:15:09.000"},
        {"$GPGGA,000000,9000.0,N,18000.0,W,1,,,,,,,,", "AR09AXAX09 00:00:00.000"},
        // Refused: out of range, minutes past 59, a field that is no number,
        // hemisphere letters swapped, too few fields, a bad time or date.
        {"$GPGGA,000000,9000.1,N,00000.0,E,1,,,,,,,,", "refused: latitude 9000.1 is out of range (-90 to 90)"},
        {"$GPGGA,000000,4860.0,N,00000.0,E,1,,,,,,,,", "refused: latitude 4860.0 is not ddmm.mmmm"},
        {"$GPGGA,000000,4807.0x8,N,00000.0,E,1,,,,,,,,", "refused: latitude 4807.0x8 is not ddmm.mmmm"},
        {"$GPGGA,000000,4807.038,E,01131.000,N,1,,,,,,,,", "refused: latitude hemisphere E is not N or S"},
        {"$GPGLL,4807.038,N,01131.000,W", "refused: $GPGLL,4807.038,N,01131.000,W has too few fields"},
        {"$GPGGA,000000,4807.038,N,01131.000", "refused: $GPGGA,000000,4807.038,N,01131.000 has too few fields"},
        {"$GPGGA,250000,4807.038,N,01131.000,E,1,,,,,,,,", "refused: time 250000 is not hhmmss.ss"},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,,,320394,,", "refused: date 320394 is not ddmmyy"},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,,,290226,,", "refused: date 290226 is not ddmmyy"},
        {"$GPRMC,123519,A,4807.038,N,01131.000,E,,,290228,,", "JN58SCET85 2028-02-29 12:35:19.000"},
        // Cut short after the position, before the date.
        {"$GPRMC,000001.00,A,3352.128000,S,15112.558000,E",
         "refused: $GPRMC,000001.00,A,3352.128000,S,15112.558000,E has too few fields"},
        // Not fixes: other sentences and talkers; not sentences at all.
        {"$GPGSV,1,1,02,01,40,083,46,02,17,308,41*7D", "other"},
        {"$PGRMC,A,,100,,,,,,A,,1,2,1,30*4B", "other"},
        {"$GPRM", "refused: $GPRM is not an NMEA sentence"},
        {"$GPGSV,1,1,,,,,,,,,,,,,,,,,,,,,,,", "refused: too many fields in $GPGSV,1,1,,,,,,,,,,,,,,,,,,,,,,,"},
    };
    for (const auto &row : kRows)
        EXPECT_EQ(read(row.szSentence), row.szExpected) << row.szSentence;
}

TEST(CliNmea, EncodeReadsAWholeSentenceAndRefusesOneWithoutFix)
{
    const Result<Position> p =
        parse_position("$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A");
    ASSERT_TRUE(p);
    EXPECT_EQ(p.value.latitude.units, 48 * kUnitsPerDegree + 7038 * kUnitsPerMinute / 1000);
    EXPECT_EQ(message(parse_position("$GPGGA,123519,,,,,0,,,,,,,,").reason), "no fix");
}

TEST(CliNmea, DoublesAreReadAtTheirExactValue)
{
    static const struct {
        double degrees;
        int64_t units;
        bool beyond;
    } kRows[] = {
        {0.5, kUnitsPerDegree / 2, false},
        {-180.0, 180 * kUnitsPerDegree, false},
        // 0.1 is 0.1000000000000000055511151231257827... : beyond the units.
        {0.1, kUnitsPerDegree / 10, true},
        // 2 + 25/60 rounds below 2 25', into the cell west of that edge.
        {2 + 25.0 / 60, 2 * kUnitsPerDegree + 25 * kUnitsPerMinute - 1, true},
        {std::ldexp(1.0, -60), 0, true},
    };
    for (const auto &row : kRows) {
        Coordinate c;
        ASSERT_TRUE(exact_coordinate(row.degrees, 180, c));
        EXPECT_EQ(c.units, row.units) << row.degrees;
        EXPECT_EQ(c.beyond, row.beyond) << row.degrees;
        EXPECT_EQ(c.negative, row.degrees < 0) << row.degrees;
    }
    Coordinate c;
    EXPECT_FALSE(exact_coordinate(90.000001, 90, c));
    EXPECT_FALSE(exact_coordinate(std::nan(""), 90, c));
}

} // namespace
