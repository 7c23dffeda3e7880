// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Numbers as the command line prints them: '.' as the decimal separator in
 * every locale, and no exponent, so that what is printed reads back. */
#ifndef TOLKA_CLI_FORMAT_H
#define TOLKA_CLI_FORMAT_H

#include <cstddef>
#include <cstdint>

/* Room for any coordinate the commands print. */
constexpr size_t kNumberRoom = 48;

/* Writes the value, in signed ten-thousandths of a second, in decimal
 * degrees rounded up (north and east), with the fewest decimals (at most
 * 12) that keep it within 10^-12 degree of the exact value: a cell's
 * south-west corner printed so reads back inside its cell. Returns the
 * length; nothing is terminated. */
size_t format_degrees(int64_t nE4, char *szOut);

/* How format_dms takes a value to the hundredth of a second. */
enum class Rounding {
    kUp,      /* north and east: a cell's corner stays inside its cell */
    kNearest, /* a half away from zero: a centre, which has room all round */
};

/* Writes "48 48 37.50 N": whole degrees and minutes, seconds with two
 * decimals, then the hemisphere letter (N/S, or E/W when !bLatitude). The
 * value, in signed ten-thousandths of a second, is rounded to the hundredth
 * before it is split, so the seconds never read 60.00. Returns the
 * length. */
size_t format_dms(int64_t nE4, bool bLatitude, Rounding rounding, char *szOut);

#endif
