// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* NMEA 0183 sentences as GPS receivers send them: the fixes of RMC, GGA, GLL
 * and GNS from any satellite system's talker, read exactly (ddmm.mmmm as
 * degrees and decimal minutes, into the integer units of position.h), with
 * the time of the fix. Pure functions over std::string_view. */
#ifndef TOLKA_GRID_NMEA_H
#define TOLKA_GRID_NMEA_H

#include <cstdint>
#include <string_view>

#include "position.h"
#include "reason.h"

/* The UTC time of a fix, as far as it is known. */
struct FixTime {
    bool has_time = false;
    bool has_date = false; /* RMC carries the date; GGA, GLL and GNS do not */
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0; /* second up to 60, a leap second */
    int millisecond = 0;                  /* decimals past the third are dropped */
};

/* What a sentence says. */
struct NmeaSentence {
    enum Kind {
        kFix,   /* a position: position and time are set */
        kNoFix, /* a position sentence that says the receiver has no fix */
        kOther  /* a valid sentence of another kind (GSV, VTG...): nothing read */
    } kind = kOther;
    Position position;
    FixTime time; /* also for kNoFix, where the sentence has it */
};

/* Whether text is meant as a sentence: it starts with '$'. */
inline bool is_nmea_sentence(std::string_view text)
{
    return !text.empty() && text[0] == '$';
}

/* One sentence, "$GPRMC,...*6A", without its line end. The checksum, when
 * present, must match; a sentence of the four kinds must have its fields. */
Result<NmeaSentence> read_nmea(std::string_view text);

/* The position of a sentence with a fix; refuses the others, "no fix" for a
 * sentence without one. */
Result<Position> parse_nmea_position(std::string_view text);

/* The days of a month (1 to 12) of the Gregorian calendar. */
int days_in_month(int year, int month);

/* The exact value of a double of degrees (a dyadic rational), as the
 * coordinate holding it: units truncated, beyond when a remainder is left.
 * false for NaN and for magnitudes past nLimitDegrees. */
bool exact_coordinate(double degrees, int nLimitDegrees, Coordinate &c);

#endif
