// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "typed_input.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "i18n.h"

namespace {

/* The six DMS fields in the order of tab, and what bounds each. */
struct DmsField {
    const char *szName;
    bool bDegrees;
    int nLimit; /* degrees: the magnitude's bound; minutes, seconds: 60 (excluded) */
};

const DmsField kDmsFields[6] = {
    {N_("Degrés de longitude"), true, 180},  {N_("Minutes de longitude"), false, 60},
    {N_("Secondes de longitude"), false, 60}, {N_("Degrés de latitude"), true, 90},
    {N_("Minutes de latitude"), false, 60},  {N_("Secondes de latitude"), false, 60},
};

/* Seconds per degree, per minute, per second: the weights of a triple. */
const int kSecondsPer[3] = {3600, 60, 1};

/* A field's number as typed, kept as digits so that no range test depends
 * on binary rounding. */
struct TypedNumber {
    std::string text;     /* trimmed, as typed: what a message quotes */
    bool bNegative = false;
    std::string whole;    /* digits before the separator, no leading zeros */
    std::string fraction; /* digits after it, no trailing zeros */
};

enum class Form { Number, NotANumber, Signed };

bool is_blank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

std::string trimmed(const char *szText)
{
    size_t nLength;
    const char *szStart = field_text_trimmed(szText, &nLength);
    return std::string(szStart, nLength);
}

/* Reads a trimmed text: an optional sign, digits, at most one '.' or ','
 * and digits, at least one digit in all. An empty text is 0. */
Form read_number(const std::string &text, TypedNumber &n)
{
    n = TypedNumber();
    n.text = text;
    size_t i = 0;
    bool bSigned = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        n.bNegative = text[i] == '-';
        bSigned = true;
        i++;
    }
    size_t nDigits = 0;
    bool bSeparator = false;
    for (; i < text.size(); i++) {
        const char c = text[i];
        if (is_digit(c)) {
            (bSeparator ? n.fraction : n.whole) += c;
            nDigits++;
        } else if ((c == '.' || c == ',') && !bSeparator) {
            bSeparator = true;
        } else {
            return Form::NotANumber;
        }
    }
    if (nDigits == 0 && !text.empty())
        return Form::NotANumber;
    n.whole.erase(0, n.whole.find_first_not_of('0') == std::string::npos
                         ? n.whole.size()
                         : n.whole.find_first_not_of('0'));
    while (!n.fraction.empty() && n.fraction.back() == '0')
        n.fraction.pop_back();
    return bSigned ? Form::Signed : Form::Number;
}

/* The whole part, or 1000 for anything at least that large: beyond every
 * bound, and no overflow. */
int whole_value(const TypedNumber &n)
{
    return n.whole.size() > 3 ? 1000 : (n.whole.empty() ? 0 : std::stoi(n.whole));
}

bool is_zero(const TypedNumber &n)
{
    return n.whole.empty() && n.fraction.empty();
}

/* The double atof gives for the number: its digits rewritten with '.' and
 * read by from_chars, which rounds correctly as strtod does. */
double value_of(const TypedNumber &n)
{
    const std::string digits = (n.bNegative ? "-" : "") + (n.whole.empty() ? "0" : n.whole) +
                               "." + (n.fraction.empty() ? "0" : n.fraction);
    double d = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), d);
    return d;
}

/* True when degrees, minutes and seconds (none negative) add up to at most
 * nLimit degrees, on the decimals as typed: whole seconds first, then the
 * fractions added digit by digit, in as many places as the longest has. */
bool within_degrees(const TypedNumber *triple, int nLimit)
{
    long nSeconds = 0;
    size_t nPlaces = 0;
    for (int i = 0; i < 3; i++) {
        nSeconds += static_cast<long>(whole_value(triple[i])) * kSecondsPer[i];
        nPlaces = std::max(nPlaces, triple[i].fraction.size());
    }
    std::vector<long> places(nPlaces, 0); /* places[k]: units of 10^-(k+1) second */
    for (int i = 0; i < 3; i++)
        for (size_t k = 0; k < triple[i].fraction.size(); k++)
            places[k] += (triple[i].fraction[k] - '0') * kSecondsPer[i];
    bool bFraction = false;
    for (size_t k = nPlaces; k-- > 0;) {
        const long nCarry = places[k] / 10;
        bFraction = bFraction || places[k] % 10 != 0;
        if (k > 0)
            places[k - 1] += nCarry;
        else
            nSeconds += nCarry;
    }
    const long nLimitSeconds = 3600L * nLimit;
    return nSeconds < nLimitSeconds || (nSeconds == nLimitSeconds && !bFraction);
}

/* At most 24 characters of text, with U+2026 after a cut and U+FFFD for a
 * control character, so a message stays one short line. */
std::string quoted(const std::string &text)
{
    std::string out;
    int nCharacters = 0;
    for (size_t i = 0; i < text.size(); i++) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80 && nCharacters++ == 24) {
            out += "\xE2\x80\xA6";
            break;
        }
        if (c < 0x20 || c == 0x7F)
            out += "\xEF\xBF\xBD";
        else
            out += static_cast<char>(c);
    }
    return out;
}

