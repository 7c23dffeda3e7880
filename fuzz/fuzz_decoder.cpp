// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Decoder under any ten bytes. Input: the ten bytes, then optionally one
// byte of direction flags (bit 0 longitude, bit 1 latitude).
//
// The ten bytes sit at the very end of a heap block of their own, so a read
// of an eleventh byte is caught. Properties checked:
// - each axis equals the sum of its characters' values times the cell sizes,
//   computed here in long double from exact fractions, negated by its flag;
// - both triples are finite, degrees and minutes whole, |minutes| < 60,
//   |seconds| <= 60 (a hair under a whole minute may show as 60);
// - every non-zero component carries the sign of its coordinate;
// - degrees + minutes / 60 + seconds / 3600 gives the coordinate back.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "qra.h"

namespace {

void Check(bool bOk, const char *szWhat)
{
    if (!bOk) {
        fprintf(stderr, "property failed: %s\n", szWhat);
        abort();
    }
}

// Cell sizes of the five levels in degrees, as exact fractions.
const long double kLoCell[5] = {20.0L, 2.0L, 1.0L / 12, 1.0L / 288, 1.0L / 2880};
const long double kLaCell[5] = {10.0L, 1.0L, 1.0L / 24, 1.0L / 576, 1.0L / 5760};
const bool kLetter[5] = {true, false, true, true, false};

long double ExpectedAxis(const char *szInput, bool bLongitude)
{
    long double v = bLongitude ? -180.0L : -90.0L;
    for (int i = 0; i < 5; i++) {
        const int nCode = static_cast<signed char>(szInput[2 * i + (bLongitude ? 0 : 1)]);
        v += (nCode - (kLetter[i] ? 65 : 48)) * (bLongitude ? kLoCell[i] : kLaCell[i]);
    }
    return v;
}

void CheckTriple(const double *dDMS, double dValue)
{
    for (int i = 0; i < 3; i++)
        Check(std::isfinite(dDMS[i]), "components are finite");
    Check(dDMS[0] == std::trunc(dDMS[0]), "degrees are whole");
    Check(dDMS[1] == std::trunc(dDMS[1]), "minutes are whole");
    Check(std::fabs(dDMS[1]) < 60, "|minutes| < 60");
    Check(std::fabs(dDMS[2]) <= 60 + 1e-9, "|seconds| <= 60");
    for (int i = 0; i < 3; i++) {
        if (dValue > 0)
            Check(dDMS[i] >= 0, "a positive coordinate has no negative component");
        if (dValue < 0)
            Check(dDMS[i] <= 0, "a negative coordinate has no positive component");
        if (dValue == 0)
            Check(dDMS[i] == 0, "a zero coordinate has zero components");
    }
    const long double dBack =
        static_cast<long double>(dDMS[0]) + dDMS[1] / 60.0L + dDMS[2] / 3600.0L;
    Check(fabsl(dBack - dValue) <= 1e-9L, "the triple recomposes to the coordinate");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 10)
        return 0;
    const int nFlags = size > 10 ? data[10] : 0;
    const int loDir = nFlags & 1, laDir = (nFlags >> 1) & 1;

    std::unique_ptr<char[]> input(new char[10]);
    memcpy(input.get(), data, 10);
    const char *szInput = input.get();

    const double dLo = KCoordFromLoOrLa(szInput, 1, loDir);
    const double dLa = KCoordFromLoOrLa(szInput, 0, laDir);
    const long double dLoExpected = ExpectedAxis(szInput, true);
    const long double dLaExpected = ExpectedAxis(szInput, false);
    Check(fabsl(dLo - (loDir ? -dLoExpected : dLoExpected)) <= 1e-10L, "longitude value");
    Check(fabsl(dLa - (laDir ? -dLaExpected : dLaExpected)) <= 1e-10L, "latitude value");
    Check(KCoordFromLoOrLa(szInput, 1, 0) == (loDir ? -dLo : dLo), "direction only negates");

    double dDMSLa[3], dDMSLo[3];
    KDMSLoLaFromLOCX(szInput, dDMSLa, dDMSLo, loDir, laDir);
    CheckTriple(dDMSLo, dLo);
    CheckTriple(dDMSLa, dLa);
    return 0;
}
