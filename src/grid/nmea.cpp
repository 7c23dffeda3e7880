// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "nmea.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

/* The talkers of satellite receivers: GPS, any system (N), GLONASS,
 * Galileo, BeiDou (both names), QZSS and NavIC. Proprietary sentences
 * ($P...) are not among them: Garmin's $PGRMC is no RMC. */
constexpr std::string_view kTalkers[] = {"GP", "GN", "GL", "GA", "GB", "BD", "GQ", "GI"};

/* Where each kind keeps what is read, by field number (the address is
 * field 0); -1 where the kind has no such field. */
struct Layout {
    std::string_view type;
    int nTime, nLatitude, nDate;
    int nStatus;  /* 'A' valid, 'V' void */
    int nQuality; /* GGA's quality: '0' is no fix */
    int nMode;    /* mode indicator(s): 'N' alone, or GNS's all 'N', is no fix */
};
constexpr Layout kLayouts[] = {
    {"RMC", 1, 3, 9, 2, -1, 12},
    {"GGA", 1, 2, -1, -1, 6, -1},
    {"GLL", 5, 1, -1, 6, -1, 7},
    {"GNS", 1, 2, -1, -1, -1, 6},
};

constexpr int kMaxFields = 24; /* a sentence is at most 82 characters */
constexpr size_t kMaxMinuteDecimals = 12; /* the units of a minute are 60 * 10^12 */

/* The units of the nth decimal of a minute. */
constexpr int64_t kUnitsPerDecimal[kMaxMinuteDecimals + 1] = {
    kUnitsPerMinute,           kUnitsPerMinute / 10,          kUnitsPerMinute / 100,
    kUnitsPerMinute / 1000,    kUnitsPerMinute / 10000,       kUnitsPerMinute / 100000,
    kUnitsPerMinute / 1000000, kUnitsPerMinute / 10000000,    kUnitsPerMinute / 100000000,
    kUnitsPerMinute / 1000000000, kUnitsPerMinute / 10000000000, kUnitsPerMinute / 100000000000,
    kUnitsPerMinute / 1000000000000};

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

