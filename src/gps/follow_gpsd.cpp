// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* follow's gpsd side: libgps, gpsd's own client library, speaks its
 * protocol. */
#include <gps.h>

#include <cerrno>
#include <cmath>
#include <ctime>
#include <string>

#include "follow.h"

namespace {

/* gpsd's time of the fix, to the millisecond (rounded: gpsd's nanoseconds
 * come from decimals read into a double). */
FixTime fix_time(const gps_data_t &data)
{
    FixTime t;
    if (!(data.set & TIME_SET) || data.fix.time.tv_sec <= 0)
        return t;
    time_t nSeconds = data.fix.time.tv_sec;
    long nMilliseconds = (data.fix.time.tv_nsec + 500000) / 1000000;
    if (nMilliseconds == 1000) {
        nSeconds++;
        nMilliseconds = 0;
    }
    struct tm utc;
    if (!gmtime_r(&nSeconds, &utc))
        return t;
    t.has_time = t.has_date = true;
    t.year = utc.tm_year + 1900;
    t.month = utc.tm_mon + 1;
    t.day = utc.tm_mday;
    t.hour = utc.tm_hour;
    t.minute = utc.tm_min;
    t.second = utc.tm_sec;
    t.millisecond = static_cast<int>(nMilliseconds);
    return t;
}

/* Splits "HOST", "HOST:PORT" or "[HOST]:PORT"; a bare IPv6 address (more
 * than one colon) is a host. */
void split_server(std::string_view server, std::string &host, std::string &port)
{
    host = "localhost";
    port = DEFAULT_GPSD_PORT;
    if (server.empty())
        return;
    size_t nColon = server.rfind(':');
    if (server[0] == '[') {
        const size_t nClose = server.find(']');
        host = std::string(server.substr(1, nClose - 1));
        if (nClose != std::string_view::npos && nClose + 1 < server.size() && server[nClose + 1] == ':')
            port = std::string(server.substr(nClose + 2));
        return;
    }
    if (nColon == std::string_view::npos || server.find(':') != nColon) {
        host = std::string(server);
        return;
    }
    host = std::string(server.substr(0, nColon));
    port = std::string(server.substr(nColon + 1));
}

} // namespace

int follow_gpsd(std::string_view server, Follower &follower, Messages &messages)
{
    std::string host, port;
    split_server(server, host, port);
    const std::string where = host + ":" + port;
    gps_data_t data{};
    if (gps_open(host.c_str(), port.c_str(), &data) != 0) {
        messages.report({}, refusal(N_("cannot reach gpsd at %s: %s"), where, gps_errstr(errno)));
        return 1;
    }
    gps_stream(&data, WATCH_ENABLE | WATCH_JSON, nullptr);
    for (;;) {
        if (!gps_waiting(&data, 5000000))
            continue; /* nothing yet: a receiver may take long to speak */
        data.set = 0; /* the flags then say what this one report holds */
        if (gps_read(&data, nullptr, 0) < 0) {
            messages.report({}, refusal(N_("gpsd at %s went away"), where));
            break;
        }
        if (!(data.set & MODE_SET))
            continue;
        if (data.fix.mode < MODE_2D)
            follower.lost();
        else if ((data.set & LATLON_SET) && std::isfinite(data.fix.latitude)) {
            Position p;
            if (!exact_coordinate(data.fix.latitude, 90, p.latitude) ||
                !exact_coordinate(data.fix.longitude, 180, p.longitude))
                continue; /* gpsd gives nothing out of range; never encode it */
            if (!follower.fix(p, fix_time(data)))
                break;
        }
    }
    gps_close(&data);
    return 1;
}
