// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "position.h"

#include <cstddef>
#include <string>

#include "nmea.h"
#include "text.h"

namespace {

/* Stands for any magnitude beyond every range; three of them still add up
 * without overflow. */
constexpr int64_t kHuge = INT64_MAX / 4;
constexpr int kExactDecimals = 12; /* every unit size below is a multiple of 10^-12 */
constexpr int64_t kPow10[kExactDecimals + 1] = {1,         10,         100,         1000,
                                                10000,     100000,     1000000,     10000000,
                                                100000000, 1000000000, 10000000000, 100000000000,
                                                1000000000000};

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

size_t skip_blanks(std::string_view s, size_t pos)
{
    while (pos < s.size() && is_blank(s[pos]))
        pos++;
    return pos;
}

/* The word at pos, up to the next blank or comma: what a message quotes. */
std::string_view word_at(std::string_view s, size_t pos)
{
    size_t end = pos;
    while (end < s.size() && !is_blank(s[end]) && s[end] != ',')
        end++;
    return s.substr(pos, end - pos);
}

/* A plain decimal number as typed, without sign: digits, then optionally a
 * point and digits. Its value is kept as integers while it is read. Left
 * uninitialised until scan_decimal fills it: zeroing arrays of them cost a
 * quarter of a lettered line's time. */
struct Decimal {
    std::string_view text;
    int64_t whole;    /* the integer part; 1000 or more means "at least 1000" */
    int64_t head;     /* the first twelve decimals, as an integer */
    int64_t tail;     /* the next twelve */
    size_t decimals;  /* how many there are, all told */
};

/* Reads a Decimal at pos; false, and pos unmoved, if no digit is there. A
 * point not followed by a digit is left unread. */
bool scan_decimal(std::string_view s, size_t &pos, Decimal &d)
{
    /* In locals, written to d once: d could alias the text (char may alias
     * anything), so updating d digit by digit stores it each time. */
    const size_t start = pos;
    size_t i = pos;
    int64_t nWhole = 0, nHead = 0, nTail = 0;
    size_t nDecimals = 0;
    for (; i < s.size() && is_digit(s[i]); i++)
        if (nWhole < 1000) /* no range goes that far: stop before overflow */
            nWhole = nWhole * 10 + (s[i] - '0');
    if (i == start)
        return false;
    if (i + 1 < s.size() && s[i] == '.' && is_digit(s[i + 1]))
        for (i++; i < s.size() && is_digit(s[i]); i++, nDecimals++) {
            if (nDecimals < kExactDecimals)
                nHead = nHead * 10 + (s[i] - '0');
            else if (nDecimals < 2 * kExactDecimals)
                nTail = nTail * 10 + (s[i] - '0');
        }
    d = Decimal{s.substr(start, i - start), nWhole, nHead, nTail, nDecimals};
    pos = i;
    return true;
}

/* d times nSeconds seconds (3600, 60 or 1: a degree, a minute or a second)
 * in position units: nUnits, plus less than one unit more when bBeyond;
 * false, with why set, for too many decimals.
 * The first twelve decimals give whole units; the next twelve are scaled on
 * their own so that nothing overflows, and their remainder is what goes
 * beyond. */
bool scale(const Decimal &d, int64_t nSeconds, int64_t &nUnits, bool &bBeyond, Reason &why)
{
    static_assert(2 * kExactDecimals == kMaxDecimals, "the tail holds the rest");
    const size_t n = d.decimals;
    if (n > static_cast<size_t>(kMaxDecimals)) {
        why = refusal(N_("%s has more than 24 decimals"), d.text);
        return false;
    }
    bBeyond = false;
    if (d.whole >= 1000) {
        nUnits = kHuge;
        return true;
    }
    const size_t nHead = n < kExactDecimals ? n : kExactDecimals;
    nUnits = (d.whole * kUnitsPerSecond + d.head * kPow10[kExactDecimals - nHead]) * nSeconds;
    if (n > nHead) {
        const int64_t nTail = d.tail * nSeconds;
        nUnits += nTail / kPow10[n - nHead];
        bBeyond = nTail % kPow10[n - nHead] != 0;
    }
    return true;
}

/* A coordinate of nUnits (and beyond them when bBeyond), negative only if
 * it is not an exact zero. */
Coordinate signed_coordinate(int64_t nUnits, bool bBeyond, bool bNegative)
{
    return Coordinate{nUnits, bBeyond, bNegative && (nUnits != 0 || bBeyond)};
}

void set_sign(Coordinate &c, bool bNegative)
{
    c = signed_coordinate(c.units, c.beyond, bNegative);
}

bool within(const Coordinate &c, int64_t nLimit)
{
    return c.units < nLimit || (c.units == nLimit && !c.beyond);
}

/* The position, or why it is out of range; the views are its words as
 * typed. The coordinates come by value, in registers (see
 * parse_decimal_position). */
Result<Position> checked(Coordinate latitude, Coordinate longitude,
                         std::string_view latitudeWord, std::string_view longitudeWord)
{
    if (!within(latitude, 90 * kUnitsPerDegree))
        return refused<Position>(
            refusal(N_("latitude %s is out of range (-90 to 90)"), latitudeWord));
    if (!within(longitude, 180 * kUnitsPerDegree))
        return refused<Position>(
            refusal(N_("longitude %s is out of range (-180 to 180)"), longitudeWord));
    return {Position{latitude, longitude}, {}};
}

/* What a number's place holds when it is not one: a word that starts like
 * one (nan, 1e5, 0x1p3, 4.) or a stray character. */
Reason not_a_number(std::string_view s, size_t pos)
{
    const char c = s[pos];
    if (is_digit(c) || c == '.' || c == '-' || c == '+' || (c >= 'a' && c <= 'z') ||
        (c >= 'A' && c <= 'Z'))
        return refusal(N_("%s is not a plain decimal number"), word_at(s, pos));
    return refusal(N_("unexpected %s"), character_at(s, pos));
}

/* The separator between the two coordinates: blanks and/or one comma. */
size_t skip_separator(std::string_view s, size_t pos)
{
    pos = skip_blanks(s, pos);
    if (pos < s.size() && s[pos] == ',')
        pos = skip_blanks(s, pos + 1);
    return pos;
}

bool at_end(std::string_view s, size_t pos, Reason &why)
{
    pos = skip_blanks(s, pos);
    if (pos < s.size())
        why = refusal(N_("unexpected %s after the two coordinates"), s.substr(pos));
    return pos == s.size();
}

/* One signed decimal number of degrees at pos, ending at a blank, a comma
 * or the end of s; word is its text. Returned by value, in registers: see
 * parse_decimal_position. Sets why when there is none. */
Coordinate signed_degrees(std::string_view s, size_t &pos, std::string_view &word, Reason &why)
{
    const size_t start = pos;
    const bool bNegative = s[pos] == '-';
    if (s[pos] == '-' || s[pos] == '+')
        pos++;
    Decimal d;
    if (!scan_decimal(s, pos, d) || (pos < s.size() && !is_blank(s[pos]) && s[pos] != ',')) {
        why = refusal(N_("%s is not a plain decimal number"), word_at(s, start));
        return {};
    }
    word = s.substr(start, pos - start);
    int64_t nUnits;
    bool bBeyond;
    if (!scale(d, 3600, nUnits, bBeyond, why))
        return {};
    return signed_coordinate(nUnits, bBeyond, bNegative);
}

/* A coordinate in degrees, minutes and seconds with its hemisphere letter. */
struct Lettered {
    Coordinate value;
    bool bLatitude = false;
    std::string_view text; /* as typed, for messages */
};

/* A unit mark right after a number: which component it names (0 degrees, 1
 * minutes, 2 seconds), or -1. Degrees: °, º (typed for it) or d; minutes:
 * ', ′, ’ or m; seconds: '', ", ″, ” or s. A switch on the first byte: this
 * runs after every number. */
int scan_mark(std::string_view s, size_t &pos)
{
    const auto at = [&](size_t n) { return pos + n < s.size() ? s[pos + n] : '\0'; };
    int nSlot = -1;
    size_t n = 1;
    switch (at(0)) {
    case 'd':
        nSlot = 0;
        break;
    case 'm':
        nSlot = 1;
        break;
    case 's':
    case '"':
        nSlot = 2;
        break;
    case '\'':
        nSlot = at(1) == '\'' ? 2 : 1;
        n = at(1) == '\'' ? 2 : 1;
        break;
    case '\xC2': /* ° º */
        if (at(1) == '\xB0' || at(1) == '\xBA')
            nSlot = 0, n = 2;
        break;
    case '\xE2': /* ′ ’ ″ ” */
        if (at(1) == '\x80' && (at(2) == '\xB2' || at(2) == '\x99'))
            nSlot = 1, n = 3;
        else if (at(1) == '\x80' && (at(2) == '\xB3' || at(2) == '\x9D'))
            nSlot = 2, n = 3;
        break;
    }
    if (nSlot >= 0)
        pos += n;
    return nSlot;
}

bool is_letter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

struct HemisphereLetters {
    char upper[256] = {}; /* each letter, either case, in upper case */
    constexpr HemisphereLetters()
    {
        for (const char *p = "NSEWO"; *p; p++)
            upper[static_cast<unsigned char>(*p)] = upper[static_cast<unsigned char>(*p - 'A' + 'a')] = *p;
    }
};
constexpr HemisphereLetters kHemispheres;

/* The lower-case letter c at pos, cUpper in upper case: a hemisphere
 * letter, or 0 (see hemisphere_at). */
char lower_hemisphere(std::string_view s, size_t pos, char c, char cUpper)
{
    const char before = pos > 0 ? s[pos - 1] : ' ';
    const char after = pos + 1 < s.size() ? s[pos + 1] : ' ';
    /* A letter before it may be a unit mark after a number: "38sn". */
    const bool bMarkBefore = (before == 'd' || before == 'm' || before == 's') && pos >= 2 &&
                             is_digit(s[pos - 2]);
    if ((is_letter(before) && !bMarkBefore) || is_letter(after))
        return 0;
    if (c == 'e' && (is_digit(before) || before == '.') &&
        (is_digit(after) || after == '+' || after == '-'))
        return 0;
    return cUpper;
}

/* The hemisphere letter at pos, in upper case, or 0: 'N' and 'S' name a
 * latitude; 'E', 'W' and 'O' (ouest) a longitude. A lower-case letter counts
 * only where it cannot be read otherwise: standing alone, not inside a word
 * (nan, inf) but for a unit mark before it, and an e not between a digit
 * and an exponent's digits (1e5).
 * An s right after a number is the seconds mark, read before this. */
inline char hemisphere_at(std::string_view s, size_t pos)
{
    const char c = s[pos];
    const char cUpper = kHemispheres.upper[static_cast<unsigned char>(c)];
    if (cUpper == 0 || cUpper == c)
        return cUpper;
    return lower_hemisphere(s, pos, c, cUpper);
}

/* A coordinate in degrees, minutes and seconds with its hemisphere letter
 * after the numbers ("48 48 38 N", "48.8566n") or before them
 * ("N 48° 51.400'", ADIF's "N048 51.400"); a letter first ends the
 * coordinate at the next letter, a comma or the end. Sets c, or returns
 * why not. */
Reason parse_lettered(std::string_view s, size_t &pos, Lettered &c)
{
    static const int64_t kSeconds[3] = {3600, 60, 1}; /* in a degree, a minute, a second */
    const size_t start = pos;
    char cLetter = hemisphere_at(s, pos);
    const bool bLetterFirst = cLetter != 0;
    if (bLetterFirst)
        pos++;
    Decimal numbers[3];
    int nSlots[3];
    int nCount = 0;
    /* An s right after a number is read as seconds; when the coordinate
     * then fails, it may have meant south, and the message says so. */
    size_t nSeconds = std::string_view::npos;
    auto fail = [&](const Reason &why) {
        if (nSeconds == std::string_view::npos)
            return why;
        return refusal(N_("in %s, s could be seconds or south: write S for south"),
                       s.substr(start, nSeconds + 1 - start));
    };
    for (;;) {
        const size_t nBefore = pos;
        pos = skip_blanks(s, pos);
        if (pos == s.size() || s[pos] == ',') {
            if (bLetterFirst && nCount > 0) {
                pos = nBefore;
                break;
            }
            if (bLetterFirst)
                return fail(refusal(N_("no number after %s"), s.substr(start, 1)));
            if (nCount == 0)
                return fail(refusal(N_("unexpected %s"), s.substr(pos, 1)));
            return fail(refusal(N_("%s has no hemisphere letter (N, S, E, W or O)"),
                                s.substr(start, nBefore - start)));
        }
        if (const char c = hemisphere_at(s, pos)) {
            if (nCount == 0)
                return fail(refusal(N_("no number after %s"), s.substr(start, 1)));
            if (!bLetterFirst) {
                cLetter = c;
                pos++;
            } else
                pos = nBefore; /* the next coordinate's letter */
            break;
        }
        if (s[pos] == '-' || s[pos] == '+')
            return fail(refusal(N_("%s: a coordinate with a hemisphere letter takes no sign"),
                                word_at(s, pos)));
        const size_t nNumber = pos;
        /* Read in place (a copy costs); a fourth number is refused below,
         * whatever it overwrites. */
        Decimal &d = numbers[nCount < 3 ? nCount : 2];
        if (!scan_decimal(s, pos, d))
            return fail(not_a_number(s, pos));
        const int nPrevious = nCount == 0 ? -1 : nSlots[nCount - 1];
        int nSlot = scan_mark(s, pos);
        if (nSlot >= 0 && nSlot <= nPrevious)
            return fail(refusal(N_("degrees, minutes and seconds are out of order in %s"),
                                s.substr(start, pos - start)));
        if (s[pos - 1] == 's' && (pos == s.size() || is_blank(s[pos]) || s[pos] == ','))
            nSeconds = pos - 1;
        /* Without a mark, the number ends at a blank, a comma, a letter or
         * the end, and is the component after the one before. */
        if (nSlot < 0) {
            if (pos < s.size() && !is_blank(s[pos]) && s[pos] != ',' && !hemisphere_at(s, pos))
                return fail(not_a_number(s, nNumber));
            nSlot = nPrevious + 1;
        }
        if (nSlot > 2)
            return fail(
                refusal(N_("more than three numbers in %s"), s.substr(start, pos - start)));
        nSlots[nCount] = nSlot;
        nCount++;
    }

    c = Lettered();
    c.bLatitude = cLetter == 'N' || cLetter == 'S';
    const bool bNegative = cLetter == 'S' || cLetter == 'W' || cLetter == 'O';
    c.text = s.substr(start, pos - start);
    for (int i = 0; i < nCount; i++) {
        if (i + 1 < nCount && numbers[i].decimals > 0)
            return refusal(N_("only the last number of %s may have decimals"), c.text);
        if (nSlots[i] == 1 && numbers[i].whole >= 60)
            return refusal(N_("minutes %s are out of range (0 to 60, 60 excluded)"),
                           numbers[i].text);
        if (nSlots[i] == 2 && numbers[i].whole >= 60)
            return refusal(N_("seconds %s are out of range (0 to 60, 60 excluded)"),
                           numbers[i].text);
        int64_t nUnits;
        bool bBeyond;
        Reason why;
        if (!scale(numbers[i], kSeconds[nSlots[i]], nUnits, bBeyond, why))
            return why;
        c.value.units += nUnits;
        c.value.beyond = c.value.beyond || bBeyond;
    }
    set_sign(c.value, bNegative);
    return {};
}

Result<Position> parse_lettered_position(std::string_view text)
{
    size_t pos = 0;
    Lettered c[2];
    for (int i = 0; i < 2; i++) {
        if (i == 1)
            pos = skip_separator(text, pos);
        if (pos == text.size())
            return refused<Position>(refusal(c[0].bLatitude ? N_("the longitude is missing")
                                                            : N_("the latitude is missing")));
        const Reason why = parse_lettered(text, pos, c[i]);
        if (!why.empty())
            return refused<Position>(why);
    }
    Reason why;
    if (!at_end(text, pos, why))
        return refused<Position>(why);
    if (c[0].bLatitude == c[1].bLatitude)
        return refused<Position>(refusal(c[0].bLatitude ? N_("two latitudes: %s and %s")
                                                        : N_("two longitudes: %s and %s"),
                                         c[0].text, c[1].text));
    const Lettered &latitude = c[0].bLatitude ? c[0] : c[1];
    const Lettered &longitude = c[0].bLatitude ? c[1] : c[0];
    return checked(latitude.value, longitude.value, latitude.text, longitude.text);
}

} // namespace

