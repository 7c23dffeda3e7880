// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Which contacts of one log count under a rule, before any other log is
 * looked at: each contact line gets its verdict. */
#ifndef TOLKA_CONTEST_COUNTING_H
#define TOLKA_CONTEST_COUNTING_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "edi_log.h"
#include "reason.h"
#include "rules.h"
#include "scoring.h"
#include "verdict.h"

/* The dates of TDate, YYYYMMDD;YYYYMMDD (the second may be missing: one
 * day), as numbers YYYYMMDD; nullopt when it is not that. */
struct ContestDates {
    uint32_t first, last;
};
std::optional<ContestDates> read_contest_dates(std::string_view value);

/* text as a number of exactly digits digits (at most 18), or -1. */
int64_t digits_of(std::string_view text, size_t digits);

/* Within the contest's dates (any day without them) and the rules' daily
 * hours, whatever else the line holds. */
bool inside_period(const EdiContact &contact, const Rules &rules,
                   const std::optional<ContestDates> &dates);

constexpr size_t kNoContact = static_cast<size_t>(-1);

/* A contact line's fate, the log alone: kUnverified when it counts, else
 * the first reason found, in this order: kIncomplete, kOutside,
 * kInvalidLocator, kDuplicate. */
struct Count {
    Verdict verdict = Verdict::kUnverified;
    Reason detail;              /* kIncomplete, kInvalidLocator: what is missing or wrong */
    size_t first = kNoContact;  /* kDuplicate: the index of the contact counted first */
    ContestPlace place{};       /* the received locator's, once it reads (from kDuplicate on) */
};

/* One Count for each of log.contacts. dates: the contest's days, nullopt
 * for any day. A duplicate is found by station_of the calls (one log is
 * one band), whatever the log's D field says. */
std::vector<Count> count_contacts(const EdiLog &log, const Rules &rules,
                                  const std::optional<ContestDates> &dates);

#endif
