// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "position.h"

#include <cstddef>

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
 * point and digits. Its value is kept as integers while it is read. */
struct Decimal {
    std::string_view text;
    int64_t whole = 0;    /* the integer part; 1000 or more means "at least 1000" */
    int64_t head = 0;     /* the first twelve decimals, as an integer */
    int64_t tail = 0;     /* the next twelve */
    size_t decimals = 0;  /* how many there are, all told */
};

/* Reads a Decimal at pos; false, and pos unmoved, if no digit is there. A
 * point not followed by a digit is left unread. */
bool scan_decimal(std::string_view s, size_t &pos, Decimal &d)
{
    const size_t start = pos;
    d = Decimal();
    while (pos < s.size() && is_digit(s[pos])) {
        if (d.whole < 1000) /* no range goes that far: stop before overflow */
            d.whole = d.whole * 10 + (s[pos] - '0');
        pos++;
    }
    if (pos == start)
        return false;
    if (pos + 1 < s.size() && s[pos] == '.' && is_digit(s[pos + 1]))
        for (pos++; pos < s.size() && is_digit(s[pos]); pos++, d.decimals++) {
            if (d.decimals < kExactDecimals)
                d.head = d.head * 10 + (s[pos] - '0');
            else if (d.decimals < 2 * kExactDecimals)
                d.tail = d.tail * 10 + (s[pos] - '0');
        }
    d.text = s.substr(start, pos - start);
    return true;
}

/* d times nPer units (those of a degree, minute or second: 3600, 60 or 1
 * times kUnitsPerSecond): nUnits, plus less than one unit more when bBeyond;
 * false, with why set, for too many decimals.
 * The first twelve decimals give whole units; the next twelve are scaled on
 * their own so that nothing overflows, and their remainder is what goes
 * beyond. */
bool scale(const Decimal &d, int64_t nPer, int64_t &nUnits, bool &bBeyond, Reason &why)
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
    const int64_t nSeconds = nPer / kUnitsPerSecond;
    const size_t nHead = n < kExactDecimals ? n : kExactDecimals;
    nUnits = (d.whole * kUnitsPerSecond + d.head * kPow10[kExactDecimals - nHead]) * nSeconds;
    if (n > nHead) {
        const int64_t nTail = d.tail * nSeconds;
        nUnits += nTail / kPow10[n - nHead];
        bBeyond = nTail % kPow10[n - nHead] != 0;
    }
    return true;
}

void set_sign(Coordinate &c, bool bNegative)
{
    c.negative = bNegative && (c.units != 0 || c.beyond);
}

bool within(const Coordinate &c, int64_t nLimit)
{
    return c.units < nLimit || (c.units == nLimit && !c.beyond);
}

