// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* A contest's rules as data: how a contact scores and how a log's total is
 * made, read from a small TOML file (toml++) or from the built-in rules,
 * which are the same kind of file compiled in. */
#ifndef TOLKA_CONTEST_RULES_H
#define TOLKA_CONTEST_RULES_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reason.h"

enum class PointsBy {
    kKilometres, /* "km": kilometres between the subsquare centres, truncated, plus one */
    kRings,      /* "rings": 2 + the ring of large squares around the own one */
};

/* A band's factor on each contact's points: band as the file writes it
 * ("432 MHz"), matched with a log's PBand (see band_factor in scoring.h). */
struct BandFactor {
    std::string band;
    int64_t factor;
};

/* Total = (sum of points x band factor + square_bonus x squares) x (squares
 * when square_multiplier, else 1), squares being the distinct large squares
 * worked, the own one included. */
struct Rules {
    std::string name;
    PointsBy points = PointsBy::kKilometres;
    std::vector<BandFactor> band_factor; /* 1 for a band not listed */
    int64_t square_bonus = 0;
    bool square_multiplier = false;
    /* The daily UTC window on the contest's dates, inclusive, in minutes
     * from 00:00; without hours, the whole day. */
    bool hours = false;
    int first_minute = 0, last_minute = 24 * 60 - 1;
    int tolerance_minutes = 10; /* how far two logs' times of a contact may differ */
};

/* Why a rules text was refused: its line (0: the whole text) and the reason,
 * which quotes the pieces kept in args. */
struct RulesRefusal {
    uint64_t line = 0;
    const char *format = nullptr;
    std::string args[4];

    bool empty() const { return format == nullptr; }
    Reason reason() const { return refusal(format, args[0], args[1], args[2], args[3]); }
};

/* Reads a rules text into rules: every key known, of its type and in its
 * range, name and points given. */
RulesRefusal read_rules(std::string_view text, Rules &rules);

/* The built-in rules, by name, as TOML texts. */
struct BuiltinRules {
    std::string_view name;
    std::string_view text;
};
extern const BuiltinRules kBuiltinRules[];
extern const size_t kBuiltinRulesCount;

/* The built-in rules read once (they are tested to read). */
const std::vector<Rules> &builtin_rules();

/* The --rules argument: a built-in rule's name, else the path of a rules
 * file. place is what messages name: the file's path, or the built-in
 * name. */
RulesRefusal load_rules(std::string_view argument, Rules &rules, std::string &place);

#endif
