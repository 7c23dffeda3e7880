// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "crosscheck.h"

#include <algorithm>
#include <numeric>

#include "band.h"
#include "station.h"
#include "text.h"

bool one_edit_apart(std::string_view a, std::string_view b)
{
    if (a.size() > b.size())
        std::swap(a, b);
    if (b.size() - a.size() > 1)
        return false;
    size_t i = 0; /* the first place they differ */
    while (i < a.size() && a[i] == b[i])
        i++;
    if (a.size() < b.size()) /* one added in b */
        return a.substr(i) == b.substr(i + 1);
    if (i == a.size()) /* equal */
        return false;
    return a.substr(i + 1) == b.substr(i + 1) ||
           (i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] &&
            a.substr(i + 2) == b.substr(i + 2));
}

namespace {

/* Days from 2000-01-01 of a date of the Gregorian calendar, 2000 to 2099. */
int32_t days_since_2000(int year, int month, int day)
{
    static const int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int leapDays = (year + 3) / 4; /* the leap years before it from 2000 */
    const bool leap = year % 4 == 0;     /* 2000 was one, 2100 is out of range */
    return year * 365 + leapDays + kBefore[month - 1] + (leap && month > 2) + day - 1;
}

/* A day of the calendar: months of their length, 29 February in leap years. */
bool valid_date(int year, int month, int day)
{
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 && day >= 1 && day <= kDays[month - 1] &&
           !(month == 2 && day == 29 && year % 4 != 0);
}

/* A received or sent number as an integer ("017" is 17), or -1. */
int64_t serial(std::string_view text)
{
    text = trim_blanks(text);
    return !text.empty() && text.size() <= 18 ? digits_of(text, text.size()) : -1;
}

/* The rules' factor for a band: the band_factor row naming the same band of
 * kBands, whatever the two write ("1296 MHz", "23cm", "1,3 GHz"). */
int64_t factor_of_band(const Rules &rules, size_t band)
{
    for (const BandFactor &row : rules.band_factor)
        if (const Result<size_t> named = read_band(row.band); named && named.value == band)
            return row.factor;
    return 1;
}

uint64_t band_key(size_t band, uint32_t station)
{
    return static_cast<uint64_t>(station) << 5 | band;
}

} // namespace

std::optional<int32_t> contact_minute(std::string_view date, std::string_view time)
{
    const int64_t yymmdd = digits_of(trim_blanks(date), 6), hhmm = digits_of(trim_blanks(time), 4);
    if (yymmdd < 0 || hhmm < 0)
        return std::nullopt;
    const int yy = static_cast<int>(yymmdd / 10000), mm = static_cast<int>(yymmdd / 100 % 100),
              dd = static_cast<int>(yymmdd % 100);
    if (!valid_date(yy, mm, dd) || hhmm / 100 > 23 || hhmm % 100 > 59)
        return std::nullopt;
    return days_since_2000(yy, mm, dd) * 1440 + static_cast<int32_t>(hhmm / 100 * 60 + hhmm % 100);
}

EdiContact ContestLog::contact(size_t i) const
{
    EdiContact contact;
    read_edi_contact(text.substr(lines[i].offset, lines[i].length), 0, contact);
    return contact;
}

uint32_t Contest::intern(std::string_view station)
{
    const auto found = m_stationIds.find(station);
    if (found != m_stationIds.end())
        return found->second;
    const uint32_t id = static_cast<uint32_t>(m_stationNames.size());
    m_stationNames.emplace_back(station);
    m_stationIds.emplace(m_stationNames.back(), id);
    return id;
}

