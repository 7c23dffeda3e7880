// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Points by the rule: a contact's, between two 6-character locators, and a
 * log's total from the points of its counted contacts and the large squares
 * they reached. */
#ifndef TOLKA_CONTEST_SCORING_H
#define TOLKA_CONTEST_SCORING_H

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "distance.h"
#include "reason.h"
#include "rules.h"

/* A 6-character Maidenhead locator as the rules read it: the centre of its
 * subsquare, and its large square (the first 4 characters) as a column
 * from 0 (AA00's) to 179 eastwards and a row from 0 to 179 northwards. */
struct ContestPlace {
    LatLon centre;
    int column, row;
};
constexpr int kLargeSquares = 180; /* along each axis */
Result<ContestPlace> contest_place(std::string_view locator);

/* The ring of large squares b lies in around a: 0 for the same square, 1
 * for the 8 around it, and so on; columns wrap round the date line. */
int ring_between(const ContestPlace &a, const ContestPlace &b);

/* One contact: its points by the rule, the kilometres between the centres
 * by the contest's arc (whatever the rule scores; whole: truncated, as the
 * longest contact is claimed) and the ring. */
struct ContactScore {
    int64_t points;
    double kilometres;
    int64_t whole_kilometres;
    int ring;
};
ContactScore score_contact(const Rules &rules, const ContestPlace &own, const ContestPlace &other);

/* The rule's factor for the band a log's PBand names: the band_factor row
 * whose band reads as the same frequency ("1,3 GHz", "1.3 GHz", "1300
 * MHz"), or for a PBand that is no frequency, the same text in any case,
 * blanks aside; 1 when none. */
int64_t band_factor(const Rules &rules, std::string_view band);

/* The frequency a band names, in kHz: "144 MHz", "1,3 GHz", "24048MHz";
 * nullopt when it is not a number and MHz or GHz. */
std::optional<int64_t> band_kilohertz(std::string_view band);

/* The distinct large squares reached. */
class LargeSquares {
public:
    LargeSquares() : m_seen(kLargeSquares * kLargeSquares) {}
    void add(const ContestPlace &place);
    int64_t count() const { return m_count; }

private:
    std::vector<bool> m_seen;
    int64_t m_count = 0;
};

struct LogScore {
    int64_t points;  /* the counted contacts' points, before the band factor */
    int64_t squares; /* the distinct large squares, the own one included */
    int64_t total;   /* by the rule's formula */
};
LogScore log_score(const Rules &rules, int64_t factor, int64_t points, int64_t squares);

#endif
