// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "format.h"

#include <charconv>

size_t format_degrees(double d, char *szOut)
{
    const std::to_chars_result r = std::to_chars(szOut, szOut + kNumberRoom, d,
                                                 std::chars_format::fixed);
    return r.ec == std::errc() ? static_cast<size_t>(r.ptr - szOut) : 0;
}

size_t format_dms(int64_t nE4, bool bLatitude, char *szOut)
{
    const int64_t nHundredths = ((nE4 < 0 ? -nE4 : nE4) + 50) / 100;
    const int64_t nSeconds = nHundredths % 6000;
    char *p = szOut;
    char *const pEnd = szOut + kNumberRoom;
    p = std::to_chars(p, pEnd, nHundredths / 360000).ptr;
    *p++ = ' ';
    p = std::to_chars(p, pEnd, nHundredths / 6000 % 60).ptr;
    *p++ = ' ';
    p = std::to_chars(p, pEnd, nSeconds / 100).ptr;
    *p++ = '.';
    *p++ = static_cast<char>('0' + nSeconds % 100 / 10);
    *p++ = static_cast<char>('0' + nSeconds % 10);
    *p++ = ' ';
    const bool bNegative = nE4 < 0 && nHundredths != 0;
    *p++ = bLatitude ? (bNegative ? 'S' : 'N') : (bNegative ? 'W' : 'E');
    return static_cast<size_t>(p - szOut);
}
