// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The small text helpers behind the two conversion actions: what the window
// shows of an encoded locator, the working copy a typed locator is decoded
// from, and one formatted DMS component. No display needed.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "callbacks.h"
#include "guards.h"
#include "qra.h"

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Buffers of exactly the size the helpers are promised, on the heap, so a
// sanitizer build catches any byte read or written beyond them.
std::string Display(const std::vector<char> &locator)
{
    std::vector<char> out(LOCATOR_DISPLAY_SIZE, '\x55');
    locator_display_text(locator.data(), out.data());
    return std::string(out.data());
}

} // namespace

TEST(LocatorDisplayText, KeepsPrintableAsciiLowersLettersAndReplacesEveryOtherByte)
{
    const char kBase[] = "JN18DTKK78";
    for (int nPosition = 0; nPosition < 10; nPosition++) {
        for (int b = 0; b < 256; b++) {
            std::vector<char> locator(kBase, kBase + 10);
            locator[nPosition] = static_cast<char>(b);

            std::string expected = "jn18dtkk78";
            std::string piece;
            if (b >= 'A' && b <= 'Z')
                piece = std::string(1, static_cast<char>(b - 'A' + 'a'));
            else if (b >= 0x20 && b <= 0x7E)
                piece = std::string(1, static_cast<char>(b));
            else
                piece = kReplacement;
            expected.replace(nPosition, 1, piece);

            const std::string shown = Display(locator);
            ASSERT_EQ(shown, expected) << "byte " << b << " at " << nPosition;
            ASSERT_TRUE(g_utf8_validate(shown.c_str(), -1, nullptr));
            ASSERT_EQ(g_utf8_strlen(shown.c_str(), -1), 10);
        }
    }
}

TEST(LocatorDisplayText, TenReplacementsFillTheDisplayBufferExactly)
{
    for (char c : {'\0', '\x80', '\xFF', '\x7F', '\x1F'}) {
        const std::string shown = Display(std::vector<char>(10, c));
        std::string expected;
        for (int i = 0; i < 10; i++)
            expected += kReplacement;
        EXPECT_EQ(shown, expected) << int(static_cast<unsigned char>(c));
        EXPECT_EQ(shown.size() + 1, size_t(LOCATOR_DISPLAY_SIZE));
    }
}

namespace {

std::string WorkingCopy(const char *szText, size_t nLength)
{
    // The text exactly as long as given: no terminator to lean on.
    std::vector<char> text(szText, szText + nLength);
    std::vector<char> out(11, '\x55');
    locator_working_copy(text.data(), nLength, out.data());
    return std::string(out.data(), out.size());
}

// Locales to try the upper-casing under (the test set-up generates them); the
// single-byte Latin one maps bytes such as 0xE9 to other bytes with toupper(),
// which must not happen here.
const char *const kLocales[] = {"fr_FR.ISO-8859-1", "C.UTF-8", "fr_FR.UTF-8", "C"};

} // namespace

TEST(LocatorWorkingCopy, ShortTextsAreCompletedWithTheLowestSymbolOfEachPosition)
{
    const char kTyped[] = "jn18dtkk78";
    const char kTypedUpper[] = "JN18DTKK78";
    const char kLowest[] = "AA00AAAA00";
    for (size_t n = 1; n <= 10; n++) {
        std::string expected(kTypedUpper, n);
        expected += std::string(kLowest + n, 10 - n);
        expected += '\0';
        EXPECT_EQ(WorkingCopy(kTyped, n), expected) << n << " bytes";
    }
}

TEST(LocatorWorkingCopy, OnlyAsciiLowerCaseLettersChangeWhateverTheLocale)
{
    for (const char *szLocale : kLocales) {
        LocaleGuard locale(szLocale);
        ASSERT_TRUE(locale.ok()) << szLocale << " is missing: run scripts/test.sh";
        for (int b = 1; b < 256; b++) {
            const char c = static_cast<char>(b);
            const std::string text(10, c);
            const char cExpected = b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : c;
            ASSERT_EQ(WorkingCopy(text.c_str(), 10), std::string(10, cExpected) + '\0')
                << "byte " << b << " under " << szLocale;
        }
    }
}

TEST(LocatorWorkingCopy, NonAsciiBytesOfAShortTextStayAsTyped)
{
    // "é" in UTF-8, then the lowest symbols from position 2 on.
    EXPECT_EQ(WorkingCopy("\xC3\xA9", 2), std::string("\xC3\xA9" "00AAAA00") + '\0');
    EXPECT_EQ(WorkingCopy("z{`@[", 5), std::string("Z{`@[AAA00") + '\0');
}

TEST(DmsComponentText, FormatsTwoDecimalsRoundedWithoutPadding)
{
    const struct {
        double dValue;
        const char *szText;
    } kCases[] = {
        {0, "0.00"},         {2, "2.00"},          {13.75, "13.75"},
        {37.5, "37.50"},     {179, "179.00"},      {59.99999999997, "60.00"},
        {1.254, "1.25"},     {1.256, "1.26"},      {2700, "2700.00"},
        {1e20, "100000000000000000000.00"},
    };
    for (const auto &row : kCases) {
        char szOut[256];
        dms_component_text(row.dValue, szOut, sizeof szOut);
        EXPECT_STREQ(szOut, row.szText) << row.dValue;
    }
}