void Contest::add(std::string_view file, std::string_view text)
{
    ContestLog log;
    log.file = file;
    log.text = text;
    log.edi = read_edi(text);
    const EdiLog &edi = log.edi;
    const auto leave_out = [&](uint64_t line, const Reason &why) {
        m_leftOut.push_back({file, line, why});
    };
    if (text.size() > UINT32_MAX) { /* where its lines are must fit LineSpan */
        leave_out(0, refusal(N_("larger than 4 GiB, which no contest log is")));
        return;
    }
    const std::string_view call = trim_blanks(edi.call.value);
    if (call.empty()) {
        leave_out(edi.call.line, refusal(N_("no PCall, the station's call")));
        return;
    }
    const std::string_view ownLocator = trim_blanks(edi.own_locator.value);
    const Result<ContestPlace> own = contest_place(ownLocator);
    if (edi.own_locator.line == 0 || !own) {
        leave_out(edi.own_locator.line,
                  edi.own_locator.line == 0
                      ? refusal(N_("no PWWLo, the station's locator"))
                      : refusal(N_("PWWLo %s is not a locator of 6 characters"), ownLocator));
        return;
    }
    const Result<size_t> band = read_band(edi.band.value);
    if (edi.band.line == 0 || !band) {
        leave_out(edi.band.line,
                  edi.band.line == 0 ? refusal(N_("no PBand, the band")) : band.reason);
        return;
    }
    log.band = band.value;
    log.own = own.value;
    log.station = intern(station_of(call, m_buffer));

    const std::optional<ContestDates> dates = read_contest_dates(edi.dates.value);
    const size_t n = edi.contacts.size();
    log.fates.resize(n);
    {   /* The counts' reasons are for the report, which counts again. */
        const std::vector<Count> counts = count_contacts(edi, m_rules, dates);
        for (size_t i = 0; i < n; i++) {
            log.fates[i].verdict = counts[i].verdict;
            if (counts[i].first != kNoContact)
                log.fates[i].line = static_cast<uint32_t>(counts[i].first);
        }
    }
    log.stations.resize(n);
    log.minutes.resize(n);
    log.by_station.resize(n);
    log.lines.resize(n);
    log.exchanges.resize(n);
    for (size_t i = 0; i < n; i++) {
        const EdiContact &contact = edi.contacts[i];
        /* The line runs from its first field to its line end. */
        const size_t start = static_cast<size_t>(contact.date.data() - text.data());
        const size_t end = std::min(text.find('\n', start), text.size());
        log.lines[i] = {static_cast<uint32_t>(start),
                        static_cast<uint16_t>(end - start - (end > start && text[end - 1] == '\r'))};
        const auto span = [&](std::string_view field) { /* a field the line lacks is empty */
            return field.data() ? FieldSpan{static_cast<uint16_t>(field.data() - contact.date.data()),
                                            static_cast<uint16_t>(field.size())}
                                : FieldSpan{0, 0};
        };
        log.exchanges[i] = {span(contact.sent_report), span(contact.sent_number),
                            span(contact.received_report), span(contact.received_number),
                            span(contact.locator)};
        log.stations[i] = intern(station_of(contact.call, m_buffer));
        const std::optional<int32_t> minute = contact_minute(contact.date, contact.time);
        log.minutes[i] = minute.value_or(kNoMinute);
        log.by_station[i] = {log.stations[i], static_cast<uint32_t>(i),
                             minute && inside_period(contact, m_rules, dates) ? *minute : kNoMinute};
    }

    log.edi.contacts.clear();
    log.edi.contacts.shrink_to_fit();

    const auto [slot, added] =
        m_logOf.emplace(band_key(log.band, log.station), static_cast<uint32_t>(m_logs.size()));
    if (added) {
        m_logs.push_back(std::move(log));
        return;
    }
    /* The later operand is the station's log; the earlier goes. */
    ContestLog &earlier = m_logs[slot->second];
    m_leftOut.push_back({earlier.file, 0,
                         refusal(N_("%s is a later log of %s on %s"),
                                 file, m_stationNames[log.station], kBands[log.band].name)});
    earlier = std::move(log);
}

uint32_t Contest::log_of(size_t band, uint32_t station) const
{
    return m_bandLogs[band].empty() ? kNoLog : m_bandLogs[band][station];
}

std::pair<const StationLine *, const StationLine *> Contest::lines_with(const ContestLog &log,
                                                                        uint32_t station) const
{
    const StationLine *const begin = log.by_station.data();
    const StationLine *const end = begin + log.by_station.size();
    const StationLine *first = std::lower_bound(
        begin, end, station, [](const StationLine &line, uint32_t s) { return line.station < s; });
    const StationLine *last = first;
    while (last != end && last->station == station)
        last++;
    return {first, last};
}

