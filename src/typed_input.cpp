// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "typed_input.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include <glib.h>

#include "i18n.h"
#include "locator.h"

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

/* Blanks beyond ASCII that pastes bring around a value: the no-break space,
 * the narrow one of French text, the ideographic space and a byte-order
 * mark, in UTF-8. */
const char *const kWideBlanks[] = {"\xC2\xA0", "\xE2\x80\xAF", "\xE3\x80\x80",
                                   "\xEF\xBB\xBF"};

/* Bytes of the blank that starts text (length bytes) or, with bEnd, that
 * ends it; 0 for none. */
size_t blank_length(const char *text, size_t length, bool bEnd)
{
    if (length > 0 && is_blank(bEnd ? text[length - 1] : *text))
        return 1;
    for (const char *blank : kWideBlanks) {
        const size_t n = strlen(blank);
        if (n <= length && memcmp(bEnd ? text + length - n : text, blank, n) == 0)
            return n;
    }
    return 0;
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

/* At most 24 characters of text, with U+2026 after a cut, so a message
 * stays one short line; a control character is written as its code point
 * (<U+0009>) and a byte that is not UTF-8 as U+FFFD, so it reads and stays
 * valid text. */
std::string quoted(const std::string &text)
{
    std::string out;
    int nCharacters = 0;
    for (const char *p = text.data(), *pEnd = p + text.size(); p < pEnd;) {
        if (nCharacters++ == 24) {
            out += "\xE2\x80\xA6";
            break;
        }
        const gunichar c = g_utf8_get_char_validated(p, pEnd - p);
        if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
            out += "\xEF\xBF\xBD";
            p++;
            continue;
        }
        const char *pNext = g_utf8_next_char(p);
        if (g_unichar_iscntrl(c)) {
            char code[16];
            snprintf(code, sizeof code, "<U+%04X>", static_cast<unsigned>(c));
            out += code;
        } else {
            out.append(p, pNext);
        }
        p = pNext;
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

/* The refusal of text as a Maidenhead locator, or empty when it is none.
 * The two layouts part at character 7, a digit in Maidenhead's: the reason
 * says which locator to type instead. */
std::string maidenhead_refusal(const std::string &text, const std::string &value)
{
    if (text.size() != 8 && text.size() != 10)
        return {};
    const Result<Cell> cell = parse_locator(text, LocatorSystem::Maidenhead);
    if (!cell)
        return {};
    char locator[kMaxLocatorLength];
    if (!convert_locator(cell.value, text, LocatorSystem::Tolka, locator).empty())
        return message(N_("Caractère 7 de %s : une lettre de A à X est attendue ; c'est un "
                          "locator Maidenhead, dont les 8 caractères ne nomment aucune case "
                          "d'un QTH locator étendu"),
                       value.c_str());
    std::string extended(locator, text.size());
    for (char &c : extended)
        c = g_ascii_tolower(c);
    return message(N_("Caractère 7 de %s : une lettre de A à X est attendue ; c'est un "
                      "locator Maidenhead, et le QTH locator étendu de la même case est %s"),
                   value.c_str(), extended.c_str());
}

} // namespace

const char *field_text_trimmed(const char *szText, size_t *pnLength)
{
    size_t nLength = strlen(szText);
    for (size_t n; (n = blank_length(szText, nLength, false)) > 0; nLength -= n)
        szText += n;
    for (size_t n; (n = blank_length(szText, nLength, true)) > 0;)
        nLength -= n;
    *pnLength = nLength;
    return szText;
}

bool dms_fields_read(const char *const szTexts[6], int nLoDir, int nLaDir, double tab[6],
                     FieldRefusal *pRefusal)
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
    /* A negative degree count stands alone (its minutes and seconds zero);
     * a positive one may pass the pole or the antimeridian with them. */
    for (int nAxis = 0; nAxis < 6; nAxis += 3) {
        const TypedNumber *triple = numbers + nAxis;
        const int nLimit = kDmsFields[nAxis].nLimit;
        /* Minutes and seconds are added to the degrees, so with a minus
         * they come nearer zero: many mean the other hemisphere instead. */
        if (triple[0].bNegative && !(is_zero(triple[1]) && is_zero(triple[2]))) {
            const bool bWestSouth = (nAxis == 0 ? nLoDir : nLaDir) == 0; /* the other one */
            const char *szOther =
                nAxis == 0 ? (bWestSouth ? _("O") : _("E")) : (bWestSouth ? _("S") : _("N"));
            std::string parts[3];
            for (int i = 0; i < 3; i++)
                parts[i] = triple[i].text.empty() ? "0" : quoted(triple[i].text);
            parts[0].erase(0, 1); /* the minus */
            return refuse(pRefusal, nAxis,
                          message(N_("%s : un signe va avec l'hémisphère : écrivez %s %s %s "
                                     "avec %s"),
                                  _(kDmsFields[nAxis].szName), parts[0].c_str(),
                                  parts[1].c_str(), parts[2].c_str(), szOther));
        }
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
    pRefusal->reason = maidenhead_refusal(text, value);
    if (!pRefusal->reason.empty())
        return false;
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