Result<Position> checked(const Position &p, std::string_view latitude, std::string_view longitude)
{
    if (!within(p.latitude, 90 * kUnitsPerDegree))
        return refused<Position>(refusal(N_("latitude %s is out of range (-90 to 90)"), latitude));
    if (!within(p.longitude, 180 * kUnitsPerDegree))
        return refused<Position>(
            refusal(N_("longitude %s is out of range (-180 to 180)"), longitude));
    return {p, {}};
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
 * or the end of s; word is its text. */
bool signed_degrees(std::string_view s, size_t &pos, Coordinate &c, std::string_view &word,
                    Reason &why)
{
    const size_t start = pos;
    const bool bNegative = s[pos] == '-';
    if (s[pos] == '-' || s[pos] == '+')
        pos++;
    Decimal d;
    if (!scan_decimal(s, pos, d) || (pos < s.size() && !is_blank(s[pos]) && s[pos] != ',')) {
        why = refusal(N_("%s is not a plain decimal number"), word_at(s, start));
        return false;
    }
    word = s.substr(start, pos - start);
    if (!scale(d, kUnitsPerDegree, c.units, c.beyond, why))
        return false;
    set_sign(c, bNegative);
    return true;
}

/* A coordinate in degrees, minutes and seconds with its hemisphere letter. */
struct Lettered {
    Coordinate value;
    bool bLatitude = false;
    std::string_view text; /* as typed, for messages */
};

/* A unit mark right after a number: which component it names (0 degrees, 1
 * minutes, 2 seconds), or -1. */
int scan_mark(std::string_view s, size_t &pos)
{
    static const struct {
        std::string_view mark;
        int nSlot;
    } kMarks[] = {
        {"\xC2\xB0", 0}, {"d", 0},                  /* ° */
        {"''", 2},       {"'", 1},  {"\xE2\x80\xB2", 1}, {"m", 1}, /* ′ */
        {"\"", 2},       {"\xE2\x80\xB3", 2},       {"s", 2},      /* ″ */
    };
    for (const auto &m : kMarks)
        if (s.substr(pos, m.mark.size()) == m.mark) {
            pos += m.mark.size();
            return m.nSlot;
        }
    return -1;
}

/* 'N' and 'S' name a latitude; 'E', 'W' and 'O' (ouest) a longitude. */
bool is_hemisphere(char c)
{
    return c == 'N' || c == 'S' || c == 'E' || c == 'W' || c == 'O';
}

Result<Lettered> parse_lettered(std::string_view s, size_t &pos)
{
    static const int64_t kPer[3] = {kUnitsPerDegree, kUnitsPerMinute, kUnitsPerSecond};
    const size_t start = pos;
    Decimal numbers[3];
    int nSlots[3];
    int nCount = 0;
    for (;;) {
        pos = skip_blanks(s, pos);
        if (pos == s.size() || s[pos] == ',') {
            if (nCount == 0)
                return refused<Lettered>(refusal(N_("unexpected %s"), s.substr(pos, 1)));
            return refused<Lettered>(refusal(
                N_("%s has no hemisphere letter (N, S, E, W or O)"),
                s.substr(start, s.find_last_not_of(" \t", pos - 1) + 1 - start)));
        }
        if (is_hemisphere(s[pos]))
            break;
        if (s[pos] == '-' || s[pos] == '+')
            return refused<Lettered>(refusal(
                N_("%s: a coordinate with a hemisphere letter takes no sign"), word_at(s, pos)));
        const size_t nNumber = pos;
        Decimal d;
        if (!scan_decimal(s, pos, d))
            return refused<Lettered>(not_a_number(s, pos));
        const int nPrevious = nCount == 0 ? -1 : nSlots[nCount - 1];
        int nSlot = scan_mark(s, pos);
        if (nSlot >= 0 && nSlot <= nPrevious)
            return refused<Lettered>(refusal(
                N_("degrees, minutes and seconds are out of order in %s"),
                s.substr(start, pos - start)));
        /* Without a mark, the number ends at a blank, a comma, a letter or
         * the end, and is the component after the one before. */
        if (nSlot < 0) {
            if (pos < s.size() && !is_blank(s[pos]) && s[pos] != ',' && !is_hemisphere(s[pos]))
                return refused<Lettered>(not_a_number(s, nNumber));
            nSlot = nPrevious + 1;
        }
        if (nSlot > 2)
            return refused<Lettered>(
                refusal(N_("more than three numbers in %s"), s.substr(start, pos - start)));
        numbers[nCount] = d;
        nSlots[nCount] = nSlot;
        nCount++;
    }
    if (nCount == 0)
        return refused<Lettered>(refusal(N_("no number before %s"), s.substr(pos, 1)));

    Lettered c;
    c.bLatitude = s[pos] == 'N' || s[pos] == 'S';
    const bool bNegative = s[pos] == 'S' || s[pos] == 'W' || s[pos] == 'O';
    c.text = s.substr(start, ++pos - start);
    for (int i = 0; i < nCount; i++) {
        if (i + 1 < nCount && numbers[i].decimals > 0)
            return refused<Lettered>(
                refusal(N_("only the last number of %s may have decimals"), c.text));
        if (nSlots[i] == 1 && numbers[i].whole >= 60)
            return refused<Lettered>(refusal(
                N_("minutes %s are out of range (0 to 60, 60 excluded)"), numbers[i].text));
        if (nSlots[i] == 2 && numbers[i].whole >= 60)
            return refused<Lettered>(refusal(
                N_("seconds %s are out of range (0 to 60, 60 excluded)"), numbers[i].text));
        int64_t nUnits;
        bool bBeyond;
        Reason why;
        if (!scale(numbers[i], kPer[nSlots[i]], nUnits, bBeyond, why))
            return refused<Lettered>(why);
        c.value.units += nUnits;
        c.value.beyond = c.value.beyond || bBeyond;
    }
    set_sign(c.value, bNegative);
    return {c, {}};
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
        Result<Lettered> r = parse_lettered(text, pos);
        if (!r)
            return refused<Position>(r.reason);
        c[i] = r.value;
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
    return checked(Position{latitude.value, longitude.value}, latitude.text, longitude.text);
}

} // namespace

Result<Position> parse_decimal_position(std::string_view text)
{
    size_t pos = 0;
    Coordinate coordinates[2];
    std::string_view words[2];
    Reason why;
    for (int i = 0; i < 2; i++) {
        if (i == 1)
            pos = skip_separator(text, pos);
        if (pos == text.size())
            return refused<Position>(refusal(i == 0 ? N_("a latitude and a longitude are expected")
                                                    : N_("the longitude is missing")));
        if (text[pos] == ',')
            return refused<Position>(refusal(N_("unexpected %s"), text.substr(pos, 1)));
        if (!signed_degrees(text, pos, coordinates[i], words[i], why))
            return refused<Position>(why);
    }
    if (!at_end(text, pos, why))
        return refused<Position>(why);
    return checked(Position{coordinates[0], coordinates[1]}, words[0], words[1]);
}

namespace {

/* Bytes that make a line the lettered form: the hemisphere letters and the
 * first bytes of the unit marks (1), and the marks d, m, s after a digit (2). */
struct LetteredBytes {
    unsigned char kind[256] = {};
    constexpr LetteredBytes()
    {
        for (const char *p = "NSEWO'\"\xC2\xE2"; *p; p++)
            kind[static_cast<unsigned char>(*p)] = 1;
        for (const char *p = "dms"; *p; p++)
            kind[static_cast<unsigned char>(*p)] = 2;
    }
};
constexpr LetteredBytes kLettered;

} // namespace

Result<Position> parse_position(std::string_view text)
{
    /* A hemisphere letter or a unit mark makes the lettered form; without
     * one, the decimal form says best what is wrong with a line. */
    for (size_t i = 0; i < text.size(); i++) {
        const unsigned char nKind = kLettered.kind[static_cast<unsigned char>(text[i])];
        if (nKind == 1 || (nKind == 2 && i > 0 && is_digit(text[i - 1])))
            return parse_lettered_position(text);
    }
    return parse_decimal_position(text);
}
