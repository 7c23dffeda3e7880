// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scoring.h"

#include <algorithm>
#include <cstdlib>

#include "edi_log.h"
#include "text.h"

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

Result<ContestPlace> contest_place(std::string_view locator)
{
    const Result<LatLon> centre = subsquare_centre(locator);
    if (!centre)
        return refused<ContestPlace>(centre.reason);
    /* subsquare_centre took it for a Maidenhead locator of 6 characters:
     * field letters A-R, then square digits. */
    const int column = (upper(locator[0]) - 'A') * 10 + (locator[2] - '0');
    const int row = (upper(locator[1]) - 'A') * 10 + (locator[3] - '0');
    return {{centre.value, column, row}, {}};
}

int ring_between(const ContestPlace &a, const ContestPlace &b)
{
    const int across = std::abs(a.column - b.column);
    const int columns = std::min(across, kLargeSquares - across);
    return std::max(columns, std::abs(a.row - b.row));
}

ContactScore score_contact(const Rules &rules, const ContestPlace &own, const ContestPlace &other)
{
    const ContestDistance distance = iaru_distance(own.centre, other.centre);
    const int ring = ring_between(own, other);
    return {rules.points == PointsBy::kKilometres ? distance.points : 2 + ring,
            distance.kilometres, distance.points - 1, ring};
}

std::optional<int64_t> band_kilohertz(std::string_view band)
{
    band = trim_blanks(band);
    /* Exactly, in kHz: "1,3 GHz" (a comma for the decimal point), "10368.1
     * MHz"; what is finer than a kHz is dropped. */
    int64_t whole = 0, fraction = 0, scale = 1;
    size_t i = 0, digits = 0, decimals = 0;
    bool point = false;
    for (; i < band.size(); i++) {
        const char c = band[i];
        if (c >= '0' && c <= '9') {
            if (++digits > 12)
                return std::nullopt;
            if (!point)
                whole = whole * 10 + (c - '0');
            else if (decimals++ < 6) {
                fraction = fraction * 10 + (c - '0');
                scale *= 10;
            }
        } else if ((c == '.' || c == ',') && !point)
            point = true;
        else
            break;
    }
    const std::string_view unit = trim_blanks(band.substr(i));
    const int64_t kilohertz = same_name(unit, "GHz")   ? 1000000
                              : same_name(unit, "MHz") ? 1000
                                                       : 0;
    if (digits == 0 || kilohertz == 0)
        return std::nullopt;
    return whole * kilohertz + fraction * kilohertz / scale;
}

int64_t band_factor(const Rules &rules, std::string_view band)
{
    const std::optional<int64_t> frequency = band_kilohertz(band);
    const auto squeezed = [](std::string_view text) {
        std::string out;
        for (char c : text)
            if (!is_blank(c))
                out += upper(c);
        return out;
    };
    const std::string name = squeezed(band);
    for (const BandFactor &row : rules.band_factor)
        if (frequency ? band_kilohertz(row.band) == frequency : squeezed(row.band) == name)
            return row.factor;
    return 1;
}

void LargeSquares::add(const ContestPlace &place)
{
    const size_t index = static_cast<size_t>(place.row) * kLargeSquares + place.column;
    if (!m_seen[index]) {
        m_seen[index] = true;
        m_count++;
    }
}

LogScore log_score(const Rules &rules, int64_t factor, int64_t points, int64_t squares)
{
    const int64_t sum = points * factor + rules.square_bonus * squares;
    return {points, squares, rules.square_multiplier ? sum * squares : sum};
}
