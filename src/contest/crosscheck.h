// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* A whole contest checked log against log: every log read once, one index
 * of them all (band and station to log, each log's station to its lines),
 * each contact's verdict from one function, and the scores and ranks from
 * the verdicts. Matching a contact costs lookups, never a scan of the
 * other logs. The logs' texts stay where the caller put them; everything
 * here is views into them and a few numbers a contact. */
#ifndef TOLKA_CONTEST_CROSSCHECK_H
#define TOLKA_CONTEST_CROSSCHECK_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "band.h"
#include "counting.h"
#include "edi_log.h"
#include "rules.h"
#include "scoring.h"
#include "text.h"
#include "verdict.h"

constexpr uint32_t kNoLog = static_cast<uint32_t>(-1);
constexpr uint32_t kNoLine = static_cast<uint32_t>(-1);
constexpr int32_t kNoMinute = INT32_MIN;

/* True when a and b differ in one character: one changed, added or
 * removed, or two neighbours swapped. Equal texts are not. */
bool one_edit_apart(std::string_view a, std::string_view b);

/* Minutes from 2000-01-01 00:00 UTC of a contact's date (YYMMDD, 20YY) and
 * time (HHMM), blanks around allowed; nullopt when they are not that. */
std::optional<int32_t> contact_minute(std::string_view date, std::string_view time);

/* What a contact line came to: its verdict, and the line it was judged by
 * (C's line with A, or for a busted call the line of the log M that has it;
 * for a duplicate, the contact of its own log counted first). */
struct Fate {
    Verdict verdict = Verdict::kUnverified;
    bool unique = false;       /* unverified, and no other log of the band has the station */
    uint32_t other = kNoLog;   /* the log of C (or M); kNoLog for a duplicate */
    uint32_t line = kNoLine;   /* the index of the contact in it */
    int64_t points = 0;        /* by the rule, before the band factor; 0 unless it scores */
};

/* A contact of a log with a station: its index in the log, and its minute
 * (contact_minute) when it lies inside the contest period, else kNoMinute:
 * all that matching reads of another log. */
struct StationLine {
    uint32_t station, contact;
    int32_t minute;
};

/* Where a contact line stands in its log's text: what reads it again. */
struct LineSpan {
    uint32_t offset; /* add refuses a text of 4 GiB or more */
    uint16_t length; /* lines at most kMaxEdiLine */
};

/* A field of a contact line, as where it stands in the line. */
struct FieldSpan {
    uint16_t offset, length;
};

/* The fields of a contact that matching compares, kept so that no line is
 * read again for a verdict: what was sent, and what was received. */
struct Exchange {
    FieldSpan sent_report, sent_number, received_report, received_number, locator;
};

/* One log of the contest. */
struct ContestLog {
    std::string_view file; /* as named on the command line */
    std::string_view text; /* the whole file, held by the caller */
    /* Its header and unreadable lines; its contacts are read again from
     * their lines when needed, so that a contest of a million costs a few
     * bytes each, not a struct of views. */
    EdiLog edi;
    std::vector<LineSpan> lines;     /* one for each contact */
    std::vector<Exchange> exchanges; /* one for each contact */
    size_t band = 0;          /* in kBands */
    uint32_t station = 0;     /* its PCall's station, as an id (see Contest) */
    ContestPlace own{};       /* PWWLo */
    std::vector<uint32_t> stations; /* each contact's station id */
    std::vector<int32_t> minutes;   /* each contact's minute (contact_minute), kNoMinute if none */
    /* The contacts by station, then by line: a station's lines are one
     * run, found by binary search. */
    std::vector<StationLine> by_station;

    /* One for each contact: whether it counts by the log alone (count_contacts),
     * then, once judged, its verdict. */
    std::vector<Fate> fates;
    int64_t tally[kVerdictCount] = {};
    int64_t unique = 0;
    LogScore score{};
    int64_t rank = 0; /* within its band, 1 the highest score */

    size_t contact_count() const { return lines.size(); }
    /* Contact i, read again from its line (its line number not kept: 0). */
    EdiContact contact(size_t i) const;
    /* A field of contact i, trimmed of blanks. */
    std::string_view field(size_t i, FieldSpan span) const
    {
        return trim_blanks(text.substr(lines[i].offset + span.offset, span.length));
    }
};


/* Why a log was left out, with the line of the field at fault (0: the
 * whole log). */
struct LeftOut {
    std::string_view file;
    uint64_t line = 0;
    Reason why;
};

class Contest {
public:
    explicit Contest(const Rules &rules, int tolerance_minutes)
        : m_rules(rules), m_tolerance(tolerance_minutes)
    {
    }

    /* Reads a log (text must outlive the contest) and keeps it, or says why
     * not: no call, no valid locator, a band it cannot read. A second log of
     * one station on one band replaces the first, which is left out too. */
    void add(std::string_view file, std::string_view text);

    /* Indexes the logs, judges every contact, scores and ranks. Once. */
    void check();

    const std::vector<ContestLog> &logs() const { return m_logs; }
    const std::vector<LeftOut> &left_out() const { return m_leftOut; }
    const Rules &rules() const { return m_rules; }
    /* The text of a station id. */
    std::string_view station(uint32_t id) const { return m_stationNames[id]; }
    /* The logs kept, band by band in kBands order, then by rank, then in the
     * order they were added: the results' order. */
    std::vector<uint32_t> ranked() const;

private:
    uint32_t intern(std::string_view station);
    /* The log of station on band, or kNoLog. */
    uint32_t log_of(size_t band, uint32_t station) const;
    /* The run of log's contacts with station, in by_station. */
    std::pair<const StationLine *, const StationLine *> lines_with(const ContestLog &log,
                                                                   uint32_t station) const;
    /* The line of log with station, inside the contest period, nearest in
     * time to minute (the first of equals), or kNoLine; and how far. */
    struct Nearest {
        uint32_t line;
        int64_t gap;
    };
    Nearest nearest_line(const ContestLog &log, uint32_t station, int32_t minute) const;
    /* The verdict of a contact that counts by its log alone. */
    Fate judge(uint32_t log, uint32_t contact) const;
    /* What log's contact received against what other's line sent. */
    Verdict compare(const ContestLog &log, uint32_t contact, const ContestLog &other,
                    uint32_t line) const;
    /* The log M of a busted call: of a station one edit from called, which
     * log has no contact with, whose line with log's station (put in line)
     * lies within the tolerance of minute, the nearest; or kNoLog. */
    uint32_t busted_call(const ContestLog &log, uint32_t called, int32_t minute,
                         uint32_t &line) const;
    /* Judges a log's contacts that count by the log alone, and scores it. */
    void judge_and_score(uint32_t log);

    const Rules &m_rules;
    int m_tolerance;
    std::vector<ContestLog> m_logs;
    std::vector<LeftOut> m_leftOut;

    /* Every station named, as an id: a contact carries 4 bytes, not a text. */
    std::unordered_map<std::string_view, uint32_t> m_stationIds;
    std::deque<std::string> m_stationNames; /* by id; a deque keeps the views valid */
    std::string m_buffer;                   /* station_of's */

    /* (band, station) to its log, as logs are added; then, for matching,
     * the same as an array for each band by station id, and how many logs
     * of the band have a line with each station. */
    std::unordered_map<uint64_t, uint32_t> m_logOf;
    std::vector<uint32_t> m_bandLogs[kBandCount], m_bandWorked[kBandCount];
    /* (band, a station's text with one character taken out, or whole) to
     * the logs whose station gives it: what finds the calls one edit away. */
    std::unordered_map<std::string, std::vector<uint32_t>> m_nearCalls;
};

#endif