Result<Position> parse_decimal_position(std::string_view text)
{
    size_t pos = 0;
    Reason why;
    /* The coordinates stay in registers until they are stored in the result:
     * copied there from memory, a coordinate's two flags would be read back
     * as one word just after being stored as bytes, which the processor
     * cannot forward and waits for. */
    const auto read = [&](bool bFirst, std::string_view &word) -> Coordinate {
        if (!bFirst)
            pos = skip_separator(text, pos);
        if (pos == text.size())
            why = refusal(bFirst ? N_("a latitude and a longitude are expected")
                                 : N_("the longitude is missing"));
        else if (text[pos] == ',')
            why = refusal(N_("unexpected %s"), text.substr(pos, 1));
        else
            return signed_degrees(text, pos, word, why);
        return {};
    };
    std::string_view latitudeWord, longitudeWord;
    const Coordinate latitude = read(true, latitudeWord);
    if (!why.empty())
        return refused<Position>(why);
    const Coordinate longitude = read(false, longitudeWord);
    if (!why.empty() || !at_end(text, pos, why))
        return refused<Position>(why);
    return checked(latitude, longitude, latitudeWord, longitudeWord);
}

namespace {

/* Bytes that may make a line the lettered form: the upper-case hemisphere
 * letters and the first bytes of the unit marks (kAlways), the marks d, m and
 * s after a digit (kMark), the lower-case hemisphere letters where
 * hemisphere_at takes them (kLower). */
enum : unsigned char { kAlways = 1, kMark = 2, kLower = 4 };
struct LetteredBytes {
    unsigned char kind[256] = {};
    constexpr LetteredBytes()
    {
        for (const char *p = "NSEWO'\"\xC2\xE2"; *p; p++)
            kind[static_cast<unsigned char>(*p)] = kAlways;
        for (const char *p = "dms"; *p; p++)
            kind[static_cast<unsigned char>(*p)] |= kMark;
        for (const char *p = "nsewo"; *p; p++)
            kind[static_cast<unsigned char>(*p)] |= kLower;
    }
};
constexpr LetteredBytes kLettered;

bool is_lettered(std::string_view text)
{
    for (size_t i = 0; i < text.size(); i++) {
        const unsigned char nKind = kLettered.kind[static_cast<unsigned char>(text[i])];
        if (nKind == 0)
            continue;
        if ((nKind & kAlways) || ((nKind & kMark) && i > 0 && is_digit(text[i - 1])) ||
            ((nKind & kLower) && hemisphere_at(text, i)))
            return true;
    }
    return false;
}

/* A hemisphere letter or a unit mark makes the lettered form; without one,
 * the decimal form says best what is wrong with a line. */
Result<Position> parse_either(std::string_view text)
{
    return is_lettered(text) ? parse_lettered_position(text) : parse_decimal_position(text);
}

/* A refused line that reads as a position once its decimal commas (a comma
 * between two digits) are points: the message says to write a point. Of
 * three such commas, the middle one parts the coordinates ("48,85,2,35"). */
bool is_decimal_comma(std::string_view text, size_t i)
{
    return text[i] == ',' && i > 0 && i + 1 < text.size() && is_digit(text[i - 1]) &&
           is_digit(text[i + 1]);
}

Reason decimal_comma(std::string_view text)
{
    if (text.find(',') == std::string_view::npos)
        return {};
    size_t nCount = 0, nFirst = 0;
    for (size_t i = 0; i < text.size(); i++)
        if (is_decimal_comma(text, i) && nCount++ == 0)
            nFirst = i;
    if (nCount == 0)
        return {};
    std::string pointed(text);
    for (size_t i = 0, k = 0; i < text.size(); i++)
        if (is_decimal_comma(text, i) && !(nCount == 3 && k++ == 1))
            pointed[i] = '.';
    if (!parse_either(pointed))
        return {};
    /* The first such number, quoted, and its two halves. */
    size_t nBegin = nFirst, nEnd = nFirst + 1;
    while (nBegin > 0 && is_digit(text[nBegin - 1]))
        nBegin--;
    while (nEnd < text.size() && is_digit(text[nEnd]))
        nEnd++;
    return refusal(N_("%s has a decimal comma: write the decimals after a point, %s.%s"),
                   text.substr(nBegin, nEnd - nBegin), text.substr(nBegin, nFirst - nBegin),
                   text.substr(nFirst + 1, nEnd - nFirst - 1));
}

} // namespace

Result<Position> parse_position(std::string_view text)
{
    /* One result, returned as it is (see parse_decimal_position). */
    const bool bNmea = is_nmea_sentence(text);
    Result<Position> position = bNmea ? parse_nmea_position(text) : parse_either(text);
    if (!position && !bNmea) {
        const Reason why = decimal_comma(text);
        if (!why.empty())
            position.reason = why;
    }
    return position;
}
