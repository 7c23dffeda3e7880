// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Contest logs in the EDI format (REG1TEST) of the IARU Region 1 VHF
 * contests, for `tolka-cli edi`: a reader that yields the fields the contest
 * rule needs as views into the log's text, the check of every contact's
 * points and of the header's claims by the rule, the report, and a writer
 * that copies the log with only the corrected fields spliced in. Pure
 * functions over a text the caller holds; edi_files adds the files. */
#ifndef TOLKA_CLI_EDI_H
#define TOLKA_CLI_EDI_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lines.h"
#include "reason.h"
#include "settings.h"

/* A header field NAME=value: the value as it stands, and its line; line 0
 * when the header lacks the field. */
struct EdiField {
    std::string_view value;
    uint64_t line = 0;
};

/* A line of [QSORecords]: date;time;call;mode;sent RST;sent number;received
 * RST;received number;received exchange;received locator;points;new
 * exchange;new locator;new DXCC;duplicate. The fields the rule reads, as they
 * stand (blanks and all). */
struct EdiContact {
    uint64_t line = 0;
    std::string_view call, locator, points, duplicate;
};

struct EdiProblem {
    uint64_t line;
    Reason why;
};

struct EdiLog {
    EdiField own_locator; /* PWWLo */
    EdiField band;        /* PBand */
    EdiField valid_count; /* CQSOs, up to its first ';' (the band multiplier follows) */
    EdiField total;       /* CQSOP */
    EdiField longest;     /* CODXC: call;locator;kilometres */
    std::vector<EdiContact> contacts;
    std::vector<EdiProblem> unreadable; /* contact lines that could not be read */
};

/* Reads the first of each header field above in [REG1TEST;1] and every
 * line of [QSORecords;N], whatever N says; LF or CR LF. Every view points
 * into text, which must outlive the log. */
EdiLog read_edi(std::string_view text);

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

/* `tolka-cli edi [--write] FILE...`: reads each file and checks it, the
 * report to out, or with --write the corrected log to out and the report to
 * err. Returns the exit status: 0 when every log agrees, else 1. */
int edi_files(const std::vector<std::string_view> &files, const Settings &settings, Sink &out,
              Sink &err, Messages &messages);

#endif
