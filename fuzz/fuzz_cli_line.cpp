// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tolka-cli's line path under any input: the line reader, the position and
// locator parsers, the exact encoder, the decoder and the distances, as
// `tolka-cli encode`, `decode` or `distance` runs them. The first byte chooses
// the command, the system, the precision and --iaru; the second the size of
// the chunks the input arrives in and the unit.
//
// Properties checked:
// - one output line for each input line, split here on its own;
// - an encoded line is refused, or gives a locator of the length and the
//   alphabets asked for whose cell holds the point, checked in exact integer
//   arithmetic written here, independent of the encoder;
// - a line in plain decimal degrees is accepted exactly when it is in range
//   with at most 24 decimals, and read to the exact unit;
// - a decoded line is refused exactly when it is not a locator of the
//   system, and the corner or centre printed for it, in degrees or DMS,
//   encodes back to it;
// - a distance line is refused, or gives two distances and bearings (and
//   under --iaru the contest kilometres and points) in their fixed formats:
//   no nan, no sign, bearings in [0, 360), the long path no shorter than
//   the short one, the points the whole kilometres plus one;
// - every message is a line of text: nothing the input holds reaches it raw.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../tests/cli/memory_io.h"
#include "cli/commands.h"
#include "cli/format.h"
#include "grid/text.h"

namespace {

void check(bool bOk, const char *szWhat, std::string_view line)
{
    if (!bOk) {
        fprintf(stderr, "property failed: %s\nline: \"%.*s\"\n", szWhat, static_cast<int>(line.size()),
                line.data());
        abort();
    }
}

const int kTolka[5] = {18, 10, 24, 24, 10}, kMaidenhead[5] = {18, 10, 24, 10, 24};

// The finest-cell index of one axis of a locator, and the cell's span in
// finest cells; false if a character is outside its level's alphabet.
bool axis_of(std::string_view locator, int nAxis, const int *cells, int64_t &nIndex, int64_t &nSpan)
{
    nIndex = 0;
    nSpan = 1036800;
    for (size_t i = 0; 2 * i < locator.size(); i++) {
        char c = locator[2 * i + nAxis];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        const int n = c - (cells[i] == 10 ? '0' : 'A');
        if (n < 0 || n >= cells[i])
            return false;
        nSpan /= cells[i];
        nIndex += n * nSpan;
    }
    return true;
}

// The coordinate (its magnitude units or a little more, signed) lies in the
// cell [corner, corner + size) of one axis, counted in position units from
// the grid's centre line; the far edge of the grid belongs to the last cell.
bool holds(const Coordinate &c, int64_t nCorner, int64_t nSize, int64_t nHalf)
{
    const int64_t u = c.units, nTop = nCorner + nSize;
    if (!c.negative)
        return nCorner <= u && (u < nTop || (nTop == nHalf && u == nTop && !c.beyond));
    return (c.beyond ? u < -nCorner : u <= -nCorner) && (u > -nTop || (u == -nTop && c.beyond));
}

// Reads "[+-]digits[.digits]" at pos into sign, whole and 24 decimals.
bool plain_number(std::string_view s, size_t &pos, bool &bNegative, __int128 &whole,
                  __int128 &fraction, size_t &nDecimals, size_t &nWholeDigits)
{
    bNegative = pos < s.size() && s[pos] == '-';
    if (pos < s.size() && (s[pos] == '-' || s[pos] == '+'))
        pos++;
    whole = fraction = 0;
    nDecimals = nWholeDigits = 0;
    const size_t start = pos;
    for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; pos++)
        if (nWholeDigits < 30 && (whole = whole * 10 + (s[pos] - '0')) != 0)
            nWholeDigits++;
    if (pos == start)
        return false;
    if (pos < s.size() && s[pos] == '.') {
        if (++pos == s.size() || s[pos] < '0' || s[pos] > '9')
            return false;
        for (; pos < s.size() && s[pos] >= '0' && s[pos] <= '9'; pos++, nDecimals++)
            if (nDecimals < 24)
                fraction = fraction * 10 + (s[pos] - '0');
    }
    for (size_t n = nDecimals; n < 24; n++)
        fraction *= 10;
    return true;
}

