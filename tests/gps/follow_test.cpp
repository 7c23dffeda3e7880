// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What follow prints for a stream of NMEA sentences: one row per stream
// (dates across midnight, one line per fix, sentences cut short), and gpsd's
// times to the millisecond.
#include <gtest/gtest.h>

#include <string>

#include "cli/memory_io.h"
#include "follow.h"

namespace {

struct Followed {
    int status;
    std::string out, err;
    bool operator==(const Followed &o) const
    {
        return status == o.status && out == o.out && err == o.err;
    }
};

std::ostream &operator<<(std::ostream &os, const Followed &f)
{
    return os << f.status << "\n[" << f.out << "]\n[" << f.err << "]";
}

Followed follow(const std::string &sentences, bool every)
{
    Settings settings;
    settings.precision = 6;
    settings.every = every;
    StringSource in(sentences);
    StringSink out, err;
    int status;
    {
        Messages messages(err, "tolka-cli");
        Follower follower(settings, out, messages);
        status = follow_nmea(in, follower, messages);
    }
    return {status, out.text, err.text};
}

// One position for every fix, so that a line tells only its time.
constexpr char kFix[] = "4848.6300,N,00217.2000,E";
std::string gga(const char *time)
{
    return std::string("$GPGGA,") + time + "," + kFix + ",1,08,0.9,35.0,M,47.0,M,,\n";
}
std::string rmc(const char *time, const char *date)
{
    return std::string("$GPRMC,") + time + ",A," + kFix + ",0.0,0.0," + date + ",,,A\n";
}
std::string line(const char *time)
{
    return std::string("JN18DT ") + time + " 48.810500 2.286667\n";
}

TEST(GpsFollow, EachFixIsDatedFromItsOwnDayAndPrintedOnce)
{
    const std::string kMidnight =
        gga("235959") + rmc("235959", "311226") + gga("000000") + rmc("000000", "010127");
    static const struct {
        std::string sentences;
        bool every;
        Followed expected;
    } kRows[] = {
        // GGA before RMC across the new year: the GGA at midnight is of the
        // new day, and each second is one line.
        {kMidnight, true,
         {0, line("2026-12-31T23:59:59Z") + line("2027-01-01T00:00:00Z"), ""}},
        {kMidnight, false, {0, line("2026-12-31T23:59:59Z"), ""}},
        // RMC first, then the GGA of the same second and of the next.
        {rmc("101500", "071226") + gga("101500") + gga("101501"), true,
         {0, line("2026-12-07T10:15:00Z") + line("2026-12-07T10:15:01Z"), ""}},
        // Midnight of a leap day, passed by GLL sentences alone.
        {rmc("235959.5", "280228") + "$GPGLL,4848.6300,N,00217.2000,E,000000.5,A,A\n", true,
         {0, line("2028-02-28T23:59:59.5Z") + line("2028-02-29T00:00:00.5Z"), ""}},
        // No RMC at all: the time alone, one line a second.
        {gga("101500") + gga("101500") + gga("101501"), true,
         {0, line("10:15:00Z") + line("10:15:01Z"), ""}},
        // A first GGA whose RMC never comes goes undated; the end of the
        // input gives the one still waiting.
        {gga("101500") + rmc("101501", "071226") + gga("101502"), true,
         {0, line("10:15:00Z") + line("2026-12-07T10:15:01Z") + line("2026-12-07T10:15:02Z"),
          ""}},
        // An RMC cut short before its date is refused, and does not date
        // the fix after it.
        {"$GPRMC,000001.00,A,3352.128000,S,15112.558000,E\n" + gga("000002"), true,
         {0, line("00:00:02Z"),
          "tolka-cli: line 1: $GPRMC,000001.00,A,3352.128000,S,15112.558000,E has too few "
          "fields\n"}},
        // The fix lost between two fixes: the waiting fix goes out first.
        {gga("101500") + "$GPGGA,101501,,,,,0,00,99.9,,,,,,\n" + rmc("101502", "071226"), true,
         {0, line("10:15:00Z") + line("2026-12-07T10:15:02Z"),
          "tolka-cli: the fix is lost\ntolka-cli: the fix is back\n"}},
    };
    for (const auto &row : kRows)
        EXPECT_EQ(follow(row.sentences, row.every), row.expected) << row.sentences;
}

TEST(GpsFollow, GpsdTimesKeepTheirSecond)
{
    static const struct {
        int64_t seconds;
        long nanoseconds;
        const char *expected;
    } kRows[] = {
        {1796601600, 999600000, "2026-12-07 00:00:00.999"}, // never the next second
        {1796601599, 999999999, "2026-12-06 23:59:59.999"}, // nor the next day
        {1796601600, 249999999, "2026-12-07 00:00:00.250"}, // .25 read into a double
        {1796601600, 249600000, "2026-12-07 00:00:00.249"}, // as NMEA's decimals are cut
        {1796601600, 0, "2026-12-07 00:00:00.000"},
    };
    for (const auto &row : kRows) {
        const FixTime t = gpsd_fix_time(row.seconds, row.nanoseconds);
        char text[40];
        snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day,
                 t.hour, t.minute, t.second, t.millisecond);
        EXPECT_EQ(std::string(text), row.expected) << row.nanoseconds;
    }
}

} // namespace
