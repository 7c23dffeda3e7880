// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* The fate of a contact line of a contest log: one value, named by one
 * table for messages, table columns and reports, so that a new fate is one
 * row. */
#ifndef TOLKA_CONTEST_VERDICT_H
#define TOLKA_CONTEST_VERDICT_H

#include <cstddef>
#include <cstdint>

/* In the order reports list them. A log checked alone gives a contact that
 * counts kUnverified, or one of the last four. */
enum class Verdict : uint8_t {
    kConfirmed,      /* the other station logged it alike */
    kUnverified,     /* counts, but no log of the other station to check it by */
    kNotInLog,       /* the other station's log does not have it */
    kBustedCall,     /* the call was received wrong */
    kBustedLocator,  /* the locator was received wrong */
    kBustedNumber,   /* the serial number was received wrong */
    kBustedReport,   /* the report was received wrong */
    kTime,           /* the two logs' times differ beyond the tolerance */
    kDuplicate,      /* a later contact with a station already counted on the band */
    kOutside,        /* outside the contest's dates or hours */
    kIncomplete,     /* a received report, number or locator missing, or no call */
    kInvalidLocator, /* the received locator is not a valid 6-character one */
};
constexpr size_t kVerdictCount = 12;

struct VerdictName {
    Verdict verdict;
    const char *column; /* for tables and CSV: "not_in_log" */
    const char *words;  /* for messages, marked for the catalogue: "not in log" */
};

/* One row for each verdict, in the enum's order. */
extern const VerdictName kVerdicts[kVerdictCount];

inline const VerdictName &verdict_name(Verdict verdict)
{
    return kVerdicts[static_cast<size_t>(verdict)];
}

/* True for the verdicts whose contact scores. */
inline bool verdict_counts(Verdict verdict)
{
    return verdict == Verdict::kConfirmed || verdict == Verdict::kUnverified;
}

#endif
