// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* tolka-cli follow: the locator of a moving station, from gpsd or from NMEA
 * sentences on standard input, one line each time its cell changes. */
#ifndef TOLKA_GPS_FOLLOW_H
#define TOLKA_GPS_FOLLOW_H

#include <string>
#include <string_view>

#include "lines.h"
#include "nmea.h"
#include "settings.h"

/* The cells follow prints when --precision is not given: squares of six
 * characters, what contests exchange. */
constexpr int kFollowPrecision = 6;

/* Writes "JN18DT 2026-12-07T10:15:02Z 48.810560 2.287220" with its line end:
 * the locator, the time of the fix (ISO 8601, UTC, milliseconds when not
 * zero; the time alone when the date is unknown, "-" when the time is) and
 * the position, rounded to six decimals of a degree (half away from zero). */
std::string fix_line(const Position &position, const FixTime &time, const Settings &settings);

/* Decides what a stream of fixes prints: the line of a fix whose cell
 * differs from the last printed (with --every, every fix's line that differs
 * from the last), and a message
 * when the fix is lost and when it comes back. */
class Follower {
public:
    Follower(const Settings &settings, Sink &out, Messages &messages)
        : m_settings(settings), m_out(out), m_messages(messages)
    {
    }
    /* False when the line could not be written. */
    bool fix(const Position &position, const FixTime &time);
    void lost();

private:
    const Settings &m_settings;
    Sink &m_out;
    Messages &m_messages;
    std::string m_last; /* the line last printed */
    bool m_bLost = false;
};

/* Follows NMEA sentences from in until its end: 0, or 1 when reading or
 * writing failed. Other sentences are skipped; malformed ones are reported
 * with their line number and skipped, as a receiver's noise. */
int follow_nmea(Source &in, Follower &follower, Messages &messages);

/* Follows gpsd at "HOST", "HOST:PORT" or "[IPv6]:PORT" (default
 * localhost:2947) until it goes away: 1, with a message, then or when it
 * cannot be reached. */
int follow_gpsd(std::string_view server, Follower &follower, Messages &messages);

#endif
