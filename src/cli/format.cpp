// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "format.h"

#include <charconv>

namespace {

constexpr uint64_t kE4PerDegree = 3600 * 10000;
constexpr int kMaxDecimals = 12;

/* The most a value may lie beyond its first n decimals (in E4) for those
 * decimals to stay within 10^-12 degree of it: kE4PerDegree / 10^(12 - n). */
struct Slack {
    uint64_t at[kMaxDecimals + 1] = {};
    constexpr Slack()
    {
        uint64_t nPower = 1;
        for (int n = kMaxDecimals; n >= 0; n--, nPower *= 10)
            at[n] = kE4PerDegree / nPower;
    }
};
constexpr Slack kSlack;

} // namespace

size_t format_degrees(int64_t nE4, char *szOut)
{
    /* Rounded up: a positive magnitude away from zero, a negative one toward
     * it. The decimals come by long division, one at a time, until the
     * rounding moves the value by 10^-12 degree at most. */
    const bool bNegative = nE4 < 0;
    const uint64_t nMagnitude = bNegative ? 0 - static_cast<uint64_t>(nE4) : nE4;
    uint64_t nWhole = nMagnitude / kE4PerDegree, nRest = nMagnitude % kE4PerDegree;
    char digits[kMaxDecimals];
    int n = 0;
    for (;;) {
        const uint64_t nMoved = bNegative || nRest == 0 ? nRest : kE4PerDegree - nRest;
        if (nMoved <= kSlack.at[n])
            break;
        nRest *= 10;
        digits[n++] = static_cast<char>('0' + nRest / kE4PerDegree);
        nRest %= kE4PerDegree;
    }
    if (!bNegative && nRest != 0) { /* one up in the last place, carried */
        int i = n - 1;
        for (; i >= 0 && digits[i] == '9'; i--)
            digits[i] = '0';
        if (i >= 0)
            digits[i]++;
        else
            nWhole++;
    }
    while (n > 0 && digits[n - 1] == '0')
        n--;
    char *p = szOut;
    if (bNegative && (nWhole != 0 || n > 0))
        *p++ = '-';
    p = std::to_chars(p, szOut + kNumberRoom, nWhole).ptr;
    if (n > 0) {
        *p++ = '.';
        for (int i = 0; i < n; i++)
            *p++ = digits[i];
    }
    return static_cast<size_t>(p - szOut);
}

size_t format_dms(int64_t nE4, bool bLatitude, Rounding rounding, char *szOut)
{
    /* Hundredths of a second, rounded; then split. The magnitude's rounding
     * goes up for a positive value and down for a negative one (up means
     * north or east), or to the nearest either way. */
    const int64_t nMagnitude = nE4 < 0 ? -nE4 : nE4;
    const int64_t nAdded = rounding == Rounding::kNearest ? 50 : nE4 >= 0 ? 99 : 0;
    const int64_t nSigned = (nMagnitude + nAdded) / 100 * (nE4 < 0 ? -1 : 1);
    const int64_t nHundredths = nSigned < 0 ? -nSigned : nSigned;
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
    const bool bNegative = nSigned < 0;
    *p++ = bLatitude ? (bNegative ? 'S' : 'N') : (bNegative ? 'W' : 'E');
    return static_cast<size_t>(p - szOut);
}
