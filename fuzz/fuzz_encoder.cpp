// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Encoder under any six doubles (every bit pattern: NaN, infinities,
// subnormals, huge values) and any two hemisphere flags. Input: 48 bytes of
// doubles in memory order, then optionally two ints for the flags.
//
// Properties checked, not only survival:
// - exactly eleven bytes are written (canaries on both sides), the last NUL;
// - an axis whose first grid index is not a finite int is all '?', and only
//   then (up to a rounding band near the int limits);
// - where an index exists, the field letter is the low byte of 'A' + index;
// - a point inside the grid gives valid characters, and the locator decodes
//   to the south-west corner of a cell that holds the point once moved 1e-6
//   degree away from the meridian or the equator;
// - the display text the window would show is valid UTF-8 with no capital.
#include <glib.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "callbacks.h"
#include "qra.h"

namespace {

constexpr unsigned char kCanary = 0xA5;
constexpr int kGuard = 16;

void Check(bool bOk, const char *szWhat)
{
    if (!bOk) {
        fprintf(stderr, "property failed: %s\n", szWhat);
        abort();
    }
}

struct Axis {
    int nFirst;          // 0 longitude (even positions), 1 latitude (odd)
    long double dHalf;   // 180 or 90
    long double dCell;   // finest cell: 1/2880 or 1/5760 degree
};

const Axis kAxes[2] = {{0, 180.0L, 1.0L / 2880}, {1, 90.0L, 1.0L / 5760}};

// Valid characters of the five levels, coarsest first.
bool InAlphabet(int nLevel, char c)
{
    switch (nLevel) {
    case 0: return c >= 'A' && c <= 'R';
    case 1: case 4: return c >= '0' && c <= '9';
    default: return c >= 'A' && c <= 'X';
    }
}

void CheckAxis(const Axis &axis, const double *tab, int nDir, const char *szLOCX)
{
    const long double d = tab[0], m = tab[1], s = tab[2];
    bool bFinite = std::isfinite(tab[0]) && std::isfinite(tab[1]) && std::isfinite(tab[2]);
    char c[5];
    for (int i = 0; i < 5; i++)
        c[i] = szLOCX[axis.nFirst + 2 * i];

    if (!bFinite) {
        for (int i = 0; i < 5; i++)
            Check(c[i] == '?', "non-finite input gives '?' on its axis");
        return;
    }

    // The point in long double, biased away from the meridian or equator,
    // as an offset from the grid's west or south edge.
    const long double dMag = d + m / 60 + s / 3600 + 1e-6L;
    const long double x = nDir == 0 ? dMag + axis.dHalf : axis.dHalf - dMag;
    // What double arithmetic may have lost on the way: a few roundings of
    // the largest term, and the documented ~1e-12 degree near the bias.
    const long double dErr =
        (fabsl(d) + fabsl(m) / 60 + fabsl(s) / 3600 + axis.dHalf) * 8 * DBL_EPSILON + 1e-12L;
    const long double dFields = x / (2 * axis.dHalf) * 18;
    const long double dFieldsErr =
        dErr / (2 * axis.dHalf) * 18 + fabsl(x / (2 * axis.dHalf) * 18) * 4 * DBL_EPSILON;

    const long double kIntTop = 2147483648.0L, kIntBottom = -2147483649.0L;
    if (dFields - dFieldsErr >= kIntTop || dFields + dFieldsErr <= kIntBottom) {
        for (int i = 0; i < 5; i++)
            Check(c[i] == '?', "an index beyond an int gives '?' on its axis");
        return;
    }
    if (!(dFields + dFieldsErr < kIntTop && dFields - dFieldsErr > kIntBottom))
        return; // rounding band at the int limits: either outcome is right

    // A magnitude within range that the bias carries to or past the far
    // edge is in the last column or row.
    const long double dMagnitude = d + m / 60 + s / 3600;
    if (dFields + dFieldsErr >= 18 && fabsl(dMagnitude) <= axis.dHalf + dErr) {
        if (dFields - dFieldsErr < 18 || fabsl(dMagnitude) > axis.dHalf - dErr)
            return; // within rounding of the edge or of the range: either outcome is right
        for (int i = 0; i < 5; i++)
            Check(c[i] == "R9XX9"[i], "the far edge is the last column or row");
        return;
    }

    // The field index is dFields truncated toward zero, unless dFields lies
    // within its error of an integer.
    if (fabsl(dFields - roundl(dFields)) > dFieldsErr) {
        const long long nIndex = static_cast<long long>(truncl(dFields));
        const char cExpected = static_cast<char>(static_cast<unsigned char>(65 + nIndex));
        Check(c[0] == cExpected, "the field letter is the low byte of 'A' + index");
    }

    // Inside the grid: valid characters, and the decoded corner's cell
    // holds the biased point.
    if (x < dErr || x > 2 * axis.dHalf - dErr || dErr > axis.dCell / 8)
        return;
    for (int i = 0; i < 5; i++)
        Check(InAlphabet(i, c[i]), "a point inside the grid gives valid characters");
    const long double dCorner = KCoordFromLoOrLa(szLOCX, axis.nFirst == 0, 0) + axis.dHalf;
    const long double dSlack = dErr + 1e-12L;
    Check(dCorner - dSlack <= x, "the biased point is not west/south of its cell");
    Check(x < dCorner + axis.dCell + dSlack, "the biased point is not east/north of its cell");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6 * sizeof(double))
        return 0;
    double tab[6];
    memcpy(tab, data, sizeof tab);
    int nFlags[2] = {0, 0};
    memcpy(nFlags, data + sizeof tab, std::min(sizeof nFlags, size - sizeof tab));

    unsigned char buffer[kGuard + 11 + kGuard];
    memset(buffer, kCanary, sizeof buffer);
    char *szLOCX = reinterpret_cast<char *>(buffer + kGuard);
    Check(KLOCXFromDMSLoLaTab(tab, szLOCX, nFlags[0], nFlags[1]) == 0, "the result is 0");
    for (int i = 0; i < kGuard; i++) {
        Check(buffer[i] == kCanary, "nothing is written before the buffer");
        Check(buffer[kGuard + 11 + i] == kCanary, "nothing is written after eleven bytes");
    }
    Check(szLOCX[10] == '\0', "position 10 is NUL");

    CheckAxis(kAxes[0], tab, nFlags[0], szLOCX);
    CheckAxis(kAxes[1], tab + 3, nFlags[1], szLOCX);

    // What the window shows of it.
    unsigned char shown[kGuard + LOCATOR_DISPLAY_SIZE + kGuard];
    memset(shown, kCanary, sizeof shown);
    char *szShown = reinterpret_cast<char *>(shown + kGuard);
    locator_display_text(szLOCX, szShown);
    for (int i = 0; i < kGuard; i++) {
        Check(shown[i] == kCanary, "display text: nothing written before");
        Check(shown[kGuard + LOCATOR_DISPLAY_SIZE + i] == kCanary,
              "display text: nothing written after");
    }
    const size_t nShown = strlen(szShown);
    Check(nShown >= 10 && nShown < LOCATOR_DISPLAY_SIZE, "display text length");
    Check(g_utf8_validate(szShown, -1, NULL), "display text is valid UTF-8");
    Check(g_utf8_strlen(szShown, -1) == 10, "display text has ten characters");
    for (size_t i = 0; i < nShown; i++)
        Check(!(szShown[i] >= 'A' && szShown[i] <= 'Z'), "display text has no capital");
    return 0;
}
