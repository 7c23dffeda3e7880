// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tolka-cli's conversions as lines: the decoded output, round trips through
// the centre of every cell, the line reader and its error path, and the
// command line read into an invocation and run.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cli/commands.h"
#include "cli/format.h"
#include "memory_io.h"

namespace {

// What a command's line function writes for one line, or "refused: ...".
std::string converted(LineFunction convert, const Settings &settings, const std::string &line)
{
    StringSink sink;
    Reason why;
    {
        OutputBuffer out(sink);
        if (!convert(line, settings, out, why)) {
            std::string text = "refused: ";
            append_substituted(text, why.format, why.args, 3);
            return text;
        }
        out.flush();
    }
    return sink.text;
}

Settings settings_of(LocatorSystem system, bool bCentre = false, bool bDms = false,
                     int nPrecision = 10)
{
    Settings settings;
    settings.system = system;
    settings.layout = system;
    settings.centre = bCentre;
    settings.dms = bDms;
    settings.precision = nPrecision;
    return settings;
}

TEST(CliDecode, PrintsCornerOrCentreInDegreesOrDms)
{
    const LocatorSystem T = LocatorSystem::Tolka, M = LocatorSystem::Maidenhead;
    static const struct {
        LocatorSystem system;
        bool bCentre, bDms;
        const char *szLocator, *szExpected;
    } kRows[] = {
        // Rounded up, north and east, to 10^-12 degree at most: a corner
        // stays inside its cell, as a hair south or west it would not.
        {T, false, false, "JN18DTKK78", "48.810416666667 2.287152777778"},
        {T, false, false, "jn18", "48 2"},
        {T, true, false, "jn18", "48.5 3"},
        {T, true, false, "JJ", "5 10"},
        {T, false, false, "FN30ASDE59", "40.758506944445 -73.987847222222"},
        {T, false, false, "AA00AAAA00", "-90 -180"},
        // The smallest centres: plain decimals, never an exponent.
        {T, true, false, "JJ00AAAA00", "0.000086805556 0.000173611112"},
        {T, true, false, "II89XXXX99", "-0.000086805555 -2.000173611111"},
        {T, false, true, "JN18DTKK78", "48 48 37.50 N 2 17 13.75 E"},
        // A corner whose double falls a hair short of the whole minute: the
        // seconds are rounded before the split, never 60.00 nor 59.99.
        {T, false, true, "AJ05BAAA00", "5 0 0.00 N 179 55 0.00 W"},
        {T, false, true, "RR99XXXX99", "89 59 59.38 N 179 59 58.75 E"},
        {T, false, true, "II89XXXX99", "0 0 0.62 S 2 0 1.25 W"}, // -0.625": up, north
        // A centre has room all round: to the nearest hundredth, a half
        // away from zero, in every hemisphere. JN18DT00AA's centre is
        // 48 47 30.3125 N 2 15 0.625 E; II89XXXX99's 0 0 0.3125 S 2 0 0.625 W,
        // AA00AAAA00's 89 59 59.6875 S 179 59 59.375 W.
        {M, true, true, "JN18DT00AA", "48 47 30.31 N 2 15 0.63 E"},
        {T, true, true, "II89XXXX99", "0 0 0.31 S 2 0 0.63 W"},
        {T, true, true, "AA00AAAA00", "89 59 59.69 S 179 59 59.38 W"},
        {T, true, true, "JN18", "48 30 0.00 N 3 0 0.00 E"},
        {M, false, true, "JN18DT72AX", "48 48 14.38 N 2 18 30.00 E"},
        {M, true, false, "JN18DT72", "48.802083333334 2.3125"},
        {M, false, false, "JN18DT72", "48.8 2.308333333334"},
        {T, false, false, "JN18DT72", "refused: character 7 of JN18DT72 must be a letter A-X in the extended layout, not 7"},
    };
    for (const auto &row : kRows)
        EXPECT_EQ(converted(decode_line, settings_of(row.system, row.bCentre, row.bDms),
                            row.szLocator),
                  row.szExpected)
            << row.szLocator;
}

// Writes the locator with these finest-cell indices, nLength characters, as
// the system writes it: built here digit by digit, not by the encoder.
void write_locator(int64_t nLo, int64_t nLa, LocatorSystem system, int nLength, char *szOut)
{
    static const int kTolka[5] = {18, 10, 24, 24, 10}, kMaidenhead[5] = {18, 10, 24, 10, 24};
    const int *cells = system == LocatorSystem::Tolka ? kTolka : kMaidenhead;
    int64_t nWeight = 1036800;
    for (int i = 0; i < nLength / 2; i++) {
        nWeight /= cells[i];
        const char cFirst = cells[i] == 10 ? '0' : 'A';
        szOut[2 * i] = static_cast<char>(cFirst + nLo / nWeight % cells[i]);
        szOut[2 * i + 1] = static_cast<char>(cFirst + nLa / nWeight % cells[i]);
    }
}

// What decode prints for the locator, encoded again at its length, gives
// the locator back. Straight calls, no line machinery: it runs for many
// cells in four ways.
bool round_trips(std::string_view locator, const Settings &settings)
{
    StringSink sink;
    Reason why;
    {
        OutputBuffer out(sink);
        if (!decode_line(locator, settings, out, why))
            return false;
        out.flush();
    }
    char szBack[kMaxLocatorLength];
    const Result<Position> printed = parse_position(sink.text);
    if (!printed)
        return false;
    encode_locator(printed.value, settings.system, static_cast<int>(locator.size()), szBack);
    return locator == std::string_view(szBack, locator.size());
}

TEST(CliRoundTrip, WhatDecodePrintsEncodesBackToTheSameCell)
{
    // Every cell of 2 and 4 characters, a seeded sample of longer ones, and
    // the cells whose corners a hair off would leave them; corner or
    // centre, decimal or DMS, both systems.
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int64_t> index(0, 1036799);
    char sz[kMaxLocatorLength];
    for (LocatorSystem system : {LocatorSystem::Tolka, LocatorSystem::Maidenhead})
        for (int nWay = 0; nWay < 4; nWay++) {
            const Settings settings = settings_of(system, nWay & 1, nWay & 2);
            int64_t nFailed = 0;
            const auto check = [&](std::string_view locator) {
                if (!round_trips(locator, settings) && nFailed++ < 5)
                    ADD_FAILURE() << locator << (settings.centre ? " centre" : " corner")
                                  << (settings.dms ? " dms" : "");
            };
            for (int nLength : {2, 4}) {
                const int64_t nCells = nLength == 2 ? 18 : 180, nWeight = 1036800 / nCells;
                for (int64_t lo = 0; lo < nCells; lo++)
                    for (int64_t la = 0; la < nCells; la++) {
                        write_locator(lo * nWeight, la * nWeight, system, nLength, sz);
                        check(std::string_view(sz, nLength));
                    }
            }
            for (int nLength : {6, 8, 10})
                for (int i = 0; i < 20000; i++) {
                    write_locator(index(random), index(random), system, nLength, sz);
                    check(std::string_view(sz, nLength));
                }
            for (const char *szHard : {"JN18DT72AX", "II89XXXX99", "RR99XXXX99", "RR99XX99XX",
                                       "AA00AAAA00", "II89XX99XX", "JJ00AAAA00"})
                if (parse_locator(szHard, system))
                    check(szHard);
            EXPECT_EQ(nFailed, 0);
        }
}

TEST(CliConvert, EitherLayoutIsToldByCharacterSevenAndEightCharactersHaveNoEquivalent)
{
    const LocatorSystem T = LocatorSystem::Tolka, M = LocatorSystem::Maidenhead;
    static const struct {
        LocatorSystem to;
        const char *szLocator, *szExpected;
    } kRows[] = {
        {M, "jn18dtkk78", "JN18DT44LM"},
        {T, "JN18DT44LM", "JN18DTKK78"},
        {M, "JN18DT44LM", "JN18DT44LM"},
        {T, "RR99XX99XX", "RR99XXXX99"},
        {M, "jn18dt", "JN18DT"},
        {M, "JN18DT72", "JN18DT72"},
        {M, "JN18DTKK",
         "refused: JN18DTKK has no Maidenhead equivalent: at 8 characters the two layouts name "
         "different cells"},
        {T, "JN18DT72",
         "refused: JN18DT72 has no extended equivalent: at 8 characters the two layouts name "
         "different cells"},
        {M, "JN18DT#X",
         "refused: character 7 of JN18DT#X must be a letter A-X (extended layout) or a digit 0-9 "
         "(Maidenhead layout), not #"},
        {M, "JN18DT7K",
         "refused: character 8 of JN18DT7K must be a digit 0-9 in the Maidenhead layout, not K"},
    };
    Settings settings;
    for (const auto &row : kRows) {
        settings.convert_to = row.to;
        EXPECT_EQ(converted(convert_line, settings, row.szLocator), row.szExpected)
            << row.szLocator;
    }
    // decode and distance, with neither option, read both layouts.
    EXPECT_EQ(converted(decode_line, Settings(), "JN18DT72"), "48.8 2.308333333334");
    EXPECT_EQ(converted(decode_line, Settings(), "JN18DTKK78"), "48.810416666667 2.287152777778");
    EXPECT_EQ(converted(distance_line, Settings(), "JN18DT44LM JN18DTKK78"),
              "0.000 180.00 40007.863 0.00");
}

TEST(CliConvert, SampledTenCharacterCellsConvertBothWaysExactly)
{
    std::mt19937_64 random(16);
    std::uniform_int_distribution<int64_t> index(0, 1036799);
    char szTolka[kMaxLocatorLength], szMaidenhead[kMaxLocatorLength];
    Settings settings;
    for (int i = 0; i < 20000; i++) {
        const int64_t nLo = index(random), nLa = index(random);
        write_locator(nLo, nLa, LocatorSystem::Tolka, 10, szTolka);
        write_locator(nLo, nLa, LocatorSystem::Maidenhead, 10, szMaidenhead);
        const std::string tolka(szTolka, 10), maidenhead(szMaidenhead, 10);
        settings.convert_to = LocatorSystem::Maidenhead;
        ASSERT_EQ(converted(convert_line, settings, tolka), maidenhead);
        settings.convert_to = LocatorSystem::Tolka;
        ASSERT_EQ(converted(convert_line, settings, maidenhead), tolka);
    }
}

TEST(CliDecode, GeojsonGivesTheCellCounterClockwiseLongitudeFirst)
{
    Settings settings;
    settings.geojson = true;
    // IF35AA: 5' of longitude by 2.5' of latitude from 14 W 35 S; the sizes
    // checked by hand from the radii of the parallel and the meridian.
    EXPECT_EQ(converted(decode_line, settings, "if35aa"),
              "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[["
              "[-14,-35],[-13.916666666666666,-35],[-13.916666666666666,-34.958333333333336],"
              "[-14,-34.958333333333336],[-14,-35]]]},\"properties\":{\"locator\":\"IF35AA\","
              "\"layout\":\"extended\",\"centre_lon\":-13.958333333333334,"
              "\"centre_lat\":-34.979166666666664,\"width_m\":7609.275,\"height_m\":4622.508}}");
}

TEST(CliDecode, GeojsonNamesTheLayoutTheLocatorWasReadIn)
{
    static const struct {
        std::optional<LocatorSystem> chosen;
        const char *locator, *layout;
    } kRows[] = {
        {std::nullopt, "JN18DT44LM", "\"layout\":\"maidenhead\""}, // told by character 7
        {std::nullopt, "JN18DT44", "\"layout\":\"maidenhead\""},
        {std::nullopt, "JN18DTKK78", "\"layout\":\"extended\""},
        {std::nullopt, "JN18DT", "\"layout\":\"extended\""},
        {LocatorSystem::Maidenhead, "JN18DT", "\"layout\":\"maidenhead\""},
        {LocatorSystem::Tolka, "JN18DTKK", "\"layout\":\"extended\""},
    };
    for (const auto &row : kRows) {
        Settings settings;
        settings.geojson = true;
        settings.layout = row.chosen;
        if (row.chosen)
            settings.system = *row.chosen;
        EXPECT_NE(converted(decode_line, settings, row.locator).find(row.layout), std::string::npos)
            << row.locator;
    }
}

} // namespace
