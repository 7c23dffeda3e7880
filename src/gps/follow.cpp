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
    /* The sentences of one fix (RMC, GGA...) give one line: the same time
     * and position make the same line. */
    if (m_settings.every ? line == m_last
                         : line.compare(0, static_cast<size_t>(m_settings.precision), m_last, 0,
                                        static_cast<size_t>(m_settings.precision)) == 0)
        return true;
    m_last = line;
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

int follow_nmea(Source &in, Follower &follower, Messages &messages)
{
    LineReader reader(in);
    FixTime date; /* the last date an RMC gave, for the sentences without one */
    for (;;) {
        std::string_view line;
        const LineReader::Status status = reader.next(line);
        if (status == LineReader::kEnd)
            return 0;
        if (status == LineReader::kError) {
            messages.report({}, refusal(N_("cannot read the input: %s"), strerror(errno)));
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
            std::string where;
            const std::string number = std::to_string(reader.number());
            const std::string_view arg = number;
            append_substituted(where, translate(N_("line %s")), &arg, 1);
            messages.report(where, why);
            messages.flush();
            continue;
        }
        NmeaSentence &s = sentence.value;
        if (s.time.has_date)
            date = s.time;
        else if (date.has_date) {
            s.time.has_date = true;
            s.time.year = date.year;
            s.time.month = date.month;
            s.time.day = date.day;
        }
        if (s.kind == NmeaSentence::kNoFix)
            follower.lost();
        else if (s.kind == NmeaSentence::kFix && !follower.fix(s.position, s.time))
            return 1;
    }
}