int hex_value(char c)
{
    if (is_digit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

/* The value of nDigits digits at text[pos], or -1 if they are not all
 * digits. */
int digits(std::string_view text, size_t pos, size_t nDigits)
{
    if (pos + nDigits > text.size())
        return -1;
    int n = 0;
    for (size_t i = pos; i < pos + nDigits; i++) {
        if (!is_digit(text[i]))
            return -1;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

/* "ddmm.mmmm" (dddmm.mmmm for a longitude) and its hemisphere letter: the
 * last two digits before the point are the minutes, those before them the
 * degrees, the decimals are the minutes' and read exactly. */
bool read_angle(std::string_view text, std::string_view hemisphere, bool bLatitude,
                Coordinate &c, Reason &why)
{
    /* Up to the point (or the end), at most five digits: more, or anything
     * else, is refused below. */
    int64_t nWhole = 0;
    size_t nPoint = 0;
    for (; nPoint < text.size() && nPoint <= 5 && is_digit(text[nPoint]); nPoint++)
        nWhole = nWhole * 10 + (text[nPoint] - '0');
    const bool bPoint = nPoint < text.size() && text[nPoint] == '.';
    const size_t nDecimals = bPoint ? text.size() - nPoint - 1 : 0;
    bool bRead = nPoint >= 2 && nPoint <= 5 && (bPoint || nPoint == text.size()) &&
                 nDecimals <= kMaxMinuteDecimals && nWhole % 100 < 60;
    int64_t nFraction = 0;
    for (size_t i = nPoint + 1; bRead && i < text.size(); i++) {
        bRead = is_digit(text[i]);
        nFraction = nFraction * 10 + (text[i] - '0');
    }
    if (!bRead) {
        why = refusal(bLatitude ? N_("latitude %s is not ddmm.mmmm") : N_("longitude %s is not dddmm.mmmm"),
                      text);
        return false;
    }
    const char cHemisphere = hemisphere.size() == 1 ? hemisphere[0] : '\0';
    if (bLatitude ? cHemisphere != 'N' && cHemisphere != 'S' : cHemisphere != 'E' && cHemisphere != 'W') {
        why = refusal(bLatitude ? N_("latitude hemisphere %s is not N or S")
                                : N_("longitude hemisphere %s is not E or W"),
                      hemisphere);
        return false;
    }
    /* The units of a minute are a multiple of 10^12: the decimals scale
     * exactly. */
    c.units = nWhole / 100 * kUnitsPerDegree + nWhole % 100 * kUnitsPerMinute +
              nFraction * kUnitsPerDecimal[nDecimals];
    c.beyond = false;
    c.negative = (cHemisphere == 'S' || cHemisphere == 'W') && c.units != 0;
    const int64_t nLimit = (bLatitude ? 90 : 180) * kUnitsPerDegree;
    if (c.units > nLimit) {
        why = refusal(bLatitude ? N_("latitude %s is out of range (-90 to 90)")
                                : N_("longitude %s is out of range (-180 to 180)"),
                      text);
        return false;
    }
    return true;
}

/* "hhmmss" with optional decimals. */
bool read_time(std::string_view text, FixTime &t)
{
    t.hour = digits(text, 0, 2);
    t.minute = digits(text, 2, 2);
    t.second = digits(text, 4, 2);
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 ||
        t.second > 60 || (text.size() > 6 && text[6] != '.'))
        return false;
    t.millisecond = 0;
    for (size_t i = 7; i < text.size(); i++) {
        if (!is_digit(text[i]))
            return false;
        if (i < 10)
            t.millisecond += (text[i] - '0') * (i == 7 ? 100 : i == 8 ? 10 : 1);
    }
    t.has_time = true;
    return true;
}

/* "ddmmyy": the receiver's two-digit year is taken in 1980-2079 (satellite
 * navigation started in 1980). */
bool read_date(std::string_view text, FixTime &t)
{
    const int nYear = digits(text, 4, 2);
    t.day = digits(text, 0, 2);
    t.month = digits(text, 2, 2);
    if (text.size() != 6 || nYear < 0 || t.month < 1 || t.month > 12)
        return false;
    t.year = nYear + (nYear >= 80 ? 1900 : 2000);
    if (t.day < 1 || t.day > days_in_month(t.year, t.month))
        return false;
    t.has_date = true;
    return true;
}

/* A sentence's fields: field n lies between bounds[n] and bounds[n + 1]
 * (the '$' or a comma before it, a comma or the checksum's '*' after). */
struct Fields {
    std::string_view text;
    size_t bounds[kMaxFields + 8]; /* room for a word's commas past the last field */
    int count = 0;

    /* Empty where the sentence has no such field. */
    std::string_view operator[](int n) const
    {
        return n >= 0 && n < count ? text.substr(bounds[n] + 1, bounds[n + 1] - bounds[n] - 1)
                                   : std::string_view();
    }
};

/* Splits the sentence into its fields and checks its checksum, in one pass
 * over the bytes (a pass per field costs more than the rest of the line). */
bool split(std::string_view text, Fields &f, Reason &why)
{
    /* The checksum is the last three characters, or absent. */
    size_t nEnd = text.size() >= 3 && text[text.size() - 3] == '*' ? text.size() - 3
                                                                   : text.find('*');
    nEnd = std::min(nEnd, text.size());
    f.text = text;
    f.bounds[0] = 0;
    int nCommas = 0;
    const auto too_many = [&] {
        why = refusal(N_("too many fields in %s"), text);
        return false;
    };
    /* Eight bytes at a time where they are in that order in a word: the
     * checksum is the XOR of the words folded, and the commas are the zero
     * bytes of the word XOR ',', found exactly (no carry crosses a byte).
     * The rest byte by byte. */
    uint64_t nWords = 0;
    size_t pos = 1;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    constexpr uint64_t kOnes = 0x0101010101010101, kLows = 0x7F7F7F7F7F7F7F7F;
    for (; pos + 8 <= nEnd; pos += 8) {
        uint64_t w;
        memcpy(&w, text.data() + pos, 8);
        nWords ^= w;
        const uint64_t x = w ^ (kOnes * ',');
        for (uint64_t m = ~(((x & kLows) + kLows) | x | kLows); m != 0; m &= m - 1)
            f.bounds[++nCommas] = pos + static_cast<size_t>(__builtin_ctzll(m) >> 3);
        if (nCommas > kMaxFields - 1)
            return too_many();
    }
#endif
    nWords ^= nWords >> 32;
    nWords ^= nWords >> 16;
    nWords ^= nWords >> 8;
    int nSum = static_cast<int>(nWords & 0xFF);
    for (; pos < nEnd; pos++) {
        nSum ^= static_cast<unsigned char>(text[pos]);
        if (text[pos] == ',') {
            if (nCommas == kMaxFields - 1)
                return too_many();
            f.bounds[++nCommas] = pos;
        }
    }
    f.bounds[nCommas + 1] = nEnd;
    f.count = nCommas + 1;
    pos = nEnd;
    if (pos == text.size())
        return true;
    const std::string_view given = text.substr(pos + 1);
    if (given.size() != 2 || hex_value(given[0]) < 0 || hex_value(given[1]) < 0) {
        why = refusal(N_("%s is not a checksum of two hexadecimal digits"), text.substr(pos));
        return false;
    }
    if (hex_value(given[0]) * 16 + hex_value(given[1]) != nSum) {
        why = refusal(N_("checksum %s does not match the sentence"), text.substr(pos));
        return false;
    }
    return true;
}

bool says_no_fix(const Layout &l, const Fields &f)
{
    const std::string_view status = f[l.nStatus];
    const std::string_view quality = f[l.nQuality];
    const std::string_view mode = f[l.nMode];
    return (l.nStatus >= 0 && status != "A") || (l.nQuality >= 0 && (quality.empty() || quality == "0")) ||
           (!mode.empty() && mode.find_first_not_of('N') == std::string_view::npos);
}

/* read_nmea's work, into s (whose time is as read so far when refused). */
bool read_sentence(std::string_view text, NmeaSentence &s, Reason &why)
{
    Fields f;
    if (!is_nmea_sentence(text) || !split(text, f, why)) {
        if (why.empty())
            why = refusal(N_("%s is not an NMEA sentence"), text);
        return false;
    }
    const std::string_view address = f[0];
    if (address.size() != 5) {
        why = refusal(N_("%s is not an NMEA sentence"), text);
        return false;
    }
    bool bTalker = false;
    for (std::string_view talker : kTalkers)
        bTalker = bTalker || (address[0] == talker[0] && address[1] == talker[1]);
    const Layout *l = nullptr;
    for (const Layout &layout : kLayouts)
        if (bTalker && address[2] == layout.type[0] && address[3] == layout.type[1] &&
            address[4] == layout.type[2])
            l = &layout;
    s.kind = NmeaSentence::kOther;
    if (!l)
        return true;

    const std::string_view time = f[l->nTime];
    if (!time.empty() && !read_time(time, s.time)) {
        why = refusal(N_("time %s is not hhmmss.ss"), time);
        return false;
    }
    const std::string_view date = f[l->nDate];
    if (!date.empty() && !read_date(date, s.time)) {
        why = refusal(N_("date %s is not ddmmyy"), date);
        return false;
    }
    const int n = l->nLatitude;
    /* A sentence cut short may still reach its position: the fields up to
     * the date must be there too, or a fix would go undated. */
    if (n + 3 >= f.count || l->nStatus >= f.count || l->nQuality >= f.count ||
        l->nDate >= f.count) {
        why = refusal(N_("%s has too few fields"), text);
        return false;
    }
    if (says_no_fix(*l, f)) {
        s.kind = NmeaSentence::kNoFix;
        return true;
    }
    if (!read_angle(f[n], f[n + 1], true, s.position.latitude, why) ||
        !read_angle(f[n + 2], f[n + 3], false, s.position.longitude, why))
        return false;
    s.kind = NmeaSentence::kFix;
    return true;
}

} // namespace

Result<NmeaSentence> read_nmea(std::string_view text)
{
    Result<NmeaSentence> r;
    if (!read_sentence(text, r.value, r.reason))
        return refused<NmeaSentence>(r.reason);
    return r;
}

Result<Position> parse_nmea_position(std::string_view text)
{
    NmeaSentence s;
    Reason why;
    if (!read_sentence(text, s, why))
        return refused<Position>(why);
    if (s.kind == NmeaSentence::kNoFix)
        return refused<Position>(refusal(N_("no fix")));
    if (s.kind == NmeaSentence::kOther)
        return refused<Position>(
            refusal(N_("%s is not a position sentence (RMC, GGA, GLL or GNS)"), text.substr(0, 6)));
    return {s.position, {}};
}

int days_in_month(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bLeap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && bLeap ? 29 : kDays[month - 1];
}

bool exact_coordinate(double degrees, int nLimitDegrees, Coordinate &c)
{
    if (!(std::fabs(degrees) <= nLimitDegrees))
        return false;
    /* degrees = m * 2^e with m an integer of at most 53 bits; m times the
     * units of a degree (less than 2^52) fits in 128 bits, and the shift by
     * -e divides exactly, its remainder going beyond. */
    int e;
    const double f = std::frexp(std::fabs(degrees), &e);
    const auto m = static_cast<unsigned __int128>(std::ldexp(f, 53));
    const int nShift = 53 - e; /* positive: |degrees| < 2^53 */
    const unsigned __int128 product = m * static_cast<unsigned __int128>(kUnitsPerDegree);
    if (nShift >= 128) {
        c.units = 0;
        c.beyond = product != 0;
    } else {
        c.units = static_cast<int64_t>(product >> nShift);
        c.beyond = (product & ((static_cast<unsigned __int128>(1) << nShift) - 1)) != 0;
    }
    c.negative = degrees < 0 && (c.units != 0 || c.beyond);
    return true;
}
