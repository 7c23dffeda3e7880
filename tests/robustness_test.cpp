// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bad input for the pure functions: non-finite and absurd numbers into the
// encoder, bytes outside the alphabets into the display text, the working
// copy and the decoder, values that do not fit a field into the formatter.
// No display needed.
#include <gtk/gtk.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "callbacks.h"
#include "qra.h"

namespace {

const double kNaN = std::nan("");
const double kInf = HUGE_VAL;

std::string Encode(const double *tab, int nLoDir, int nLaDir)
{
    char szLOCX[256];
    memset(szLOCX, '#', sizeof szLOCX);
    KLOCXFromDMSLoLaTab(tab, szLOCX, nLoDir, nLaDir);
    EXPECT_EQ(szLOCX[10], '\0');
    EXPECT_EQ(szLOCX[11], '#') << "wrote past the eleventh byte";
    return std::string(szLOCX, 10);
}

std::string Shown(const std::string &locator)
{
    char szOut[LOCATOR_DISPLAY_SIZE + 8];
    memset(szOut, '#', sizeof szOut);
    locator_display_text(locator.c_str(), szOut);
    const std::string shown(szOut);
    EXPECT_LT(shown.size(), static_cast<size_t>(LOCATOR_DISPLAY_SIZE));
    EXPECT_TRUE(g_utf8_validate(szOut, -1, NULL)) << shown;
    EXPECT_EQ(g_utf8_strlen(szOut, -1), 10) << shown;
    return shown;
}

std::string Lower(std::string text)
{
    for (char &c : text)
        c = g_ascii_tolower(c);
    return text;
}

// "J0AA0" is what one axis at 0 (plus the bias) gives; "?????" an axis
// with no grid index.
std::string Interleave(const char *szLo, const char *szLa)
{
    std::string s;
    for (int i = 0; i < 5; i++) {
        s += szLo[i];
        s += szLa[i];
    }
    return s;
}

// One bad value in one of the six encoder inputs, the others 0.
struct BadValueRow {
    const char *szName;
    double dValue;
    bool bNoIndex; // the axis has no grid index: five '?'
};

const BadValueRow kBadValues[] = {
    {"nan", kNaN, true},
    {"negative nan", -kNaN, true},
    {"inf", kInf, true},
    {"-inf", -kInf, true},
    {"1e999 as read by atof", std::atof("1e999"), true},
    {"1e300", 1e300, true},
    {"-1e300", -1e300, true},
    {"largest double", DBL_MAX, true},
    {"lowest double", -DBL_MAX, true},
    {"1e15", 1e15, true},
    {"smallest subnormal", 4.9406564584124654e-324, false},
    {"negative zero", -0.0, false},
};

TEST(BadEncoderInput, NonFiniteOrHugeValueShowsQuestionMarksOnItsAxisOnly)
{
    for (const BadValueRow &row : kBadValues) {
        for (int nField = 0; nField < 6; nField++) {
            double tab[6] = {0, 0, 0, 0, 0, 0};
            tab[nField] = row.dValue;
            const bool bLongitude = nField < 3;
            const std::string expected =
                !row.bNoIndex ? "JJ00AAAA00"
                : bLongitude  ? Interleave("?????", "J0AA0")
                              : Interleave("J0AA0", "?????");
            const std::string locator = Encode(tab, 0, 0);
            EXPECT_EQ(locator, expected) << row.szName << " in field " << nField;
            EXPECT_EQ(Shown(locator), Lower(expected))
                << row.szName << " in field " << nField;
        }
    }
}

TEST(BadEncoderInput, NoIndexInEitherHemisphere)
{
    const double tab[6] = {kInf, 0, 0, 0, 0, -kNaN};
    for (int nLoDir : {0, 1, -1})
        for (int nLaDir : {0, 1, 1 << 30})
            EXPECT_EQ(Encode(tab, nLoDir, nLaDir), "??????????") << nLoDir << nLaDir;
}

TEST(BadEncoderInput, InfinitiesOfOppositeSignsCancelToNoIndex)
{
    const double tab[6] = {kInf, -kInf, 0, 0, 0, 0};
    EXPECT_EQ(Encode(tab, 0, 0), Interleave("?????", "J0AA0"));
}

// Absurd but finite degrees whose field index still fits an int: the
// character is the low byte of 'A' + index, and the display replaces what
// is not printable ASCII.
struct AbsurdRow {
    const char *szName;
    double tab[6];
    int nLoDir, nLaDir;
    const char *szLOCX;  // ten bytes
    const char *szShown;
};

const AbsurdRow kAbsurd[] = {
    // 36000 + 180 degrees is field 1809: 'A' + 1809 wraps to 'R'.
    {"a hundred turns east", {36000, 0, 0, 0, 0, 0}, 0, 0, "RJ00AAAA00", "rj00aaaa00"},
    // Field 2145000009: the low byte of 'A' + it is 0x8A.
    {"near the int limit", {4.29e10, 0, 0, 0, 0, 0}, 0, 0, "\x8aJ00AAAA00",
     "\xef\xbf\xbdj00aaaa00"},
    // One field beyond the limit has no index.
    {"beyond the int limit", {4.3e10, 0, 0, 0, 0, 0}, 0, 0, "?J?0?A?A?0", "?j?0?a?a?0"},
    // Beyond the limit westward: 180 - m is below -2^31 fields.
    {"beyond the int limit west", {4.3e10, 0, 0, 0, 0, 0}, 1, 0, "?J?0?A?A?0", "?j?0?a?a?0"},
    // Minutes and seconds are divided down first; field 3609 of the
    // latitude wraps to 'Z'.
    {"absurd minutes", {0, 36000 * 60.0, 0, 0, 0, 36000 * 3600.0}, 0, 0, "RZ00AAAA00",
     "rz00aaaa00"},
};

TEST(BadEncoderInput, AbsurdFiniteDegreesWrapToTheLowByte)
{
    for (const AbsurdRow &row : kAbsurd) {
        const std::string locator = Encode(row.tab, row.nLoDir, row.nLaDir);
        EXPECT_EQ(locator, std::string(row.szLOCX, 10)) << row.szName;
        EXPECT_EQ(Shown(locator), row.szShown) << row.szName;
    }
}

TEST(BadEncoderInput, ControlCharactersFromNegativeOffsetsAreShownAsReplacement)
{
    // 1300 degrees west of the grid: field -55 is 'A' - 55, a line feed, and
    // the finer levels go below '0' and 'A'.
    const double tab[6] = {-1300, 0, 0, 0, 0, 0};
    const std::string locator = Encode(tab, 0, 0);
    EXPECT_EQ(locator[0], '\n');
    const std::string shown = Shown(locator);
    EXPECT_EQ(shown.compare(0, 3, "\xef\xbf\xbd"), 0) << shown;
    EXPECT_EQ(shown.find('\n'), std::string::npos);
}

TEST(BadDisplayBytes, EveryByteOutsidePrintableAsciiBecomesOneReplacementCharacter)
{
    for (int c = 0; c < 256; c++) {
        char szLOCX[11];
        memset(szLOCX, c, 10);
        szLOCX[10] = '\0';
        const std::string shown = Shown(std::string(szLOCX, 10));
        std::string expected;
        if (c >= 0x20 && c <= 0x7E)
            expected.assign(10, static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        else
            for (int i = 0; i < 10; i++)
                expected += "\xef\xbf\xbd";
        EXPECT_EQ(shown, expected) << "byte " << c;
    }
}

// The working copy of pasted texts: ASCII letters up, every other byte kept.
struct CopyRow {
    const char *szName;
    const char *szText;
    size_t nLength;
    const char *szCopy; // ten bytes
};

const CopyRow kCopies[] = {
    {"lower case", "jn18dtkk78", 10, "JN18DTKK78"},
    {"mixed case", "jN18dTkK78", 10, "JN18DTKK78"},
    {"one letter", "z", 1, "ZA00AAAA00"},
    {"two-byte characters", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 10,
     "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"},
    {"three-byte characters, nine bytes", "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac", 9,
     "\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac" "0"},
    {"control characters", "\x01\x1b[\x7f", 4, "\x01\x1b[\x7f" "AAAA00"},
    {"blanks", " \t ", 3, " \t 0AAAA00"},
    {"latin-1 y diaeresis is not upper-cased", "\xff", 1, "\xff" "A00AAAA00"},
    {"signs", "+-+-+-+-", 8, "+-+-+-+-00"},
};

TEST(BadLocatorText, WorkingCopyUpperCasesAsciiLettersOnly)
{
    for (const CopyRow &row : kCopies) {
        char szOut[11 + 8];
        memset(szOut, '#', sizeof szOut);
        locator_working_copy(row.szText, row.nLength, szOut);
        EXPECT_EQ(std::string(szOut, 10), std::string(row.szCopy, 10)) << row.szName;
        EXPECT_EQ(szOut[10], '\0') << row.szName;
        EXPECT_EQ(szOut[11], '#') << row.szName << ": wrote past eleven bytes";
    }
}

TEST(BadLocatorText, AnyTenBytesDecodeToFiniteWholeDegreesAndMinutes)
{
    const char *const kJunk[] = {
        "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff", "\x80\x80\x80\x80\x80\x80\x80\x80\x80\x80",
        "\x7f\x7f\x7f\x7f\x7f\x7f\x7f\x7f\x7f\x7f", "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01",
        "zzzzzzzzzz", "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", "+-+-+-+-+-",
    };
    for (const char *szJunk : kJunk) {
        double dDMSLa[3], dDMSLo[3];
        KDMSLoLaFromLOCX(szJunk, dDMSLa, dDMSLo, 0, 0);
        for (const double *dDMS : {dDMSLo, dDMSLa}) {
            for (int i = 0; i < 3; i++)
                EXPECT_TRUE(std::isfinite(dDMS[i])) << szJunk;
            EXPECT_EQ(dDMS[0], std::trunc(dDMS[0])) << szJunk;
            EXPECT_EQ(dDMS[1], std::trunc(dDMS[1])) << szJunk;
            EXPECT_LT(std::fabs(dDMS[1]), 60) << szJunk;
            EXPECT_LE(std::fabs(dDMS[2]), 60) << szJunk;
        }
        EXPECT_NEAR(dDMSLo[0] + dDMSLo[1] / 60 + dDMSLo[2] / 3600,
                    KCoordFromLoOrLa(szJunk, 1, 0), 1e-9);
        EXPECT_NEAR(dDMSLa[0] + dDMSLa[1] / 60 + dDMSLa[2] / 3600,
                    KCoordFromLoOrLa(szJunk, 0, 0), 1e-9);
    }
}

// Values no decoded locator gives, through the field formatter: the text
// is cut to the buffer, terminated, and never written beyond it.
struct FormatRow {
    const char *szName;
    double dValue;
    size_t nSize;
    const char *szExpected;
};

const FormatRow kFormats[] = {
    {"nan", kNaN, 256, "nan"},
    {"inf", kInf, 256, "inf"},
    {"-inf", -kInf, 256, "-inf"},
    {"cut to a small buffer", 179.5, 4, "179"},
    {"one byte holds only the NUL", 12.25, 1, ""},
    {"exact fit", 12.25, 6, "12.25"},
    {"one short", 12.25, 5, "12.2"},
};

TEST(BadFieldValue, FormattingIsCutToTheBuffer)
{
    for (const FormatRow &row : kFormats) {
        char szOut[256 + 8];
        memset(szOut, '#', sizeof szOut);
        dms_component_text(row.dValue, szOut, row.nSize);
        EXPECT_STREQ(szOut, row.szExpected) << row.szName;
        EXPECT_EQ(szOut[row.nSize], '#') << row.szName << ": wrote past the buffer";
    }
}

TEST(BadFieldValue, HugeValueFillsTheHandlersBufferAndStops)
{
    char szOut[256 + 8];
    memset(szOut, '#', sizeof szOut);
    dms_component_text(1e300, szOut, 256);
    EXPECT_EQ(strlen(szOut), 255u);
    EXPECT_EQ(strncmp(szOut, "1000000000000000052504760255204420248704468581108159154915854115511",
                      67),
              0)
        << szOut;
    EXPECT_EQ(szOut[256], '#');
    EXPECT_TRUE(g_utf8_validate(szOut, -1, NULL));
}

} // namespace
