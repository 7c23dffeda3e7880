// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The locator arithmetic: documented examples, round properties, and a
// bit-for-bit comparison with a straight-line rendering of the arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "qra.h"

namespace {

std::string Encode(double d0, double d1, double d2, double d3, double d4, double d5, int nLoDir,
                   int nLaDir)
{
    const double tab[6] = {d0, d1, d2, d3, d4, d5};
    char sz[11];
    EXPECT_EQ(KLOCXFromDMSLoLaTab(tab, sz, nLoDir, nLaDir), 0);
    EXPECT_EQ(sz[10], '\0');
    return std::string(sz, 10);
}

struct EncodeCase {
    double tab[6];
    int nLoDir, nLaDir;
    const char *szExpected;
};

const EncodeCase kEncodeCases[] = {
    {{4, 21, 11, 50, 50, 51}, 0, 0, "JO20EUFI61"},
    {{73, 59, 16, 40, 45, 31}, 1, 0, "FN30ASDE59"},
    {{151, 12, 31, 33, 52, 11}, 0, 1, "QF56ODMD00"},
    {{0, 0, 30, 0, 0, 20}, 1, 1, "II99XXVU57"},
    // The bias follows the hemisphere, so the flags matter even at zero.
    {{0, 0, 0, 0, 0, 0}, 0, 0, "JJ00AAAA00"},
    {{0, 0, 0, 0, 0, 0}, 1, 0, "IJ90XAXA90"},
    {{0, 0, 0, 0, 0, 0}, 1, 1, "II99XXXX99"},
    // On a grid line: the cell beyond it, seen from the meridian.
    {{2, 0, 0, 0, 0, 0}, 0, 0, "JJ10AAAA00"},
    {{2, 0, 0, 0, 0, 0}, 1, 0, "IJ80XAXA90"},
    {{2, 0, 0, 0, 0, 0}, 1, 1, "II89XXXX99"},
    // Just short of a grid line: within the bias, or not.
    {{1, 59, 59.999, 0, 0, 0}, 0, 0, "JJ10AAAA00"},
    {{1, 59, 59.9963, 0, 0, 0}, 0, 0, "JJ00XAXA90"},
    // Unnormalised triples are simply added.
    {{0, 120, 0, 0, 0, 0}, 0, 0, "JJ10AAAA00"},
    {{0, 0, 7200, 0, 0, 0}, 0, 0, "JJ10AAAA00"},
    // A negative magnitude is not the other hemisphere.
    {{-2, 0, 0, 0, 0, 0}, 0, 0, "IJ90AAAA00"},
    // Corners of the grid and beyond.
    {{180, 0, 0, 90, 0, 0}, 1, 1, "AA00AAAA00"},
    // 180 E and 90 N, and what the bias carries past them, are the last
    // column and row; a hair beyond is off the grid.
    {{180, 0, 0, 90, 0, 0}, 0, 0, "RR99XXXX99"},
    {{179, 59, 59.9999999, 89, 59, 59.9999999}, 0, 0, "RR99XXXX99"},
    {{180, 0, 0.0001, 90, 0, 0.0001}, 0, 0, "SS00AAAA00"},
    {{179, 59, 59, 89, 59, 59}, 0, 0, "RR99XXXX98"},
    {{190, 0, 0, 0, 0, 0}, 0, 0, "SJ50AAAA00"},
    {{190, 0, 0, 0, 0, 0}, 1, 0, "AJ+0AAAA00"},
    // Any non-zero flag means west or south.
    {{73, 59, 16, 40, 45, 31}, -7, 0, "FN30ASDE59"},
    {{151, 12, 31, 33, 52, 11}, 0, 42, "QF56ODMD00"},
    // Minutes below zero lower the value.
    {{2, -120, 0, 0, 0, 0}, 0, 0, "JJ00AAAA00"},
    // 0.0036" (the 1e-6 degree bias) short of a cell edge. In exact
    // arithmetic on the decimals typed, the biased position lies on the edge
    // (12.4964" + 0.0036" = 12.5", one 12.5" cell; 6.2464" + 0.0036" is one
    // 6.25" cell; 37' 26.25" is 17 cells of 2.5' and 4 of 12.5", plus 7 of
    // 1.25"; 5' 7.5" is 2 cells of 2.5', 1 of 6.25" and 2 of 0.625"), so it
    // belongs to the cell beyond, as a point on an edge does. The documented
    // order of double operations, deg + min/60 + sec/3600, then + 1e-6,
    // then x / 360 * 18 (x / 180 * 18), keeps it there; x * 18 / 360 loses
    // it in the first two rows, deg + (min + sec/60) / 60 in the last two.
    {{0, 0, 12.4964, 0, 0, 0}, 0, 0, "JJ00AABA00"},
    {{0, 0, 0, 0, 0, 6.2464}, 0, 0, "JJ00AAAB00"},
    {{4, 37, 26.2464, 0, 0, 0}, 0, 0, "JJ20HALA70"},
    {{0, 0, 0, 2, 5, 7.4964}, 0, 0, "JJ02ACAB02"},
};

template <size_t N> void ExpectEncodings(const EncodeCase (&cases)[N])
{
    for (const EncodeCase &c : cases) {
        SCOPED_TRACE(c.szExpected);
        EXPECT_EQ(Encode(c.tab[0], c.tab[1], c.tab[2], c.tab[3], c.tab[4], c.tab[5], c.nLoDir,
                         c.nLaDir),
                  c.szExpected);
    }
}

TEST(Encoder, DocumentedPositionsGiveTheirLocators)
{
    ExpectEncodings(kEncodeCases);
}

TEST(Encoder, WritesElevenBytesAndNothingBeyond)
{
    const double tab[6] = {4, 21, 11, 50, 50, 51};
    char sz[32];
    std::memset(sz, '#', sizeof sz);
    KLOCXFromDMSLoLaTab(tab, sz + 8, 0, 0);
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(sz[i], '#') << "byte before the buffer at " << i;
    EXPECT_EQ(std::string(sz + 8, 10), "JO20EUFI61");
    EXPECT_EQ(sz[18], '\0');
    for (size_t i = 19; i < sizeof sz; i++)
        EXPECT_EQ(sz[i], '#') << "byte after position 10 at " << i;
}

// Values with no int index: that position and the finer ones of its axis are
// '?', the other axis is unaffected.
TEST(Encoder, ValuesWithoutAnIndexShowQuestionMarks)
{
    const double kNan = std::numeric_limits<double>::quiet_NaN();
    const double kInf = std::numeric_limits<double>::infinity();
    const EncodeCase cases[] = {
        {{kNan, 0, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},
        {{0, kNan, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},
        {{0, 0, 0, 0, 0, kNan}, 0, 0, "J?0?A?A?0?"},
        {{kInf, 0, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},
        {{kInf, 0, 0, 0, 0, 0}, 1, 0, "?J?0?A?A?0"},
        {{-kInf, 0, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},
        {{0, 0, 0, kInf, 0, 0}, 0, 1, "J?0?A?A?0?"},
        {{kInf, -kInf, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},  // inf - inf is NaN
        {{1e300, 0, 0, 1e300, 0, 0}, 0, 0, "??????????"},
        {{0, 0, -1e300, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},
        // Just inside and just outside the int range of the field index:
        // s = 2147483647 has an index (its low byte is '@'), 2147483648 not.
        {{42949672760.0, 0, 0, 0, 0, 0}, 0, 0, "@J00AAAA00"},
        {{42949672780.0, 0, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},
        // s = -2147483648 is INT_MIN, whose low byte with 'A' is 'A' again.
        {{-42949673140.0, 0, 0, 0, 0, 0}, 0, 0, "AJ00AAAA00"},
        {{-42949673160.0, 0, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0"},
    };
    ExpectEncodings(cases);
}

TEST(Encoder, CharacterFunctionsTakeTheLowByte)
{
    struct {
        int n;
        char cLetter, cDigit;
    } const cases[] = {
        {0, 'A', '0'},       {23, 'X', 'G'},     {-5, '<', '+'},
        {-65, '\0', '\xEF'}, {191, '\0', '\xEF'}, {2147483647, '@', '/'},
        {-2147483647 - 1, 'A', '0'},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.n);
        EXPECT_EQ(KAsciiCharFromNumber(c.n), c.cLetter);
        EXPECT_EQ(KAsciiNumberFromNumber(c.n), c.cDigit);
    }
}

TEST(Encoder, DmsToDecimalAddsMinutesThenSeconds)
{
    EXPECT_EQ(KConvertDMS2Decimal(2, 30, 0), 2.5);
    EXPECT_EQ(KConvertDMS2Decimal(0, -30, 0), -0.5);
    EXPECT_EQ(KConvertDMS2Decimal(1, 0, 1800), 1.5);
    // The association is (d + m/60) + s/3600, which rounding can tell apart.
    const double d = 0.1, m = 0.2, s = 0.3;
    EXPECT_EQ(KConvertDMS2Decimal(d, m, s), (d + m / 60) + s / 3600);
}

// Every point of a cell, its corner included, encodes to that cell once the
// bias is accounted for: sampled points strictly inside east/north cells.
TEST(Encoder, EveryPointOfACellEncodesToThatCell)
{
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> within(0.05, 0.95);
    const char *const kCells[] = {"JO20EUFI61", "JN18DTKK78", "RR99XXXX98", "JJ00AAAA00",
                                  "QM55LLMM55", "KK47WXAB09"};
    for (const char *szCell : kCells) {
        double dLa[3], dLo[3];
        KDMSLoLaFromLOCX(szCell, dLa, dLo, 0, 0);
        for (int i = 0; i < 200; i++) {
            // Corner plus a fraction of the 1.25" x 0.625" cell, in seconds.
            const double tab[6] = {dLo[0], dLo[1], dLo[2] + within(random) * 1.25,
                                   dLa[0], dLa[1], dLa[2] + within(random) * 0.625};
            char sz[11];
            KLOCXFromDMSLoLaTab(tab, sz, 0, 0);
            ASSERT_STREQ(sz, szCell) << "seconds " << tab[2] << ", " << tab[5];
        }
    }
}

// ---- Decoder ----------------------------------------------------------------

struct Triple {
    double d, m, s;
};

struct DecodeCase {
    const char *szLocator;  // ten bytes
    int loDir, laDir;
    Triple lo, la;
};

const DecodeCase kDecodeCases[] = {
    {"JJ10AAAA00", 0, 0, {2, 0, 0}, {0, 0, 0}},
    {"AA00AAAA00", 0, 0, {-180, 0, 0}, {-90, 0, 0}},
    {"RR99XXXX99", 0, 0, {179, 59, 58.75}, {89, 59, 59.375}},
    {"JO20EUFI61", 0, 0, {4, 21, 10}, {50, 50, 50.625}},
    {"FN30ASDE59", 0, 0, {-73, -59, -16.25}, {40, 45, 30.625}},
    {"FN30ASDE59", 1, 0, {73, 59, 16.25}, {40, 45, 30.625}},
    {"FN30ASDE59", 1, 1, {73, 59, 16.25}, {-40, -45, -30.625}},
    {"QF56ODMD00", 0, 0, {151, 12, 30}, {-33, -52, -11.25}},
    {"II89XXXX99", 0, 0, {-2, 0, -1.25}, {0, 0, -0.625}},
    {"JN18DTKK78", 0, 0, {2, 17, 13.75}, {48, 48, 37.5}},
    {"AJ+0AAAA00", 0, 0, {-190, 0, 0}, {0, 0, 0}},
    {"SS00AAAA00", 0, 0, {180, 0, 0}, {90, 0, 0}},
    {"jj10aaaa00", 0, 0, {644, 46, 40}, {321, 23, 20}},
};

TEST(Decoder, DocumentedLocatorsGiveTheirCorners)
{
    for (const DecodeCase &c : kDecodeCases) {
        SCOPED_TRACE(std::string(c.szLocator) + " dirs " + std::to_string(c.loDir) +
                     std::to_string(c.laDir));
        double dLa[3], dLo[3];
        KDMSLoLaFromLOCX(c.szLocator, dLa, dLo, c.loDir, c.laDir);
        EXPECT_EQ(dLo[0], c.lo.d);
        EXPECT_EQ(dLo[1], c.lo.m);
        EXPECT_NEAR(dLo[2], c.lo.s, 1e-9);
        EXPECT_EQ(dLa[0], c.la.d);
        EXPECT_EQ(dLa[1], c.la.m);
        EXPECT_NEAR(dLa[2], c.la.s, 1e-9);
    }
}

// Two corners whose split depends on every rounding step.
TEST(Decoder, SplitNearAWholeMinuteFollowsDoubleRounding)
{
    double dLa[3], dLo[3];
    KDMSLoLaFromLOCX("AJ05BAAA00", dLa, dLo, 0, 0);
    EXPECT_EQ(KCoordFromLoOrLa("AJ05BAAA00", 1, 0), -(179 + 55.0 / 60));
    EXPECT_EQ(dLo[0], -179);
    EXPECT_EQ(dLo[1], -54);
    EXPECT_NEAR(dLo[2], -59.99999999997, 1e-9);
    EXPECT_LT(dLo[2], -59.9999999999);
    EXPECT_GT(dLo[2], -60);
    EXPECT_EQ(dLa[0], 5);
    EXPECT_EQ(dLa[1], 0);
    EXPECT_EQ(dLa[2], 0);

    KDMSLoLaFromLOCX("IJ60CATA20", dLa, dLo, 0, 0);
    EXPECT_EQ(KCoordFromLoOrLa("IJ60CATA20", 1, 0), -(7 + 46.0 / 60));
    EXPECT_EQ(dLo[0], -7);
    EXPECT_EQ(dLo[1], -46);
    EXPECT_EQ(dLo[2], 0);
    EXPECT_EQ(dLa[0], 0);
    EXPECT_EQ(dLa[1], 0);
    EXPECT_EQ(dLa[2], 0);
}

TEST(Decoder, SplitKeepsTheSignInEveryComponent)
{
    struct {
        double decimal;
        Triple expected;
    } const cases[] = {
        {-0.5, {0, -30, 0}}, {0.5, {0, 30, 0}}, {-2.25, {-2, -15, 0}},
        {10.0, {10, 0, 0}},  {-0.0, {0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.decimal);
        double dDMS[3];
        KConvertDecimal2DMS(c.decimal, dDMS);
        EXPECT_EQ(dDMS[0], c.expected.d);
        EXPECT_EQ(dDMS[1], c.expected.m);
        EXPECT_EQ(dDMS[2], c.expected.s);
        // Whole parts of zero are +0 rather than -0, as an int truncation
        // gives: no "-0.00" can reach the window.
        if (dDMS[0] == 0) {
            EXPECT_FALSE(std::signbit(dDMS[0]));
        }
        if (dDMS[1] == 0) {
            EXPECT_FALSE(std::signbit(dDMS[1]));
        }
    }
}

TEST(Decoder, CharactersAreSignedBytes)
{
    EXPECT_EQ(KNumberFromAsciiChar('A'), 0);
    EXPECT_EQ(KNumberFromAsciiChar('a'), 32);
    EXPECT_EQ(KNumberFromAsciiChar('\0'), -65);
    EXPECT_EQ(KNumberFromAsciiChar('\xFF'), -66);
    EXPECT_EQ(KNumberFromAsciiChar('\x80'), -193);
    EXPECT_EQ(KNumberFromAsciiNumber('9'), 9);
    EXPECT_EQ(KNumberFromAsciiNumber('\0'), -48);
    EXPECT_EQ(KNumberFromAsciiNumber('\xC3'), -109);
}

TEST(Decoder, ReadsExactlyTenBytesOfItsAxis)
{
    // Bytes after position 9 are never read; odd and even positions are the
    // two axes.
    char sz[16];
    std::memcpy(sz, "JN18DTKK78ZZZZZ", 16);
    EXPECT_EQ(KCoordFromLoOrLa(sz, 1, 0), KCoordFromLoOrLa("JN18DTKK78", 1, 0));
    std::memcpy(sz, "JN18DTKK78", 10);
    sz[1] = 'A';
    EXPECT_EQ(KCoordFromLoOrLa(sz, 1, 0), KCoordFromLoOrLa("JN18DTKK78", 1, 0));
    EXPECT_NE(KCoordFromLoOrLa(sz, 0, 0), KCoordFromLoOrLa("JN18DTKK78", 0, 0));
    // A nine-character text's terminator counts as code 0.
    EXPECT_NEAR(KCoordFromLoOrLa("JJ00AAAA0", 0, 0), -48 * 0.0001736111111111111, 1e-15);
}

// Corners of east and north cells encode back to their own cell; those of
// west or south cells, encoded with their magnitudes and the west or south
// flag, give the neighbour beyond them.
TEST(RoundTrip, CornersEncodeBackAccordingToHemisphere)
{
    struct {
        const char *szLocator;
        const char *szReencoded;
    } const cases[] = {
        {"JO20EUFI61", "JO20EUFI61"},
        {"JN18DTKK78", "JN18DTKK78"},
        {"FN30ASDE59", "FN30ASDE49"},
        {"QF56ODMD00", "QF56ODMC09"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.szLocator);
        double dLa[3], dLo[3];
        KDMSLoLaFromLOCX(c.szLocator, dLa, dLo, 0, 0);
        const int nLoDir = dLo[0] < 0 || dLo[1] < 0 || dLo[2] < 0;
        const int nLaDir = dLa[0] < 0 || dLa[1] < 0 || dLa[2] < 0;
        const double tab[6] = {std::fabs(dLo[0]), std::fabs(dLo[1]), std::fabs(dLo[2]),
                               std::fabs(dLa[0]), std::fabs(dLa[1]), std::fabs(dLa[2])};
        char sz[11];
        KLOCXFromDMSLoLaTab(tab, sz, nLoDir, nLaDir);
        EXPECT_STREQ(sz, c.szReencoded);
    }
}

// ---- Straight-line rendering ------------------------------------------------
// The arithmetic written out step by step for each axis, as a second opinion
// on the table-driven code: the results must agree to the bit.

void StraightEncodeAxis(double d, double m, double s, int nDir, bool bLongitude, char *sz)
{
    double v = d + m / 60 + s / 3600;
    v = v + 0.000001;
    double x;
    if (bLongitude)
        x = nDir == 0 ? v + 180 : 180 - v;
    else
        x = nDir == 0 ? v + 90 : 90 - v;
    double r = bLongitude ? x / 360 * 18 : x / 180 * 18;
    int i1 = (int)r;
    r = (r - i1) * 10;
    int i2 = (int)r;
    r = (r - i2) * 24;
    int i3 = (int)r;
    r = (r - i3) * 24;
    int i4 = (int)r;
    r = (r - i4) * 10;
    int i5 = (int)r;
    sz[0] = (char)(65 + i1);
    sz[2] = (char)(48 + i2);
    sz[4] = (char)(65 + i3);
    sz[6] = (char)(65 + i4);
    sz[8] = (char)(48 + i5);
}

double StraightDecodeLongitude(const char *sz)
{
    double v = ((signed char)sz[0] - 65.0) * 20 + -180.0;
    v = ((signed char)sz[2] - 48.0) * 2 + v;
    v = v + ((signed char)sz[4] - 65.0) * 0.08333333333333333;
    v = v + ((signed char)sz[6] - 65.0) * 0.003472222222222222;
    v = ((signed char)sz[8] - 48.0) * 0.0003472222222222222 + v;
    return v;
}

double StraightDecodeLatitude(const char *sz)
{
    double v = ((signed char)sz[1] - 65.0) * 10 + -90.0;
    v = ((signed char)sz[3] - 48.0) + v;
    v = v + ((signed char)sz[5] - 65.0) * 0.041666666666666664;
    v = v + ((signed char)sz[7] - 65.0) * 0.001736111111111111;
    v = ((signed char)sz[9] - 48.0) * 0.0001736111111111111 + v;
    return v;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(StraightLine, EncoderAgreesOnRandomPositions)
{
    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> degreesLo(0, 180), degreesLa(0, 90), sixty(0, 60);
    std::uniform_int_distribution<int> wholeDegreesLo(0, 179), wholeDegreesLa(0, 89),
        wholeSixty(0, 59), flag(0, 1);
    for (int i = 0; i < 200000; i++) {
        double tab[6];
        if (i % 2) {
            tab[0] = degreesLo(random), tab[1] = sixty(random), tab[2] = sixty(random);
            tab[3] = degreesLa(random), tab[4] = sixty(random), tab[5] = sixty(random);
        } else {
            // Whole and quarter values land on or next to cell edges.
            tab[0] = wholeDegreesLo(random), tab[1] = wholeSixty(random);
            tab[2] = wholeSixty(random) + 0.25 * (i % 8);
            tab[3] = wholeDegreesLa(random), tab[4] = wholeSixty(random);
            tab[5] = wholeSixty(random) + 0.125 * (i % 8);
        }
        const int nLoDir = flag(random), nLaDir = flag(random);
        char szExpected[11], szActual[11];
        StraightEncodeAxis(tab[0], tab[1], tab[2], nLoDir, true, szExpected);
        StraightEncodeAxis(tab[3], tab[4], tab[5], nLaDir, false, szExpected + 1);
        szExpected[10] = '\0';
        KLOCXFromDMSLoLaTab(tab, szActual, nLoDir, nLaDir);
        ASSERT_STREQ(szActual, szExpected)
            << tab[0] << " " << tab[1] << " " << tab[2] << " " << tab[3] << " " << tab[4] << " "
            << tab[5] << " flags " << nLoDir << nLaDir;
    }
}

TEST(StraightLine, DecoderAgreesOnRandomBytes)
{
    std::mt19937_64 random(2);
    std::uniform_int_distribution<int> anyByte(0, 255), letter(0, 23), digit(0, 9);
    for (int i = 0; i < 200000; i++) {
        char sz[10];
        for (int k = 0; k < 10; k++) {
            const bool bLetter = k < 2 || (k >= 4 && k < 8);
            // Half valid locators, half arbitrary bytes.
            sz[k] = (char)(i % 2 ? anyByte(random)
                                 : (bLetter ? 'A' + letter(random) % (k < 2 ? 18 : 24)
                                            : '0' + digit(random)));
        }
        const double dLo = KCoordFromLoOrLa(sz, 1, 0);
        const double dLa = KCoordFromLoOrLa(sz, 0, 0);
        ASSERT_TRUE(SameBits(dLo, StraightDecodeLongitude(sz))) << std::string(sz, 10);
        ASSERT_TRUE(SameBits(dLa, StraightDecodeLatitude(sz))) << std::string(sz, 10);
        ASSERT_TRUE(SameBits(KCoordFromLoOrLa(sz, 1, 1), -dLo));

        double dDMSLa[3], dDMSLo[3];
        KDMSLoLaFromLOCX(sz, dDMSLa, dDMSLo, 0, 0);
        const double dDegrees = (double)(int)dLo;
        const double t = (dLo - dDegrees) * 60;
        const double dMinutes = (double)(int)t;
        ASSERT_TRUE(SameBits(dDMSLo[0], dDegrees));
        ASSERT_TRUE(SameBits(dDMSLo[1], dMinutes));
        ASSERT_TRUE(SameBits(dDMSLo[2], (t - dMinutes) * 60));
        ASSERT_TRUE(SameBits(dDMSLa[0], (double)(int)dLa));
    }
}

} // namespace
