// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The small text helpers behind the two conversion actions: what the window
// shows of an encoded locator, the working copy a typed locator is decoded
// from, and one formatted DMS component. No display needed.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "callbacks.h"
#include "guards.h"

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
        {"\xc2\xa0jn18\xc2\xa0", 0, 8},       // a no-break space is no blank here
        {"\x1f" "jn18\x7f", 0, 6},           // nor is any other control character
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