TEST(DmsComponentText, CutsTheTextToTheBufferNeverBeyond)
{
    const std::string full = "123.46";
    for (size_t nSize = 1; nSize <= 8; nSize++) {
        std::vector<char> out(nSize, '\x55');
        dms_component_text(123.456, out.data(), nSize);
        EXPECT_EQ(std::string(out.data()), full.substr(0, nSize - 1)) << nSize << " bytes";
    }
    // 1e300 has 301 digits before the point: cut at 255 in the handler's buffers.
    std::vector<char> out(256, '\x55');
    dms_component_text(1e300, out.data(), out.size());
    EXPECT_EQ(std::strlen(out.data()), 255u);
    EXPECT_EQ(std::string(out.data(), 2), "10");
}

TEST(DmsComponentText, UsesTheDecimalSeparatorOfTheLocale)
{
    LocaleGuard locale("fr_FR.UTF-8");
    ASSERT_TRUE(locale.ok()) << "fr_FR.UTF-8 is not installed";
    char szOut[256];
    dms_component_text(13.75, szOut, sizeof szOut);
    EXPECT_STREQ(szOut, "13,75");
}

TEST(FieldTextTrimmed, DropsWhiteSpaceAroundTheTextOnly)
{
    const struct {
        const char *szText;
        size_t nStart, nLength;
    } kCases[] = {
        {"jn18dt", 0, 6},
        {"  jn18dt \n", 2, 6},
        {"\t\n\v\f\r jn18dt\r\n", 6, 6},
        {"jn 18\tdt", 0, 8},                  // inside the text it stays
        {" \t\n", 3, 0},
        {"", 0, 0},
        {"\x1f" "jn18\x7f", 0, 6},           // nor is any other control character
        // The blanks of pasted text beyond ASCII: no-break spaces, the
        // ideographic space, a byte-order mark; around the text only.
        {"\xc2\xa0jn18\xc2\xa0", 2, 4},
        {"2\xe2\x80\xaf", 0, 1},
        {"\xe3\x80\x80 2\xe3\x80\x80\t", 4, 1},
        {"\xef\xbb\xbfjn18dt\r\n", 3, 6},
        {"1\xc2\xa0" "2", 0, 4},
        {"\xe2\x80\x83" "5", 0, 4},            // an em space is not one of them
        {"5\xc2", 0, 2},                      // nor half a no-break space
        {"\xc2\xa0\xef\xbb\xbf", 5, 0},
    };
    for (const auto &row : kCases) {
        size_t nLength = 99;
        EXPECT_EQ(field_text_trimmed(row.szText, &nLength), row.szText + row.nStart)
            << row.szText;
        EXPECT_EQ(nLength, row.nLength) << row.szText;
    }
}

namespace {

// The eight texts in the order the window writes them.
std::vector<std::string> DmsTexts(const char *szText, bool *pbDecoded)
{
    LocatorDmsTexts texts;
    std::memset(texts.m_dQ2DLoD, 'x', sizeof texts.m_dQ2DLoD); // no stale byte may show
    *pbDecoded = locator_dms_texts(szText, &texts);
    return {texts.szLoHemisphere, texts.szLaHemisphere, texts.m_dQ2DLoD, texts.m_dQ2DLoM,
            texts.m_dQ2DLoS,      texts.m_dQ2DLaD,      texts.m_dQ2DLaM, texts.m_dQ2DLaS};
}

} // namespace

TEST(LocatorDmsTexts, WhiteSpaceAroundIsIgnoredAndARefusedTextGivesNoResult)
{
    LocaleGuard locale("C");
    const struct {
        const char *szText;
        const char *szSameAs; // nullptr: refused
    } kCases[] = {
        {"  jn18dt \n", "jn18dt"},
        {"\tJN18DTKK78\r\n", "JN18DTKK78"},
        {"", nullptr},
        {" \n\t ", nullptr},
        {"jn18dtkk78x", nullptr},
        {"  jn18dtkk78x\n", nullptr},
        {" JJ00AAAA0 ", nullptr}, // nine characters: no cell has them
        {"jn18dt", "JN18DT"},
    };
    for (const auto &row : kCases) {
        bool bDecoded = false;
        const std::vector<std::string> shown = DmsTexts(row.szText, &bDecoded);
        EXPECT_EQ(bDecoded, row.szSameAs != nullptr) << row.szText;
        bool bBare = false;
        const std::vector<std::string> expected =
            row.szSameAs ? DmsTexts(row.szSameAs, &bBare) : std::vector<std::string>(8, "");
        EXPECT_EQ(shown, expected) << row.szText;
    }
}

