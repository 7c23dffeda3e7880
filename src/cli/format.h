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

/* Writes the fewest decimal digits that read back as d (as std::to_chars
 * does) in fixed notation; d is a coordinate in degrees (|d| <= 180, and 0 or
 * |d| >= 1e-6). Returns the length; nothing is terminated. */
size_t format_degrees(double d, char *szOut);

/* Writes "48 48 37.50 N": whole degrees and minutes, seconds with two
 * decimals, then the hemisphere letter (N/S, or E/W when !bLatitude). The
 * value, in signed ten-thousandths of a second, is rounded to the hundredth
 * (halves away from zero) before it is split, so the seconds never read
 * 60.00. Returns the length. */
size_t format_dms(int64_t nE4, bool bLatitude, char *szOut);

#endif