Contest::Nearest Contest::nearest_line(const ContestLog &log, uint32_t station,
                                      int32_t minute) const
{
    Nearest best{kNoLine, 0};
    const auto [first, last] = lines_with(log, station);
    for (const StationLine *p = first; p != last; ++p) { /* in line order */
        if (p->minute == kNoMinute)
            continue;
        const int64_t gap = std::abs(static_cast<int64_t>(p->minute) - minute);
        if (best.line == kNoLine || gap < best.gap)
            best = {p->contact, gap};
    }
    return best;
}

Verdict Contest::compare(const ContestLog &log, uint32_t contact, const ContestLog &other,
                         uint32_t line) const
{
    const Exchange &received = log.exchanges[contact], &sent = other.exchanges[line];
    if (!same_name(log.field(contact, received.locator), trim_blanks(other.edi.own_locator.value)))
        return Verdict::kBustedLocator;
    const std::string_view number = other.field(line, sent.sent_number);
    if (!number.empty()) {
        const std::string_view got = log.field(contact, received.received_number);
        const int64_t a = serial(got), b = serial(number);
        if (a >= 0 && b >= 0 ? a != b : !same_name(got, number))
            return Verdict::kBustedNumber;
    }
    /* 59, 599 and 59S are one report: its readability and strength. */
    const std::string_view report = other.field(line, sent.sent_report);
    if (!report.empty() &&
        !same_name(log.field(contact, received.received_report).substr(0, 2), report.substr(0, 2)))
        return Verdict::kBustedReport;
    return Verdict::kConfirmed;
}

uint32_t Contest::busted_call(const ContestLog &log, uint32_t called, int32_t minute,
                              uint32_t &line) const
{
    const std::string_view call = m_stationNames[called];
    uint32_t best = kNoLog;
    int64_t bestGap = 0;
    const auto consider = [&](uint32_t m) {
        const ContestLog &other = m_logs[m];
        if (other.station == called || other.station == log.station ||
            !one_edit_apart(m_stationNames[other.station], call))
            return;
        const auto [first, last] = lines_with(log, other.station);
        if (first != last) /* A worked M: no mistake for it */
            return;
        const Nearest found = nearest_line(other, log.station, minute);
        if (found.line != kNoLine && found.gap <= m_tolerance &&
            (best == kNoLog || found.gap < bestGap || (found.gap == bestGap && m < best))) {
            best = m;
            bestGap = found.gap;
            line = found.line;
        }
    };
    /* The stations one edit away give, with one character out, the call
     * itself (one added), the call with one out (one removed), or the call
     * with the same one out (changed) or a neighbour out (swapped). */
    std::string key(1, static_cast<char>('A' + log.band));
    const auto look_up = [&](std::string_view variant) {
        key.resize(1);
        key.append(variant);
        const auto found = m_nearCalls.find(key);
        if (found != m_nearCalls.end())
            for (uint32_t m : found->second)
                consider(m);
    };
    look_up(call);
    std::string variant;
    for (size_t i = 0; i < call.size(); i++) {
        variant.assign(call.substr(0, i)).append(call.substr(i + 1));
        look_up(variant);
    }
    return best;
}

Fate Contest::judge(uint32_t a, uint32_t contact) const
{
    const ContestLog &log = m_logs[a];
    Fate fate;
    const uint32_t called = log.stations[contact];
    const int32_t minute = log.minutes[contact];
    if (minute == kNoMinute) { /* no time is in no period */
        fate.verdict = Verdict::kOutside;
        return fate;
    }
    uint32_t c = log_of(log.band, called);
    if (c == a) /* a contact with itself is in no other log */
        c = kNoLog;
    if (c != kNoLog) {
        const ContestLog &other = m_logs[c];
        const Nearest line = nearest_line(other, log.station, minute);
        if (line.line != kNoLine) {
            fate.other = c;
            fate.line = line.line;
            fate.verdict = line.gap > m_tolerance ? Verdict::kTime
                                                  : compare(log, contact, other, line.line);
            return fate;
        }
    }
    uint32_t line = kNoLine;
    const uint32_t m = busted_call(log, called, minute, line);
    if (m != kNoLog) {
        fate.verdict = Verdict::kBustedCall;
        fate.other = m;
        fate.line = line;
        return fate;
    }
    if (c != kNoLog) {
        fate.verdict = Verdict::kNotInLog;
        fate.other = c;
        return fate;
    }
    fate.unique = m_bandWorked[log.band][called] <= 1;
    return fate;
}

