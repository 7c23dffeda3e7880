// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The locator-to-DMS action's text path under any text a user could paste:
// the bytes up to the first NUL (an entry's text never holds one), in a heap
// block of exactly their size, through locator_dms_texts, which computes
// everything the handler writes (the handler itself needs a display).
//
// Properties checked:
// - the typed text is never changed;
// - exactly the locators once the white space around them (blank, tab, line
//   feed, vertical tab, form feed, carriage return, the no-break spaces, the
//   ideographic space, a byte-order mark) is off are decoded: 2, 4, 6, 8 or
//   10 characters, each in its level's range, either case; every
//   other text gives eight empty texts and a reason;
// - the working copy upper-cases ASCII letters only, keeps every other byte,
//   and fills the rest of the ten positions as documented;
// - each formatted field is short printable ASCII with no minus sign;
//   degrees and minutes end in ".00", minutes and seconds read below 60, and
//   the three read back as the decoded coordinate to the hundredth second;
// - formatting into a smaller buffer cuts the text, never overruns it.
#include <glib.h>

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "callbacks.h"
#include "qra.h"

namespace {

void Check(bool bOk, const char *szWhat)
{
    if (!bOk) {
        fprintf(stderr, "property failed: %s\n", szWhat);
        abort();
    }
}

// Checks one formatted field; returns the value it reads as.
double CheckField(const char *szShown, bool bWhole, size_t nSmall)
{
    const size_t nLength = strlen(szShown);
    Check(nLength >= 4 && nLength < 16, "a field is short");
    Check(g_utf8_validate(szShown, -1, NULL), "a field is valid UTF-8");
    for (size_t i = 0; i < nLength; i++)
        Check((szShown[i] >= '0' && szShown[i] <= '9') || szShown[i] == '.',
              "a field holds digits and the point only");
    if (bWhole)
        Check(strcmp(szShown + nLength - 3, ".00") == 0, "whole values end in .00");
    const double dValue = strtod(szShown, NULL);
    char szText[256];
    dms_component_text(dValue, szText, sizeof szText);
    Check(strcmp(szShown, szText) == 0, "a field is its value formatted");
    // The same into a smaller buffer: a prefix, terminated, nothing beyond.
    std::unique_ptr<char[]> small(new char[nSmall + 1]);
    small[nSmall] = '\x5A';
    dms_component_text(dValue, small.get(), nSmall);
    Check(small[nSmall] == '\x5A', "formatting stays inside its buffer");
    if (nSmall > 0) {
        const size_t nCut = strlen(small.get());
        Check(nCut == std::min(nLength, nSmall - 1), "formatting cuts at the buffer");
        Check(memcmp(small.get(), szText, nCut) == 0, "the cut text is a prefix");
    }
    return dValue;
}

// The three fields of an axis against its decoded triple.
void CheckAxis(const char *const szShown[3], const double *dDMS, size_t nSmall)
{
    const double dDegrees = CheckField(szShown[0], true, nSmall);
    const double dMinutes = CheckField(szShown[1], true, nSmall);
    const double dSeconds = CheckField(szShown[2], false, nSmall);
    Check(dMinutes < 60 && dSeconds < 60, "minutes and seconds show below 60");
    const double dShown = dDegrees * 3600 + dMinutes * 60 + dSeconds;
    const double dDecoded = std::fabs(dDMS[0]) * 3600 + std::fabs(dDMS[1]) * 60 +
                            std::fabs(dDMS[2]);
    Check(std::fabs(dShown - dDecoded) <= 0.005 + 1e-7, "the fields read back as the corner");
}

// A locator by its own rule: 2 to 10 characters, even, each in its level.
bool IsLocator(const std::string &text)
{
    static const char *const kLevels[5] = {"AR", "09", "AX", "AX", "09"};
    if (text.size() < 2 || text.size() > 10 || text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i++) {
        const char c = static_cast<char>(toupper(static_cast<unsigned char>(text[i])));
        if (static_cast<unsigned char>(text[i]) >= 0x80 || c < kLevels[i / 2][0] ||
            c > kLevels[i / 2][1])
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const size_t nText = strnlen(reinterpret_cast<const char *>(data), size);
    std::unique_ptr<char[]> text(new char[nText + 1]);
    memcpy(text.get(), data, nText);
    text[nText] = '\0';
    const std::string typed(text.get(), nText);
    const size_t nSmall = size > nText + 1 ? data[nText + 1] % 24 : 5;

    const char *szText = text.get();
    // The locator as the user means it, found here without the program's
    // trimming code: ASCII white space and the wide blanks of pasted text
    // (U+00A0, U+202F, U+3000, U+FEFF) off both ends, one at a time.
    static const char kWhiteSpace[] = " \t\n\v\f\r";
    static const char *const kWide[] = {"\xC2\xA0", "\xE2\x80\xAF", "\xE3\x80\x80",
                                        "\xEF\xBB\xBF"};
    size_t nFirst = 0, nEnd = typed.size();
    for (bool bMore = true; bMore;) {
        bMore = false;
        if (nFirst < nEnd && strchr(kWhiteSpace, typed[nFirst])) {
            nFirst++;
            bMore = true;
        }
        if (nEnd > nFirst && strchr(kWhiteSpace, typed[nEnd - 1])) {
            nEnd--;
            bMore = true;
        }
        for (const char *szWide : kWide) {
            const size_t n = strlen(szWide);
            if (nEnd - nFirst >= n && typed.compare(nFirst, n, szWide) == 0) {
                nFirst += n;
                bMore = true;
            }
            if (nEnd - nFirst >= n && typed.compare(nEnd - n, n, szWide) == 0) {
                nEnd -= n;
                bMore = true;
            }
        }
    }
    const std::string locator = typed.substr(nFirst, nEnd - nFirst);
    const size_t nLength = locator.size();
    LocatorDmsTexts texts;
    const bool bDecoded = locator_dms_texts(szText, &texts);
    Check(bDecoded == IsLocator(locator), "exactly the locators are decoded");
    Check(typed == std::string(szText, strlen(szText)), "the typed text is unchanged");
    if (!bDecoded) {
        const char *const szShown[8] = {texts.szLoHemisphere, texts.szLaHemisphere,
                                        texts.m_dQ2DLoD,      texts.m_dQ2DLoM,
                                        texts.m_dQ2DLoS,      texts.m_dQ2DLaD,
                                        texts.m_dQ2DLaM,      texts.m_dQ2DLaS};
        for (const char *szField : szShown)
            Check(szField[0] == '\0', "a refused text gives no result");
        Check(!texts.reason.empty(), "a refused text has its reason");
        return 0;
    }
    size_t nTrimmed = 0;
    Check(field_text_trimmed(szText, &nTrimmed) == szText + nFirst && nTrimmed == nLength,
          "the trimmed text is the locator");
    const char *szLocator = locator.c_str();

    std::unique_ptr<char[]> input(new char[11]);
    locator_working_copy(szLocator, nLength, input.get());
    const char *szInput = input.get();
    static const char kLowest[] = "AA00AAAA00";
    for (size_t i = 0; i < 10; i++) {
        if (i < nLength) {
            const char c = szLocator[i];
            Check(szInput[i] == (c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c),
                  "the copy upper-cases ASCII letters only");
        } else {
            Check(szInput[i] == kLowest[i], "a short text is filled with the lowest symbols");
        }
    }
    Check(szInput[10] == '\0', "the copy is terminated");

    double dDMSLa[3], dDMSLo[3];
    KDMSLoLaFromLOCX(szInput, dDMSLa, dDMSLo, 0, 0);
    const bool bWest = KCoordFromLoOrLa(szInput, 1, 0) < 0;
    const bool bSouth = KCoordFromLoOrLa(szInput, 0, 0) < 0;
    Check(strcmp(texts.szLoHemisphere, bWest ? "O" : "E") == 0, "O exactly for a west longitude");
    Check(strcmp(texts.szLaHemisphere, bSouth ? "S" : "N") == 0, "S exactly for a south latitude");
    const char *const szLo[3] = {texts.m_dQ2DLoD, texts.m_dQ2DLoM, texts.m_dQ2DLoS};
    const char *const szLa[3] = {texts.m_dQ2DLaD, texts.m_dQ2DLaM, texts.m_dQ2DLaS};
    CheckAxis(szLo, dDMSLo, nSmall);
    CheckAxis(szLa, dDMSLa, nSmall);

    Check(typed == std::string(szText, strlen(szText)), "the typed text is unchanged");
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The fields are formatted in the locale start-up takes from the
    // environment; the read-back above expects a point.
    setlocale(LC_ALL, "C");
    return 0;
}