// The decimal form, read here on its own: the parser must accept exactly
// the lines in range with at most 24 decimals, and read them to the unit.
void check_decimal_form(std::string_view text, const Result<Position> &parsed)
{
    size_t pos = 0;
    bool bNegative[2];
    __int128 whole[2], fraction[2];
    size_t nDecimals[2], nWholeDigits[2];
    for (int i = 0; i < 2; i++) {
        if (i == 1) {
            const size_t start = pos;
            while (pos < text.size() && is_blank(text[pos]))
                pos++;
            if (pos < text.size() && text[pos] == ',')
                pos++;
            while (pos < text.size() && is_blank(text[pos]))
                pos++;
            if (pos == start)
                return;
        }
        if (!plain_number(text, pos, bNegative[i], whole[i], fraction[i], nDecimals[i],
                          nWholeDigits[i]))
            return;
    }
    if (pos != text.size())
        return; // not the plain form: other checks apply
    bool bAccept = true;
    const int64_t kLimit[2] = {90, 180};
    for (int i = 0; i < 2; i++)
        bAccept = bAccept && nDecimals[i] <= 24 && nWholeDigits[i] <= 3 &&
                  (whole[i] < kLimit[i] || (whole[i] == kLimit[i] && fraction[i] == 0));
    check(static_cast<bool>(parsed) == bAccept, "decimal form accepted exactly when in range", text);
    if (!bAccept)
        return;
    const Coordinate *c[2] = {&parsed.value.latitude, &parsed.value.longitude};
    for (int i = 0; i < 2; i++) {
        // 10^-24 degree -> 10^-12 second: times 3600 / 10^12 = 36 / 10^10.
        const __int128 scaled = fraction[i] * 36;
        const __int128 units = whole[i] * 3600000000000000 + scaled / 10000000000;
        const bool bBeyond = scaled % 10000000000 != 0;
        check(c[i]->units == units && c[i]->beyond == bBeyond, "decimal form read exactly", text);
        check(c[i]->negative == (bNegative[i] && (units != 0 || bBeyond)), "sign read", text);
    }
}

void check_encode(std::string_view text, const Settings &settings)
{
    const Result<Position> parsed = parse_position(text);
    check_decimal_form(text, parsed);
    if (!parsed)
        return;
    char sz[kMaxLocatorLength];
    encode_locator(parsed.value, settings.system, settings.precision, sz);
    const std::string_view locator(sz, static_cast<size_t>(settings.precision));
    const int *cells = settings.system == LocatorSystem::Tolka ? kTolka : kMaidenhead;
    // Finest cells of 1.25" by 0.625", in position units (10^-12 second).
    const int64_t kFinest[2] = {625000000000, 1250000000000};
    const int64_t kHalf[2] = {324000 * 1000000000000LL, 648000 * 1000000000000LL};
    const Coordinate *coordinates[2] = {&parsed.value.latitude, &parsed.value.longitude};
    for (int nAxis = 0; nAxis < 2; nAxis++) { // locator: longitude at even positions
        int64_t nIndex, nSpan;
        check(axis_of(locator, 1 - nAxis, cells, nIndex, nSpan), "valid locator", text);
        check(holds(*coordinates[nAxis], nIndex * kFinest[nAxis] - kHalf[nAxis],
                    nSpan * kFinest[nAxis], kHalf[nAxis]),
              "the cell holds the point", text);
    }
}

void check_decode(std::string_view text, const Settings &settings)
{
    const Result<Cell> cell = parse_locator(text, settings.system);
    const int *cells = settings.system == LocatorSystem::Tolka ? kTolka : kMaidenhead;
    int64_t nIndex, nSpan;
    const bool bLocator = text.size() % 2 == 0 && text.size() <= 10 &&
                          axis_of(text, 0, cells, nIndex, nSpan) &&
                          axis_of(text, 1, cells, nIndex, nSpan);
    check(static_cast<bool>(cell) == bLocator, "refused exactly when not a locator", text);
    if (!bLocator)
        return;
    // The corner or centre, in degrees or DMS, as decode prints them.
    const bool bCentre = text.size() & 2, bDms = text.size() & 4;
    const int64_t nLatitude = cell_latitude_e4(cell.value, bCentre);
    const int64_t nLongitude = cell_longitude_e4(cell.value, bCentre);
    const Rounding rounding = bCentre ? Rounding::kNearest : Rounding::kUp;
    char szPrinted[2 * kNumberRoom + 1];
    size_t n = bDms ? format_dms(nLatitude, true, rounding, szPrinted)
                    : format_degrees(nLatitude, szPrinted);
    szPrinted[n++] = ' ';
    n += bDms ? format_dms(nLongitude, false, rounding, szPrinted + n)
              : format_degrees(nLongitude, szPrinted + n);
    const Result<Position> centre = parse_position(std::string_view(szPrinted, n));
    check(static_cast<bool>(centre), "the printed point reads back", text);
    char sz[kMaxLocatorLength];
    encode_locator(centre.value, settings.system, static_cast<int>(text.size()), sz);
    for (size_t i = 0; i < text.size(); i++) {
        const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 32) : text[i];
        check(sz[i] == c, "the printed point encodes back to the locator", text);
    }
}

