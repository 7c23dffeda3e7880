// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* One EDI log checked by a contest's rules, the log alone: every contact's
 * claimed points and the header's claims against the rule's, the report,
 * and the log with the claims corrected. */
#ifndef TOLKA_CONTEST_EDI_CHECK_H
#define TOLKA_CONTEST_EDI_CHECK_H

#include <string>
#include <string_view>

#include "rules.h"

/* True when PBand names a band above 10 GHz ("24 GHz", "47GHz", "24048
 * MHz"), which the kilometre rule does not score; false for the bands up to
 * 10 GHz and for a band it cannot read. */
bool band_above_10_ghz(std::string_view band);

/* Checks the log text, named name in the report, by rules and appends the
 * report to report: in the order of the lines, a line for each contact
 * whose claimed points or D mark disagree and each unreadable line; then
 * each header claim that disagrees (CQSOs, CQSOP, CWWLs when the rule counts
 * squares, CToSc, CODXC); a summary line; and, when the claims disagree on
 * more than half of the contacts, the built-in rule they follow, if one
 * does. With corrected, appends the log to it with the claims that disagree
 * replaced by the rule's, nothing else changed (nothing when the log is
 * refused). True when everything agrees. */
bool check_edi(std::string_view name, std::string_view text, const Rules &rules,
               std::string &report, std::string *corrected);

#endif
