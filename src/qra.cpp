// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qra.h"

#include <cmath>

namespace {

/* The five levels of the extended locator, coarsest first. Each level gives
 * one character per axis: longitude at even positions, latitude at odd ones.
 * The cell sizes are the decimal literals the decoder multiplies by; they are
 * written out rather than computed (1.0 / 12 ...) so the decoded corners stay
 * bit-identical to the published values. */
struct GridLevel {
    bool bLetter;    /* letter ('A' + n) or digit ('0' + n) */
    int nCells;      /* cells per parent cell, on both axes */
    double dLoCell;  /* longitude cell size in degrees */
    double dLaCell;  /* latitude cell size in degrees */
};

const GridLevel kLevels[] = {
    {true, 18, 20.0, 10.0},
    {false, 10, 2.0, 1.0},
    {true, 24, 0.08333333333333333, 0.041666666666666664},
    {true, 24, 0.003472222222222222, 0.001736111111111111},
    {false, 10, 0.0003472222222222222, 0.0001736111111111111},
};
constexpr int kLevelCount = sizeof kLevels / sizeof kLevels[0];

/* Moves every magnitude 1e-6 degree away from the meridian or equator, so a
 * value on a cell edge (or rounding noise just short of it) lands in the
 * cell beyond the edge rather than the one before. */
constexpr double kBias = 0.000001;

/* The one place doubles become grid indices: the five indices of an axis
 * from s, its count of coarsest cells, by successive truncation toward zero,
 * each remainder scaled to the next level. False when s is not a finite
 * value that fits an int: it has no index, and converting it would be
 * undefined behaviour. Only s can fail: once it has an index, each finer
 * value is a fraction in (-1, 1) times at most 24. */
bool AxisIndices(double s, int *pnIndex)
{
    if (!(s > -2147483649.0 && s < 2147483648.0))
        return false;
    double r = s;
    pnIndex[0] = static_cast<int>(r);
#pragma GCC unroll 5
    for (int i = 1; i < kLevelCount; i++) {
        r = (r - pnIndex[i - 1]) * kLevels[i].nCells;
        pnIndex[i] = static_cast<int>(r);
    }
    return true;
}

/* Low byte of nBase + n without signed overflow; a negative index simply
 * gives a character below the alphabet. */
char LowByte(int nBase, int n)
{
    return static_cast<char>(static_cast<unsigned char>(static_cast<unsigned>(nBase) +
                                                        static_cast<unsigned>(n)));
}

/* The sum KConvertDMS2Decimal exports, here where the encoder can inline
 * it: an exported function may be interposed, so it is called instead. */
double DegreesOf(double degrees, double minutes, double seconds)
{
    return degrees + minutes / 60 + seconds / 3600;
}

/* Writes one axis's five characters at szOut[0], [2], [4], [6], [8].
 * dHalfRange/dRange: 180/360 for longitude, 90/180 for latitude. Inlined
 * into both calls, so that the ranges are constants. */
inline __attribute__((always_inline)) void EncodeAxis(double m, int nDir, double dHalfRange,
                                                      double dRange, char *szOut)
{
    const bool bInRange = (m >= -dHalfRange) & (m <= dHalfRange);
    m = m + kBias;
    const double x = nDir == 0 ? m + dHalfRange : dHalfRange - m;
    /* Divide first, then scale: the order fixes the rounding. */
    int anIndex[kLevelCount];
    if (!AxisIndices(x / dRange * kLevels[0].nCells, anIndex)) {
        for (int i = 0; i < kLevelCount; i++)
            szOut[2 * i] = '?'; /* a visible non-locator */
        return;
    }
    /* The bias pushes 180 E and 90 N (and what lies within it of them) past
     * the last column or row; they belong to it, as the grid has no cell
     * beyond. Magnitudes out of range keep their out-of-alphabet letters.
     * Every index is selected, not branched to: all replaced or none. */
    const bool bPastFarEdge = bInRange & (anIndex[0] >= kLevels[0].nCells);
#pragma GCC unroll 5
    for (int i = 0; i < kLevelCount; i++) {
        const int n = bPastFarEdge ? kLevels[i].nCells - 1 : anIndex[i];
        szOut[2 * i] = LowByte(kLevels[i].bLetter ? 'A' : '0', n);
    }
}

} // namespace

double KConvertDMS2Decimal(double degrees, double minutes, double seconds)
{
    return DegreesOf(degrees, minutes, seconds);
}

char KAsciiCharFromNumber(int nCharacter)
{
    return LowByte('A', nCharacter);
}

char KAsciiNumberFromNumber(int nCharacter)
{
    return LowByte('0', nCharacter);
}

int KLOCXFromDMSLoLaTab(const double *tab, char *szLOCX, int nLoDir, int nLaDir)
{
    EncodeAxis(DegreesOf(tab[0], tab[1], tab[2]), nLoDir, 180, 360, szLOCX);
    EncodeAxis(DegreesOf(tab[3], tab[4], tab[5]), nLaDir, 90, 180, szLOCX + 1);
    szLOCX[10] = '\0';
    return 0;
}

double KNumberFromAsciiChar(char cCharacter)
{
    return static_cast<signed char>(cCharacter) - 65;
}

double KNumberFromAsciiNumber(char cCharacter)
{
    return static_cast<signed char>(cCharacter) - 48;
}

double KCoordFromLoOrLa(const char *szInput, int nFLoOrLa, int dir)
{
    const bool bLongitude = nFLoOrLa != 0;
    const char *szAxis = bLongitude ? szInput : szInput + 1;
    /* Corner of the grid, then each level's offset added in turn: multiplying
     * by the cell size (not dividing by the count) fixes the rounding. */
    double v = bLongitude ? -180.0 : -90.0;
    for (int i = 0; i < kLevelCount; i++) {
        const char c = szAxis[2 * i];
        const double dValue =
            kLevels[i].bLetter ? KNumberFromAsciiChar(c) : KNumberFromAsciiNumber(c);
        v = v + dValue * (bLongitude ? kLevels[i].dLoCell : kLevels[i].dLaCell);
    }
    return dir != 0 ? -v : v;
}

void KConvertDecimal2DMS(double decimal, double *dDMS)
{
    /* trunc() + 0.0 equals truncation to an int stored back as a double
     * (including +0 rather than -0 between -1 and 0), with no out-of-range
     * conversion for huge or non-finite values. */
    const double degrees = std::trunc(decimal) + 0.0;
    const double t = (decimal - degrees) * 60;
    const double minutes = std::trunc(t) + 0.0;
    dDMS[0] = degrees;
    dDMS[1] = minutes;
    dDMS[2] = (t - minutes) * 60;
}

void KDMSLoLaFromLOCX(const char *szInput, double *dDMSLa, double *dDMSLo, int loDir,
                      int laDir)
{
    const double dLo = KCoordFromLoOrLa(szInput, 1, loDir);
    const double dLa = KCoordFromLoOrLa(szInput, 0, laDir);
    KConvertDecimal2DMS(dLa, dDMSLa);
    KConvertDecimal2DMS(dLo, dDMSLo);
}
