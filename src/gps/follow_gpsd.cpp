// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* follow's gpsd side: libgps, gpsd's own client library, speaks its
 * protocol. */
#include <gps.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <string>

#include "follow.h"

namespace {

/* gpsd's time of the fix, from its report. */
FixTime fix_time(const gps_data_t &data)
{
    if (!(data.set & TIME_SET) || data.fix.time.tv_sec <= 0)
        return {};
    return gpsd_fix_time(data.fix.time.tv_sec, data.fix.time.tv_nsec);
}

/* Why gps_open failed, in our words: libgps's own are English only. Its
 * errno is one of netlib's codes (negative) or the system's. */
Reason unreachable(const std::string &where, int error)
{
    switch (error) {
    case NL_NOHOST:
        return refusal(N_("cannot reach gpsd at %s: no host of that name"), where);
    case NL_NOCONNECT:
        return refusal(N_("cannot reach gpsd at %s: nothing accepts connections there"), where);
    case NL_NOSERVICE:
    case NL_NOPROTO:
    case NL_NOSOCK:
    case NL_NOSOCKOPT:
        return refusal(N_("cannot reach gpsd at %s: the system gave no connection"), where);
    default:
        return refusal(N_("cannot reach gpsd at %s: %s"), where, strerror(error));
    }
}

} // namespace

bool parse_gpsd_server(std::string_view text, GpsdServer &server)
{
    server = GpsdServer();
    if (text.empty())
        return true;
    std::string_view host = text, port;
    if (text[0] == '[') {
        const size_t nClose = text.find(']');
        if (nClose == std::string_view::npos || nClose == 1)
            return false;
        host = text.substr(1, nClose - 1);
        if (nClose + 1 < text.size()) {
            if (text[nClose + 1] != ':')
                return false;
            port = text.substr(nClose + 2);
            if (port.empty())
                return false;
        }
    } else if (const size_t nColon = text.find(':');
               nColon != std::string_view::npos && text.find(':', nColon + 1) == std::string_view::npos) {
        /* One colon: HOST:PORT; more are a bare IPv6 address. */
        host = text.substr(0, nColon);
        port = text.substr(nColon + 1);
        if (port.empty())
            return false;
    }
    if (host.empty() || host.find_first_of("[]") != std::string_view::npos)
        return false;
    if (!port.empty()) {
        int n = 0;
        for (char c : port) {
            if (c < '0' || c > '9' || n > 65535)
                return false;
            n = n * 10 + (c - '0');
        }
        if (n < 1 || n > 65535)
            return false;
        server.port = std::string(port);
    }
    server.host = std::string(host);
    return true;
}

FixTime gpsd_fix_time(int64_t seconds, long nanoseconds)
{
    FixTime t;
    const time_t nSeconds = static_cast<time_t>(seconds);
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
    t.millisecond = static_cast<int>(std::min((nanoseconds + 500) / 1000000, 999L));
    return t;
}

int follow_gpsd(std::string_view server, Follower &follower, Messages &messages)
{
    GpsdServer at;
    parse_gpsd_server(server, at);
    const std::string where =
        (at.host.find(':') != std::string::npos ? "[" + at.host + "]" : at.host) + ":" + at.port;
    gps_data_t data{};
    if (gps_open(at.host.c_str(), at.port.c_str(), &data) != 0) {
        messages.report({}, unreachable(where, errno));
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
