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
    const size_t nPoint = std::min(text.find('.'), text.size());
    const int nDegrees = nPoint >= 2 && nPoint <= 5 ? digits(text, 0, nPoint - 2) : -1;
    const int nMinutes = nDegrees >= 0 ? digits(text, nPoint - 2, 2) : -1;
    const size_t nDecimals = nPoint < text.size() ? text.size() - nPoint - 1 : 0;
    int64_t nFraction = 0;
    for (size_t i = nPoint + 1; i < text.size() && nDecimals <= kMaxMinuteDecimals; i++) {
        if (!is_digit(text[i])) {
            nFraction = -1;
            break;
        }
        nFraction = nFraction * 10 + (text[i] - '0');
    }
    if (nMinutes < 0 || nMinutes >= 60 || nFraction < 0 || nDecimals > kMaxMinuteDecimals) {
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
    int64_t nPerDecimal = kUnitsPerMinute;
    for (size_t i = 0; i < nDecimals; i++)
        nPerDecimal /= 10;
    c.units = nDegrees * kUnitsPerDegree + nMinutes * kUnitsPerMinute + nFraction * nPerDecimal;
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
    if (text.size() != 6 || nYear < 0 || t.day < 1 || t.day > 31 || t.month < 1 || t.month > 12)
        return false;
    t.year = nYear + (nYear >= 80 ? 1900 : 2000);
    t.has_date = true;
    return true;
}

/* Splits the sentence into its fields and checks its checksum, in one pass
 * over the bytes (a pass per field costs more than the rest of the line). */
bool split(std::string_view text, std::string_view *fields, int &nFields, Reason &why)
{
    /* The checksum is the last three characters, or absent. */
    size_t nEnd = text.size() >= 3 && text[text.size() - 3] == '*' ? text.size() - 3
                                                                   : text.find('*');
    nEnd = std::min(nEnd, text.size());
    size_t nStart = 1;
    nFields = 0;
    bool bTooMany = false;
    const auto comma_at = [&](size_t pos) {
        bTooMany = bTooMany || nFields == kMaxFields - 1;
        if (!bTooMany)
            fields[nFields++] = text.substr(nStart, pos - nStart);
        nStart = pos + 1;
    };
    /* Eight bytes at a time where they are in that order in a word: the
     * checksum is the XOR of the words folded, and the commas are the zero
     * bytes of the word XOR ',' (the bit trick may flag a byte after a true
     * zero too, hence the check). The rest byte by byte. */
    uint64_t nWords = 0;
    size_t pos = 1;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    constexpr uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
    for (; pos + 8 <= nEnd; pos += 8) {
        uint64_t w;
        memcpy(&w, text.data() + pos, 8);
        nWords ^= w;
        const uint64_t x = w ^ (kOnes * ',');
        for (uint64_t m = (x - kOnes) & ~x & kHighs; m != 0; m &= m - 1) {
            const size_t nByte = pos + static_cast<size_t>(__builtin_ctzll(m) / 8);
            if (text[nByte] == ',')
                comma_at(nByte);
        }
    }
#endif
    int nSum = 0;
    for (int i = 0; i < 8; i++)
        nSum ^= static_cast<int>(nWords >> (8 * i)) & 0xFF;
    for (; pos < nEnd; pos++) {
        nSum ^= static_cast<unsigned char>(text[pos]);
        if (text[pos] == ',')
            comma_at(pos);
    }
    if (bTooMany) {
        why = refusal(N_("too many fields in %s"), text);
        return false;
    }
    fields[nFields++] = text.substr(nStart, nEnd - nStart);
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

std::string_view field(const std::string_view *fields, int nFields, int n)
{
    return n >= 0 && n < nFields ? fields[n] : std::string_view();
}

bool says_no_fix(const Layout &l, const std::string_view *fields, int nFields)
{
    const std::string_view status = field(fields, nFields, l.nStatus);
    const std::string_view quality = field(fields, nFields, l.nQuality);
    const std::string_view mode = field(fields, nFields, l.nMode);
    return (l.nStatus >= 0 && status != "A") || (l.nQuality >= 0 && (quality.empty() || quality == "0")) ||
           (!mode.empty() && mode.find_first_not_of('N') == std::string_view::npos);
}

} // namespace

Result<NmeaSentence> read_nmea(std::string_view text)
{
    std::string_view fields[kMaxFields];
    int nFields = 0;
    Reason why;
    if (!is_nmea_sentence(text) || !split(text, fields, nFields, why))
        return refused<NmeaSentence>(why.empty() ? refusal(N_("%s is not an NMEA sentence"), text)
                                                 : why);
    const std::string_view address = fields[0];
    if (address.size() != 5)
        return refused<NmeaSentence>(refusal(N_("%s is not an NMEA sentence"), text));
    NmeaSentence sentence;
    bool bTalker = false;
    for (std::string_view talker : kTalkers)
        bTalker = bTalker || address.substr(0, 2) == talker;
    const Layout *l = nullptr;
    for (const Layout &layout : kLayouts)
        if (bTalker && address.substr(2) == layout.type)
            l = &layout;
    if (!l)
        return {sentence, {}};

    const std::string_view time = field(fields, nFields, l->nTime);
    if (!time.empty() && !read_time(time, sentence.time))
        return refused<NmeaSentence>(refusal(N_("time %s is not hhmmss.ss"), time));
    const std::string_view date = field(fields, nFields, l->nDate);
    if (!date.empty() && !read_date(date, sentence.time))
        return refused<NmeaSentence>(refusal(N_("date %s is not ddmmyy"), date));
    const int n = l->nLatitude;
    if (n + 3 >= nFields || l->nStatus >= nFields || l->nQuality >= nFields)
        return refused<NmeaSentence>(refusal(N_("%s has too few fields"), text));
    if (says_no_fix(*l, fields, nFields)) {
        sentence.kind = NmeaSentence::kNoFix;
        return {sentence, {}};
    }
    if (!read_angle(fields[n], fields[n + 1], true, sentence.position.latitude, why) ||
        !read_angle(fields[n + 2], fields[n + 3], false, sentence.position.longitude, why))
        return refused<NmeaSentence>(why);
    sentence.kind = NmeaSentence::kFix;
    return {sentence, {}};
}

Result<Position> parse_nmea_position(std::string_view text)
{
    const Result<NmeaSentence> r = read_nmea(text);
    if (!r)
        return refused<Position>(r.reason);
    if (r.value.kind == NmeaSentence::kNoFix)
        return refused<Position>(refusal(N_("no fix")));
    if (r.value.kind == NmeaSentence::kOther)
        return refused<Position>(
            refusal(N_("%s is not a position sentence (RMC, GGA, GLL or GNS)"), text.substr(0, 6)));
    return {r.value.position, {}};
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
