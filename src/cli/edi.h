// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* `tolka-cli edi`: every contact's points and the header's claims of an EDI
 * contest log checked by the rule, the report, and the corrected log. */
#ifndef TOLKA_CLI_EDI_H
#define TOLKA_CLI_EDI_H

#include <string>
#include <string_view>
#include <vector>

#include "lines.h"
#include "reason.h"
#include "settings.h"

/* True when PBand names a band above 10 GHz ("24 GHz", "47GHz", "24048
 * MHz"), whose contests score by other rules; false for the bands up to 10
 * GHz and for a band it cannot read. */
bool band_above_10_ghz(std::string_view band);

/* Checks the log at name (the name its report lines start with) against the
 * rule and appends the report to report: a line for each contact whose
 * points disagree, each unreadable line, each header claim that disagrees,
 * then a summary line. With pCorrected, appends the log to it with the
 * disagreeing fields corrected, nothing else changed (nothing when the log
 * is refused). True when everything agrees. */
bool check_edi(std::string_view name, std::string_view text, std::string &report,
               std::string *pCorrected);

/* The whole file at name appended to text; refused, with the reason, when
 * it cannot be read or is larger than any contest log. */
Reason read_file(std::string_view name, std::string &text);

/* `tolka-cli edi [--write] FILE...`: reads each file and checks it, the
 * report to out, or with --write the corrected log to out and the report to
 * err. Returns the exit status: 0 when every log agrees, else 1. */
int edi_files(const std::vector<std::string_view> &files, const Settings &settings, Sink &out,
              Sink &err, Messages &messages);

#endif
