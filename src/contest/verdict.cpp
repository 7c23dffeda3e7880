// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "verdict.h"

#include "reason.h"

const VerdictName kVerdicts[kVerdictCount] = {
    {Verdict::kConfirmed, "confirmed", N_("confirmed")},
    {Verdict::kUnverified, "unverified", N_("unverified")},
    {Verdict::kNotInLog, "not_in_log", N_("not in log")},
    {Verdict::kBustedCall, "busted_call", N_("busted call")},
    {Verdict::kBustedLocator, "busted_locator", N_("busted locator")},
    {Verdict::kBustedNumber, "busted_number", N_("busted number")},
    {Verdict::kBustedReport, "busted_report", N_("busted report")},
    {Verdict::kTime, "time", N_("time beyond the tolerance")},
    {Verdict::kDuplicate, "duplicate", N_("duplicate")},
    {Verdict::kOutside, "outside", N_("outside the contest period")},
    {Verdict::kIncomplete, "incomplete", N_("incomplete exchange")},
    {Verdict::kInvalidLocator, "invalid_locator", N_("invalid locator")},
};
