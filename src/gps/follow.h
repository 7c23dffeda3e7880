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
 * differs from the last printed (with --every, one line for each fix: the
 * first sentence of a time gives it, the others of that time are the same
 * fix), and a message when the fix is lost and when it comes back. */
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
    std::string m_lastTime; /* its time field, "-" when it had none */
    bool m_bLost = false;
};

/* Follows NMEA sentences from in until its end: 0, or 1 when reading or
 * writing failed. Other sentences are skipped; malformed ones are reported
 * with their line number and skipped, as a receiver's noise. Only RMC
 * carries the date: a fix without one takes the last RMC's, the next day's
 * when its time of day is earlier (midnight has passed); before any RMC it
 * waits for the next sentence, which dates it when it is the RMC of the
 * same time, and goes undated when not. */
int follow_nmea(Source &in, Follower &follower, Messages &messages);

/* Where gpsd listens: "HOST", "HOST:PORT", "[IPv6]:PORT" or a bare IPv6
 * address, the port a number from 1 to 65535 (default 2947); empty text is
 * localhost:2947. False for anything else. */
struct GpsdServer {
    std::string host = "localhost";
    std::string port = "2947";
};
bool parse_gpsd_server(std::string_view text, GpsdServer &server);

/* gpsd's time of a fix, seconds since 1970 and nanoseconds, to the
 * millisecond as a receiver's decimals are read: truncated (gpsd's
 * nanoseconds come from decimals read into a double, so half a microsecond
 * is allowed for the double's error), never into the next second. */
FixTime gpsd_fix_time(int64_t seconds, long nanoseconds);

/* Follows gpsd at server (as parse_gpsd_server reads it; the command line
 * has checked it) until it goes away: 1, with a message, then or when it
 * cannot be reached. */
int follow_gpsd(std::string_view server, Follower &follower, Messages &messages);

#endif