// A number as distance writes it: digits, a point and exactly nDecimals
// decimals (any when nDecimals < 0, then no point either).
bool fixed_number(std::string_view field, int nDecimals, double &value)
{
    const size_t nPoint = field.find('.');
    if (nDecimals < 0 ? nPoint != std::string_view::npos
                      : nPoint == std::string_view::npos || nPoint == 0 ||
                            field.size() - nPoint - 1 != static_cast<size_t>(nDecimals))
        return false;
    for (size_t i = 0; i < field.size(); i++)
        if (i != nPoint && (field[i] < '0' || field[i] > '9'))
            return false;
    return std::from_chars(field.data(), field.data() + field.size(), value).ptr ==
           field.data() + field.size();
}

void check_distance(std::string_view line, std::string_view output, bool bIaru)
{
    if (output.empty())
        return; // refused, or blank
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        const size_t end = output.find(' ', start);
        fields.push_back(output.substr(start, end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    check(fields.size() == (bIaru ? 6u : 4u), "four columns, six under --iaru", line);
    double v[6];
    static const int kDecimals[6] = {3, 2, 3, 2, 2, -1};
    for (size_t i = 0; i < fields.size(); i++)
        check(fixed_number(fields[i], kDecimals[i], v[i]), "fixed decimals, no sign, no nan", line);
    check(v[1] < 360 && v[3] < 360, "bearings in [0, 360)", line);
    check(v[2] >= v[0], "the long path is no shorter", line);
    if (bIaru)
        check(v[5] == static_cast<double>(static_cast<int64_t>(v[4]) + 1),
              "the points are the whole kilometres plus one", line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const int kLengths[8] = {10, 2, 4, 6, 8, 10, 10, 10};
    Settings settings;
    settings.system = data[0] & 1 ? LocatorSystem::Maidenhead : LocatorSystem::Tolka;
    settings.precision = kLengths[(data[0] >> 1) & 7];
    const bool bDecode = data[0] & 16;
    const bool bDistance = data[0] & 32;
    settings.iaru = data[0] & 64;
    settings.unit = static_cast<DistanceUnit>(data[1] / 64 % 3);
    const std::string input(reinterpret_cast<const char *>(data) + 2, size - 2);

    // The lines, split here: LF ends a line, a CR before it is dropped.
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < input.size();) {
        size_t end = input.find('\n', start);
        const size_t next = end == std::string::npos ? input.size() : end + 1;
        end = end == std::string::npos ? input.size() : end;
        if (end > start && input[end - 1] == '\r')
            end--;
        lines.push_back(std::string_view(input).substr(start, end - start));
        start = next;
    }

    StringSource source(input, data[1] % 64 + 1);
    StringSink out, err;
    {
        OutputBuffer buffer(out);
        Messages messages(err, "tolka-cli");
        convert_lines(source, bDistance ? distance_line : bDecode ? decode_line : encode_line,
                      settings, buffer, messages);
        buffer.flush();
    }
    size_t nOutputLines = 0;
    for (char c : out.text)
        nOutputLines += c == '\n';
    check(nOutputLines == lines.size(), "one output line per input line", input);
    // What the input holds reaches the messages quoted: each is a line of
    // text, with no control character (not even a tab) and nothing that
    // shows nothing (a byte-order mark, a direction override).
    for (size_t start = 0; start < err.text.size();) {
        const size_t end = err.text.find('\n', start);
        const std::string_view message = std::string_view(err.text).substr(start, end - start);
        check(check_text(message).empty() && message.find('\t') == std::string_view::npos &&
                  message.find("\xEF\xBB\xBF") == std::string_view::npos &&
                  message.find("\xE2\x80\xAE") == std::string_view::npos,
              "messages quote the input safely", input);
        start = end + 1;
    }

    std::vector<std::string_view> outputs;
    for (size_t start = 0; start < out.text.size();) {
        const size_t end = out.text.find('\n', start);
        outputs.push_back(std::string_view(out.text).substr(start, end - start));
        start = end + 1;
    }
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string_view line = lines[i];
        if (line.size() > kMaxLine || !check_text(line).empty())
            continue;
        const std::string_view text = trim_blanks(line);
        if (text.empty())
            continue;
        if (bDistance)
            check_distance(text, outputs[i], settings.iaru);
        else if (bDecode)
            check_decode(text, settings);
        else
            check_encode(text, settings);
    }
    return 0;
}
