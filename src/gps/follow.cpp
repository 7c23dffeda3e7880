// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "follow.h"

#include <cerrno>
#include <charconv>
#include <cstring>

#include "locator.h"
#include "text.h"

namespace {

void append_two_digits(std::string &s, int n)
{
    s += static_cast<char>('0' + n / 10);
    s += static_cast<char>('0' + n % 10);
}

void append_time(std::string &s, const FixTime &t)
{
    if (!t.has_time) {
        s += '-';
        return;
    }
    if (t.has_date) {
        s += std::to_string(t.year);
        s += '-';
        append_two_digits(s, t.month);
        s += '-';
        append_two_digits(s, t.day);
        s += 'T';
    }
    append_two_digits(s, t.hour);
    s += ':';
    append_two_digits(s, t.minute);
    s += ':';
    append_two_digits(s, t.second);
    if (t.millisecond != 0) {
        const int nDigits[3] = {t.millisecond / 100, t.millisecond / 10 % 10, t.millisecond % 10};
        const int nLast = nDigits[2] != 0 ? 2 : nDigits[1] != 0 ? 1 : 0;
        s += '.';
        for (int i = 0; i <= nLast; i++)
            s += static_cast<char>('0' + nDigits[i]);
    }
    s += 'Z';
}

/* Degrees to six decimals, from the exact units: a millionth of a degree is
 * 3.6 * 10^9 units. What goes beyond the units cannot reach a half. */
void append_degrees(std::string &s, const Coordinate &c)
{
    constexpr int64_t kMicro = kUnitsPerDegree / 1000000;
    const int64_t n = (c.units + kMicro / 2) / kMicro;
    if (c.negative && n != 0)
        s += '-';
    s += std::to_string(n / 1000000);
    s += '.';
    const std::string decimals = std::to_string(n % 1000000);
    s.append(6 - decimals.size(), '0');
    s += decimals;
}

} // namespace

std::string fix_line(const Position &position, const FixTime &time, const Settings &settings)
{
    char szLocator[kMaxLocatorLength];
    encode_locator(position, settings.system, settings.precision, szLocator);
    std::string s(szLocator, static_cast<size_t>(settings.precision));
    s += ' ';
    append_time(s, time);
    s += ' ';
    append_degrees(s, position.latitude);
    s += ' ';
    append_degrees(s, position.longitude);
    s += '\n';
    return s;
}

bool Follower::fix(const Position &position, const FixTime &time)
{
    if (m_bLost) {
        m_messages.report({}, refusal(N_("the fix is back")));
        m_messages.flush(); /* as it happens, like the lines */
        m_bLost = false;
    }
    const std::string line = fix_line(position, time, m_settings);
    const size_t nLocator = static_cast<size_t>(m_settings.precision);
    /* The sentences of one fix (RMC, GGA...) give one line: with --every,
     * those of the same time (the same line when there is none); else
     * those of the same cell. */
    const std::string_view lineTime =
        std::string_view(line).substr(nLocator + 1, line.find(' ', nLocator + 1) - nLocator - 1);
    if (m_settings.every ? (time.has_time ? lineTime == m_lastTime : line == m_last)
                         : line.compare(0, nLocator, m_last, 0, nLocator) == 0)
        return true;
    m_last = line;
    m_lastTime = lineTime;
    /* Straight to the sink, unbuffered: a logger or a display down the pipe
     * sees each line as it happens. */
    if (m_out.write(line.data(), line.size()))
        return true;
    m_messages.report({}, refusal(N_("cannot write the output: %s"), strerror(errno)));
    return false;
}

void Follower::lost()
{
    if (!m_bLost) {
        m_messages.report({}, refusal(N_("the fix is lost")));
        m_messages.flush();
    }
    m_bLost = true;
}

namespace {

int milliseconds_of_day(const FixTime &t)
{
    return ((t.hour * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

/* Gives a sentence's fix, or its loss, to the follower: false when the line
 * could not be written. */
bool give(const NmeaSentence &s, Follower &follower)
{
    if (s.kind == NmeaSentence::kNoFix) {
        follower.lost();
        return true;
    }
    return follower.fix(s.position, s.time);
}

/* Dates t, a time without date, from the last date an RMC gave (dated):
 * its day, or the next when t is earlier in the day. */
void date_from(const FixTime &dated, FixTime &t)
{
    t.has_date = true;
    t.year = dated.year;
    t.month = dated.month;
    t.day = dated.day;
    if (milliseconds_of_day(t) >= milliseconds_of_day(dated))
        return;
    if (++t.day > days_in_month(t.year, t.month)) {
        t.day = 1;
        if (++t.month > 12) {
            t.month = 1;
            t.year++;
        }
    }
}

} // namespace

int follow_nmea(Source &in, Follower &follower, Messages &messages)
{
    LineReader reader(in);
    FixTime dated; /* the time of the last RMC, with its date */
    NmeaSentence waiting; /* a fix before any date, waiting for its RMC */
    bool bWaiting = false;
    for (;;) {
        std::string_view line;
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::kEnd || status == LineReader::kError) {
            const int error = errno; /* before the waiting fix is written */
            if (bWaiting && !give(waiting, follower))
                return 1;
            if (status == LineReader::kEnd)
                return 0;
            messages.report({}, refusal(N_("cannot read the input: %s"), strerror(error)));
            return 1;
        }
        line = trim_blanks(line);
        Reason why = check_text(line);
        Result<NmeaSentence> sentence;
        if (status == LineReader::kTooLong) {
            static const std::string kBound = std::to_string(kMaxLine);
            why = refusal(N_("the line is longer than %s bytes"), kBound);
        } else if (why.empty() && !line.empty()) {
            sentence = read_nmea(line);
            why = sentence.reason;
        }
        if (!why.empty()) {
            messages.report(why, N_("line %s"), reader.number());
            messages.flush();
            continue;
        }
        NmeaSentence &s = sentence.value;
        if (line.empty() || s.kind == NmeaSentence::kOther)
            continue;
        if (bWaiting) {
            bWaiting = false;
            if (s.time.has_date && s.time.has_time &&
                milliseconds_of_day(s.time) == milliseconds_of_day(waiting.time))
                date_from(s.time, waiting.time);
            if (!give(waiting, follower))
                return 1;
        }
        if (s.time.has_date)
            dated = s.time;
        else if (dated.has_date && s.time.has_time)
            date_from(dated, s.time);
        else if (s.time.has_time && s.kind == NmeaSentence::kFix) {
            waiting = s;
            bWaiting = true;
            continue;
        }
        if (!give(s, follower))
            return 1;
    }
}
