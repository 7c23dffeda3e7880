// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Contest logs in the EDI format (REG1TEST) of the IARU Region 1 VHF
 * contests: a reader that yields every field as a view into the log's text
 * with its line, and a writer that copies the text with only the changed
 * fields spliced in, so that nothing else can change. Pure functions over a
 * text the caller holds. */
#ifndef TOLKA_CONTEST_EDI_LOG_H
#define TOLKA_CONTEST_EDI_LOG_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "reason.h"

/* A header field NAME=value: the value as it stands (blanks and all), and
 * its line; line 0 when the header lacks the field. */
struct EdiField {
    std::string_view value;
    uint64_t line = 0;
};

/* A line of [QSORecords]: date;time;call;mode;sent RST;sent number;received
 * RST;received number;received exchange;received locator;points;new
 * exchange;new locator;new DXCC;duplicate. Each field as it stands (blanks
 * and all); a field the line ends before is empty. */
struct EdiContact {
    uint64_t line = 0;
    std::string_view date;  /* YYMMDD */
    std::string_view time;  /* HHMM, UTC */
    std::string_view call;
    std::string_view mode;
    std::string_view sent_report, sent_number;
    std::string_view received_report, received_number, received_exchange;
    std::string_view locator; /* received */
    std::string_view points;  /* claimed */
    std::string_view new_exchange, new_locator, new_dxcc;
    std::string_view duplicate; /* "D" when the logger took it for a duplicate */
};

struct EdiProblem {
    uint64_t line;
    Reason why;
};

struct EdiLog {
    EdiField call;        /* PCall */
    EdiField own_locator; /* PWWLo */
    EdiField band;        /* PBand */
    EdiField section;     /* PSect */
    EdiField dates;       /* TDate: YYYYMMDD;YYYYMMDD */
    EdiField valid_count; /* CQSOs: contacts;band multiplier */
    EdiField total;       /* CQSOP: the contacts' points */
    EdiField squares;     /* CWWLs: squares;bonus per square;multiplier */
    EdiField score;       /* CToSc: the score */
    EdiField longest;     /* CODXC: call;locator;kilometres */
    std::vector<EdiContact> contacts;
    std::vector<EdiProblem> unreadable; /* contact lines that could not be read */
};

/* Reads the first of each header field above in [REG1TEST;1] and every
 * line of [QSORecords;N], whatever N says; LF or CR LF, a byte order mark
 * or not. A contact line needs its first 11 fields (up to the points); a
 * longer line than kMaxEdiLine is unreadable too. Every view points into
 * text, which must outlive the log. */
constexpr size_t kMaxEdiLine = 1024;
EdiLog read_edi(std::string_view text);

/* One line of [QSORecords] (without its line end) into contact, its fields
 * views into line; false when the line ends before its points. */
bool read_edi_contact(std::string_view line, uint64_t number, EdiContact &contact);

/* The part of a field's value before its first ';' (all of it without
 * one), and after it: "37;0;1" gives "37" and "0;1". Views into value. */
std::string_view first_part(std::string_view value);
std::string_view after_first_part(std::string_view value);

/* A field's new text: the view into the log that text replaces. */
struct EdiSplice {
    std::string_view field;
    std::string text;
};

/* text with each splice in place, appended to out: every other byte is
 * copied as it stands. The splices must point into text, none overlapping;
 * they are sorted here. */
void write_spliced(std::string_view text, std::vector<EdiSplice> &splices, std::string &out);

/* ASCII names in any case: "PWWLo", "pwwlo". */
bool same_name(std::string_view a, std::string_view b);

#endif