void Contest::judge_and_score(uint32_t a)
{
    ContestLog &log = m_logs[a];
    LargeSquares squares;
    squares.add(log.own);
    int64_t points = 0;
    for (uint32_t i = 0; i < log.fates.size(); i++) {
        Fate &fate = log.fates[i];
        if (fate.verdict == Verdict::kUnverified) { /* it counts, by the log alone */
            fate = judge(a, i);
            /* Its locator is a valid one: the log alone saw to it. */
            const Result<ContestPlace> other = contest_place(log.field(i, log.exchanges[i].locator));
            if (verdict_counts(fate.verdict) && other) {
                fate.points = score_contact(m_rules, log.own, other.value).points;
                points += fate.points;
                squares.add(other.value);
            }
        }
        log.tally[static_cast<size_t>(fate.verdict)]++;
        log.unique += fate.unique;
    }
    log.score = log_score(m_rules, factor_of_band(m_rules, log.band), points, squares.count());
}

void Contest::check()
{
    /* The index: each log's lines by station, how many logs of a band have
     * a line with each station, and the calls one edit away. */
    for (uint32_t a = 0; a < m_logs.size(); a++) {
        ContestLog &log = m_logs[a];
        std::sort(log.by_station.begin(), log.by_station.end(),
                  [](const StationLine &x, const StationLine &y) {
                      return x.station != y.station ? x.station < y.station : x.contact < y.contact;
                  });
        std::vector<uint32_t> &worked = m_bandWorked[log.band];
        worked.resize(m_stationNames.size());
        for (size_t k = 0; k < log.by_station.size(); k++)
            if (k == 0 || log.by_station[k - 1].station != log.by_station[k].station)
                worked[log.by_station[k].station]++;
        std::vector<uint32_t> &logs = m_bandLogs[log.band];
        logs.resize(m_stationNames.size(), kNoLog);
        logs[log.station] = a;
        const std::string_view call = m_stationNames[log.station];
        std::string key(1, static_cast<char>('A' + log.band));
        key.append(call);
        m_nearCalls[key].push_back(a);
        for (size_t i = 0; i < call.size(); i++) {
            key.resize(1);
            key.append(call.substr(0, i)).append(call.substr(i + 1));
            std::vector<uint32_t> &logs = m_nearCalls[key];
            if (logs.empty() || logs.back() != a) /* "AAB" gives "AB" twice */
                logs.push_back(a);
        }
    }
    for (uint32_t a = 0; a < m_logs.size(); a++)
        judge_and_score(a);
    /* Ranks within each band: equal totals share one, the next skips. */
    const std::vector<uint32_t> order = ranked();
    size_t first = 0; /* where the band starts in order */
    for (size_t k = 0; k < order.size(); k++) {
        ContestLog &log = m_logs[order[k]];
        const ContestLog *previous = k > 0 ? &m_logs[order[k - 1]] : nullptr;
        if (!previous || previous->band != log.band)
            first = k;
        log.rank = previous && previous->band == log.band && previous->score.total == log.score.total
                       ? previous->rank
                       : static_cast<int64_t>(k - first + 1);
    }
}

std::vector<uint32_t> Contest::ranked() const
{
    std::vector<uint32_t> order(m_logs.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [this](uint32_t x, uint32_t y) {
        const ContestLog &a = m_logs[x], &b = m_logs[y];
        return a.band != b.band ? a.band < b.band : a.score.total > b.score.total;
    });
    return order;
}