/* szFormat, translated, with the arguments put in as printf does. */
std::string message(const char *szFormat, ...)
{
    va_list args, copy;
    va_start(args, szFormat);
    va_copy(copy, args);
    const char *szTranslated = _(szFormat);
    const int nSize = vsnprintf(nullptr, 0, szTranslated, copy);
    va_end(copy);
    std::string out(nSize > 0 ? static_cast<size_t>(nSize) : 0, '\0');
    if (nSize > 0)
        vsnprintf(&out[0], out.size() + 1, szTranslated, args);
    va_end(args);
    return out;
}

bool refuse(FieldRefusal *pRefusal, int nField, std::string reason)
{
    pRefusal->nField = nField;
    pRefusal->reason = std::move(reason);
    return false;
}

/* What each position of a locator must hold, coarsest level first. */
struct LocatorLevel {
    char cFirst, cLast;
    const char *szExpected;
};

const LocatorLevel kLocatorLevels[5] = {
    {'A', 'R', N_("Caractère %d de %s : une lettre de A à R est attendue")},
    {'0', '9', N_("Caractère %d de %s : un chiffre de 0 à 9 est attendu")},
    {'A', 'X', N_("Caractère %d de %s : une lettre de A à X est attendue")},
    {'A', 'X', N_("Caractère %d de %s : une lettre de A à X est attendue")},
    {'0', '9', N_("Caractère %d de %s : un chiffre de 0 à 9 est attendu")},
};

} // namespace

const char *field_text_trimmed(const char *szText, size_t *pnLength)
{
    while (is_blank(*szText))
        szText++;
    size_t nLength = strlen(szText);
    while (nLength > 0 && is_blank(szText[nLength - 1]))
        nLength--;
    *pnLength = nLength;
    return szText;
}

bool dms_fields_read(const char *const szTexts[6], double tab[6], FieldRefusal *pRefusal)
{
    TypedNumber numbers[6];
    for (int i = 0; i < 6; i++) {
        const DmsField &field = kDmsFields[i];
        TypedNumber &n = numbers[i];
        const Form form = read_number(trimmed(szTexts[i]), n);
        const char *szName = _(field.szName);
        const std::string value = quoted(n.text);
        if (form == Form::NotANumber)
            return refuse(pRefusal, i,
                          message(N_("%s : « %s » n'est pas un nombre décimal"), szName,
                                  value.c_str()));
        if (form == Form::Signed && !field.bDegrees)
            return refuse(pRefusal, i,
                          message(N_("%s : %s porte un signe ; seuls les degrés en prennent un"),
                                  szName, value.c_str()));
        const int nWhole = whole_value(n);
        if (!field.bDegrees && nWhole >= 60)
            return refuse(pRefusal, i,
                          message(N_("%s : %s n'est pas inférieur à 60"), szName, value.c_str()));
        if (field.bDegrees &&
            (nWhole > field.nLimit || (nWhole == field.nLimit && !n.fraction.empty())))
            return refuse(pRefusal, i,
                          message(field.nLimit == 180
                                      ? N_("%s : %s n'est pas compris entre -180 et 180")
                                      : N_("%s : %s n'est pas compris entre -90 et 90"),
                                  szName, value.c_str()));
        tab[i] = value_of(n);
    }
    /* A negative degree count only comes nearer zero with its minutes and
     * seconds; a positive one may pass the pole or the antimeridian. */
    for (int nAxis = 0; nAxis < 6; nAxis += 3) {
        const TypedNumber *triple = numbers + nAxis;
        const int nLimit = kDmsFields[nAxis].nLimit;
        if (triple[0].bNegative || within_degrees(triple, nLimit))
            continue;
        /* The finest non-zero part is the one that carries it past. */
        const int nField = nAxis + (is_zero(triple[2]) ? 1 : 2);
        return refuse(pRefusal, nField,
                      message(nLimit == 180 ? N_("%s : avec %s, la longitude dépasse 180°")
                                            : N_("%s : avec %s, la latitude dépasse 90°"),
                              _(kDmsFields[nField].szName), quoted(numbers[nField].text).c_str()));
    }
    return true;
}

bool locator_text_check(const char *szText, size_t nLength, FieldRefusal *pRefusal)
{
    const std::string text(szText, nLength);
    const std::string value = quoted(text);
    pRefusal->nField = -1;
    if (text.empty()) {
        pRefusal->reason = message(N_("QTH locator à convertir : le champ est vide"));
        return false;
    }
    int nCharacters = 0;
    for (size_t i = 0; i < text.size(); i++) {
        /* A character of several bytes counts once; a stray continuation
         * byte counts as a character of its own. */
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80 && i > 0 &&
            static_cast<unsigned char>(text[i - 1]) >= 0x80)
            continue;
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (nCharacters < 10) {
            const LocatorLevel &level = kLocatorLevels[nCharacters / 2];
            if (c < level.cFirst || c > level.cLast) {
                pRefusal->reason = message(level.szExpected, nCharacters + 1, value.c_str());
                return false;
            }
        }
        nCharacters++;
    }
    if (nCharacters % 2 != 0 || nCharacters > 10) {
        pRefusal->reason =
            message(N_("%s : un QTH locator a 2, 4, 6, 8 ou 10 caractères, pas %d"), value.c_str(),
                    nCharacters);
        return false;
    }
    return true;
}
