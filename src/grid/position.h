// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Positions as typed, read exactly: the digits become integers in units of
 * 10^-12 arc-second, never a double, so that no binary rounding can move a
 * point across a cell edge. Pure functions over std::string_view. */
#ifndef TOLKA_GRID_POSITION_H
#define TOLKA_GRID_POSITION_H

#include <cstdint>
#include <string_view>

#include "reason.h"

constexpr int64_t kUnitsPerSecond = 1000000000000; /* 10^12 */
constexpr int64_t kUnitsPerMinute = 60 * kUnitsPerSecond;
constexpr int64_t kUnitsPerDegree = 3600 * kUnitsPerSecond;
/* Decimals read exactly, in any one number; longer fractions are refused. */
constexpr int kMaxDecimals = 24;

/* One coordinate. Its magnitude is `units`, or a little more (less than one
 * unit more) when `beyond` says digits went past the unit. */
struct Coordinate {
    int64_t units = 0;
    bool beyond = false;
    bool negative = false; /* west or south; never set for an exact zero */
};

struct Position {
    Coordinate latitude;  /* -90 to 90 */
    Coordinate longitude; /* -180 to 180 */
};

/* A position in any of the forms people write it in:
 * - two signed decimal numbers of degrees, latitude first ("48.81056 2.28722",
 *   "-33.8688,151.2093", "-33.8688, 151.2");
 * - two coordinates in degrees, minutes and seconds, each with its
 *   hemisphere letter after ("48 48 38 N 2 17 14 E", "48°48'38\"N 2°17'14\"E",
 *   "48d48m38sN 2d17m14sE", "48.8566n 2.3522e") or before the numbers
 *   ("N 48° 51.400' E 002° 21.050'", ADIF's "N048 51.400 E002 21.050"), in
 *   either order; lower-case letters where they cannot mean anything else.
 * A decimal comma is refused with a message that says to write a point.
 * text holds neither line end nor surrounding blanks. */
Result<Position> parse_position(std::string_view text);

/* Only the decimal form: "LATITUDE LONGITUDE", separated by blanks and/or one
 * comma, so "LATITUDE,LONGITUDE" with no blank too. */
Result<Position> parse_decimal_position(std::string_view text);

#endif