// The carry of a shown corner whose seconds round to 60.00: into the
// minutes, and from 60 minutes into the degrees. No valid locator decodes to
// 59 minutes and 59.995 seconds or more, so only here is the second step seen.
TEST(CarryRoundedSeconds, SixtySecondsShownCarryIntoMinutesAndSixtyMinutesIntoDegrees)
{
    const struct {
        double dIn[3];
        double dOut[3];
    } kCases[] = {
        {{179, 56, 59.99999999999}, {179, 57, 0}},
        {{7, 59, 59.9951}, {8, 0, 0}},
        {{0, 59, 59.9999999}, {1, 0, 0}},
        {{179, 59, 59.996}, {180, 0, 0}},
        {{2, 17, 13.75}, {2, 17, 13.75}},
        {{2, 59, 59.994}, {2, 59, 59.994}},
        {{0, 0, 0}, {0, 0, 0}},
    };
    for (const auto &row : kCases) {
        double dDMS[3] = {row.dIn[0], row.dIn[1], row.dIn[2]};
        carry_rounded_seconds(dDMS);
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(dDMS[i], row.dOut[i]) << row.dIn[0] << " " << row.dIn[1] << " "
                                            << row.dIn[2] << ", component " << i;
    }
}

// Corners in ten-thousandths of a second, signed (west and south negative),
// and the seconds of the magnitudes the fields then show.
TEST(RoundTieInward, HalfHundredthsRoundTowardTheInsideOfTheCellOthersStay)
{
    const struct {
        int64_t corner;
        double dSeconds; // in
        double dShown;   // out
    } kCases[] = {
        {(48 * 3600 + 48 * 60) * 10000LL + 331250, 33.125, 33.13},  // jn18dtkk71
        {(40 * 3600 + 45 * 60) * 10000LL + 306250, 30.625, 30.63},  // fn30asde59
        {-((33 * 3600 + 52 * 60) * 10000LL + 93750), 9.375, 9.37},   // qf56odmd03
        {(89 * 3600 + 59 * 60) * 10000LL + 593750, 59.375, 59.38},
        {-((0 * 3600 + 0 * 60) * 10000LL + 6250), 0.625, 0.62},
        {6250, 0.625, 0.63},
        // Not halfway: "%.2f" rounds them as it always did.
        {(48 * 3600 + 48 * 60) * 10000LL + 375000, 37.5, 37.5},
        {-((73 * 3600 + 59 * 60) * 10000LL + 162500), 16.25, 16.25},
        {(2 * 3600 + 17 * 60) * 10000LL + 137500, 13.7499999999, 13.7499999999},
        {0, 0, 0},
    };
    for (const auto &row : kCases) {
        double dDMS[3] = {1, 2, row.dSeconds};
        round_tie_inward(row.corner, dDMS);
        EXPECT_EQ(dDMS[0], 1) << row.corner;
        EXPECT_EQ(dDMS[1], 2) << row.corner;
        EXPECT_EQ(dDMS[2], row.dShown) << row.corner;
    }
}

namespace {

// The six numbers and two letters a decoded locator shows, typed back into
// the DMS fields, and the locator that gives.
std::string TypedBack(const std::string &locator)
{
    LocatorDmsTexts texts;
    if (!locator_dms_texts(locator.c_str(), &texts))
        return "refused";
    const char *const szTexts[6] = {texts.m_dQ2DLoD, texts.m_dQ2DLoM, texts.m_dQ2DLoS,
                                    texts.m_dQ2DLaD, texts.m_dQ2DLaM, texts.m_dQ2DLaS};
    double tab[6];
    FieldRefusal refusal;
    const int nLoDir = std::string(texts.szLoHemisphere) == "O";
    const int nLaDir = std::string(texts.szLaHemisphere) == "S";
    if (!dms_fields_read(szTexts, nLoDir, nLaDir, tab, &refusal))
        return refusal.reason;
    char szLOCX[11], szShown[LOCATOR_DISPLAY_SIZE];
    KLOCXFromDMSLoLaTab(tab, szLOCX, nLoDir, nLaDir);
    locator_display_text(szLOCX, szShown);
    return szShown;
}

} // namespace

// Every corner of a north-east cell, typed back as the window shows it,
// encodes to its own cell: sampled over the whole north-east quarter with
// every symbol of every position drawn.
TEST(RoundTieInward, NorthEastCornersTypedBackEncodeToTheirOwnCell)
{
    LocaleGuard locale("C");
    static const char *const kSymbols[5] = {"jklmnopqr", "0123456789", "abcdefghijklmnopqrstuvwx",
                                            "abcdefghijklmnopqrstuvwx", "0123456789"};
    uint32_t state = 2026;
    auto draw = [&state](const char *szSet) {
        state = state * 1664525u + 1013904223u;
        return szSet[(state >> 8) % std::strlen(szSet)];
    };
    for (int n = 0; n < 20000; n++) {
        std::string locator(10, ' ');
        for (int i = 0; i < 10; i++)
            locator[i] = draw(kSymbols[i / 2]);
        ASSERT_EQ(TypedBack(locator), locator);
    }
}
