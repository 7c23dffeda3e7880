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
        {T, false, false, "JN18DTKK78", "48.81041666666667 2.287152777777778"},
        {T, false, false, "jn18", "48 2"},
        {T, true, false, "jn18", "48.5 3"},
        {T, true, false, "JJ", "5 10"},
        {T, false, false, "FN30ASDE59", "40.75850694444444 -73.98784722222221"},
        {T, false, true, "JN18DTKK78", "48 48 37.50 N 2 17 13.75 E"},
        // A corner whose double falls a hair short of the whole minute: the
        // seconds are rounded before the split, never 60.00 nor 59.99.
        {T, false, true, "AJ05BAAA00", "5 0 0.00 N 179 55 0.00 W"},
        {T, false, true, "RR99XXXX99", "89 59 59.38 N 179 59 58.75 E"},
        {T, false, true, "II89XXXX99", "0 0 0.63 S 2 0 1.25 W"},
        {T, true, true, "AA00AAAA00", "89 59 59.69 S 179 59 59.38 W"},
        {T, true, true, "JN18", "48 30 0.00 N 3 0 0.00 E"},
        {M, false, true, "JN18DT72AX", "48 48 14.38 N 2 18 30.00 E"},
        {M, true, false, "JN18DT72", "48.80208333333333 2.3125"},
        {M, false, false, "JN18DT72", "48.8 2.308333333333333"},
        {T, false, false, "JN18DT72", "refused: character 7 of JN18DT72 must be a letter A-X, not 7"},
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

// Encoding the printed centre of the locator at its own length gives it
// back. Straight calls, no line machinery: it runs for millions of cells.
bool round_trips(std::string_view locator, LocatorSystem system)
{
    const Result<Cell> cell = parse_locator(locator, system);
    char szCentre[2 * kNumberRoom + 1];
    size_t n = format_degrees(cell.value.centre_latitude(), szCentre);
    szCentre[n++] = ' ';
    n += format_degrees(cell.value.centre_longitude(), szCentre + n);
    const Result<Position> centre = parse_position(std::string_view(szCentre, n));
    char szBack[kMaxLocatorLength];
    if (!cell || !centre)
        return false;
    encode_locator(centre.value, system, static_cast<int>(locator.size()), szBack);
    return locator == std::string_view(szBack, locator.size());
}

TEST(CliRoundTrip, EveryCellOfTwoToSixCharactersComesBackFromItsCentre)
{
    char sz[kMaxLocatorLength];
    for (LocatorSystem system : {LocatorSystem::Tolka, LocatorSystem::Maidenhead})
        for (int nLength : {2, 4, 6}) {
            const int64_t nCells = nLength == 2 ? 18 : nLength == 4 ? 180 : 4320;
            const int64_t nWeight = 1036800 / nCells;
            int64_t nFailed = 0;
            for (int64_t lo = 0; lo < nCells; lo++)
                for (int64_t la = 0; la < nCells; la++) {
                    write_locator(lo * nWeight, la * nWeight, system, nLength, sz);
                    if (!round_trips(std::string_view(sz, nLength), system) && nFailed++ < 5)
                        ADD_FAILURE() << std::string(sz, nLength);
                }
            EXPECT_EQ(nFailed, 0) << nLength << " characters";
        }
}

TEST(CliRoundTrip, SampledCellsOfEightAndTenCharactersComeBackFromTheirCentre)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int64_t> index(0, 1036799);
    char sz[kMaxLocatorLength];
    for (LocatorSystem system : {LocatorSystem::Tolka, LocatorSystem::Maidenhead})
        for (int nLength : {8, 10})
            for (int i = 0; i < 200000; i++) {
                write_locator(index(random), index(random), system, nLength, sz);
                ASSERT_TRUE(round_trips(std::string_view(sz, nLength), system))
                    << std::string(sz, nLength);
            }
    // The last cells, whose centres lie nearest the grid's far edges.
    EXPECT_TRUE(round_trips("RR99XXXX99", LocatorSystem::Tolka));
    EXPECT_TRUE(round_trips("RR99XX99XX", LocatorSystem::Maidenhead));
    // The centre in degrees, minutes and seconds reads back too.
    for (std::string locator : {"AA00AAAA00", "RR99XXXX99", "JN18DT", "II89XXXX99"}) {
        const Settings settings =
            settings_of(LocatorSystem::Tolka, true, true, static_cast<int>(locator.size()));
        EXPECT_EQ(converted(encode_line, settings, converted(decode_line, settings, locator)),
                  locator);
    }
}

} // namespace
