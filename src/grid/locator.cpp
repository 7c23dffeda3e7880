// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "locator.h"

#include "qra.h"
#include "text.h"

namespace {

/* One level of a system: the character of index 0 ('A' or '0') and the
 * cells per parent cell, the same on both axes. */
struct Level {
    char cFirst;
    int32_t nCells;
    int32_t nWeight; /* finest cells in one cell of this level */
};

constexpr int kLevels = kMaxLocatorLength / 2;
constexpr Level kTolka[kLevels] = {
    {'A', 18, 10 * 24 * 24 * 10}, {'0', 10, 24 * 24 * 10}, {'A', 24, 24 * 10}, {'A', 24, 10},
    {'0', 10, 1}};
constexpr Level kMaidenhead[kLevels] = {
    {'A', 18, 10 * 24 * 10 * 24}, {'0', 10, 24 * 10 * 24}, {'A', 24, 10 * 24}, {'0', 10, 24},
    {'A', 24, 1}};

const Level *levels(LocatorSystem system)
{
    return system == LocatorSystem::Tolka ? kTolka : kMaidenhead;
}

/* An axis in position units: half its range and its finest cell. */
struct Axis {
    int64_t nHalf;
    int64_t nFinest;
};
const Axis kLatitude = {90 * kUnitsPerDegree, kUnitsPerSecond * 625 / 1000};
const Axis kLongitude = {180 * kUnitsPerDegree, kUnitsPerSecond * 1250 / 1000};

/* The finest cell holding c, counted from the west or south edge of the
 * grid, by integer division of the exact offset. */
int32_t finest_index(const Coordinate &c, const Axis &axis)
{
    /* A negative coordinate that goes a fraction of a unit beyond its units
     * lies that fraction short of half - units: exactly on an edge it
     * belongs to the cell below it, just as half - units - 1 does. */
    int64_t nOffset =
        c.negative ? axis.nHalf - c.units - (c.beyond ? 1 : 0) : axis.nHalf + c.units;
    /* The far edge of the grid (90 N, 180 E) belongs to the last cell. */
    if (nOffset >= 2 * axis.nHalf)
        nOffset = 2 * axis.nHalf - 1;
    return static_cast<int32_t>(nOffset / axis.nFinest);
}

/* Writes the locator of the finest cells nLongitude, nLatitude, finest level
 * first: each level's index is the remainder, the quotient goes up. A
 * template over the table, unrolled, so that every division is by a
 * constant, and unsigned, which needs no correction for a sign: this runs
 * once per converted line. Each character goes straight to its place: a
 * copy through a buffer of its own would read bytes just stored one by one
 * as a word, which the processor cannot forward and waits for. */
template <const Level (&kTable)[kLevels]>
void write_characters(int32_t nLongitude, int32_t nLatitude, int nLength, char *szOut)
{
    uint32_t longitude = static_cast<uint32_t>(nLongitude);
    uint32_t latitude = static_cast<uint32_t>(nLatitude);
#pragma GCC unroll 5
    for (int i = kLevels - 1; i >= 0; i--) {
        const uint32_t cells = static_cast<uint32_t>(kTable[i].nCells);
        if (2 * i < nLength)
            szOut[2 * i] = static_cast<char>(kTable[i].cFirst + longitude % cells);
        if (2 * i + 1 < nLength)
            szOut[2 * i + 1] = static_cast<char>(kTable[i].cFirst + latitude % cells);
        longitude /= cells;
        latitude /= cells;
    }
}

void write_characters(int32_t nLongitude, int32_t nLatitude, LocatorSystem system, int nLength,
                      char *szOut)
{
    if (system == LocatorSystem::Tolka)
        write_characters<kTolka>(nLongitude, nLatitude, nLength, szOut);
    else
        write_characters<kMaidenhead>(nLongitude, nLatitude, nLength, szOut);
}

const char *const kOrdinals[kMaxLocatorLength] = {"1", "2", "3", "4", "5",
                                                  "6", "7", "8", "9", "10"};

/* The first six characters read alike in both layouts; past them, the
 * message names the layout that was expected. */
constexpr size_t kCommonLength = 6;

Reason wrong_character(std::string_view text, size_t pos, const Level &level, LocatorSystem system)
{
    const bool bDigit = level.cFirst == '0';
    const char *szFormat;
    if (pos < kCommonLength)
        szFormat = bDigit                ? N_("character %s of %s must be a digit 0-9, not %s")
                   : level.nCells == 18 ? N_("character %s of %s must be a letter A-R, not %s")
                                        : N_("character %s of %s must be a letter A-X, not %s");
    else if (system == LocatorSystem::Maidenhead)
        szFormat = bDigit ? N_("character %s of %s must be a digit 0-9 in the Maidenhead layout, not %s")
                          : N_("character %s of %s must be a letter A-X in the Maidenhead layout, not %s");
    else
        szFormat = bDigit ? N_("character %s of %s must be a digit 0-9 in the extended layout, not %s")
                          : N_("character %s of %s must be a letter A-X in the extended layout, not %s");
    return refusal(szFormat, kOrdinals[pos], text, character_at(text, pos));
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool is_letter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

LocatorSystem layout_of(std::string_view text)
{
    return text.size() > kCommonLength && is_digit(text[kCommonLength]) ? LocatorSystem::Maidenhead
                                                                         : LocatorSystem::Tolka;
}

Result<Cell> parse_locator(std::string_view text, std::optional<LocatorSystem> chosen)
{
    if (!chosen && text.size() > kCommonLength && text.size() <= kMaxLocatorLength &&
        !is_digit(text[kCommonLength]) && !is_letter(text[kCommonLength]))
        return refused<Cell>(refusal(N_("character 7 of %s must be a letter A-X (extended layout) "
                                        "or a digit 0-9 (Maidenhead layout), not %s"),
                                     text, character_at(text, kCommonLength)));
    const LocatorSystem system = chosen ? *chosen : layout_of(text);
    const Level *l = levels(system);
    int32_t nIndex[2] = {0, 0}; /* longitude, latitude */
    for (size_t i = 0; i < text.size() && i < kMaxLocatorLength; i++) {
        char c = text[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        const Level &level = l[i / 2];
        const int nDigit = c - level.cFirst;
        if (nDigit < 0 || nDigit >= level.nCells)
            return refused<Cell>(wrong_character(text, i, level, system));
        nIndex[i % 2] += nDigit * level.nWeight;
    }
    if (text.empty())
        return refused<Cell>(refusal(N_("a locator is expected")));
    if (text.size() > kMaxLocatorLength)
        return refused<Cell>(refusal(N_("%s is longer than 10 characters"), text));
    if (text.size() % 2 != 0)
        return refused<Cell>(refusal(N_("%s has an odd number of characters"), text));

    Cell cell;
    cell.length = static_cast<int>(text.size());
    cell.system = system;
    cell.longitude_index = nIndex[0];
    cell.latitude_index = nIndex[1];
    cell.span = l[cell.length / 2 - 1].nWeight;
    /* The window decodes Tolka's ten characters, a short locator padded with
     * the first cell of each level ('A', '0'). Every corner of either system
     * is a corner of the finest grid, so its Tolka name gives the window's
     * very doubles. */
    char szTolka[kMaxLocatorLength];
    write_characters(cell.longitude_index, cell.latitude_index, LocatorSystem::Tolka,
                     kMaxLocatorLength, szTolka);
    cell.west = KCoordFromLoOrLa(szTolka, 1, 0);
    cell.south = KCoordFromLoOrLa(szTolka, 0, 0);
    return {cell, {}};
}

void encode_locator(const Position &p, LocatorSystem system, int nLength, char *szOut)
{
    write_characters(finest_index(p.longitude, kLongitude), finest_index(p.latitude, kLatitude),
                     system, nLength, szOut);
}

/* The finest cell is 12500 ten-thousandths of a second wide, 6250 high. */
int64_t cell_latitude_e4(const Cell &cell, bool bCentre)
{
    return int64_t{cell.latitude_index} * 6250 - int64_t{90 * 3600} * 10000 +
           (bCentre ? int64_t{cell.span} * 3125 : 0);
}

int64_t cell_longitude_e4(const Cell &cell, bool bCentre)
{
    return int64_t{cell.longitude_index} * 12500 - int64_t{180 * 3600} * 10000 +
           (bCentre ? int64_t{cell.span} * 6250 : 0);
}

Reason convert_locator(const Cell &cell, std::string_view text, LocatorSystem to, char *szOut)
{
    if (cell.length == 8 && cell.system != to)
        return refusal(to == LocatorSystem::Maidenhead
                           ? N_("%s has no Maidenhead equivalent: at 8 characters the two layouts "
                                "name different cells")
                           : N_("%s has no extended equivalent: at 8 characters the two layouts "
                                "name different cells"),
                       text);
    write_characters(cell.longitude_index, cell.latitude_index, to, cell.length, szOut);
    return {};
}

namespace {

/* Whether the coordinate lies from low to high, both included, in signed
 * position units. Doubled, so that a coordinate a fraction of a unit beyond
 * its units sits strictly between two whole units. */
bool within(const Coordinate &c, int64_t nLow, int64_t nHigh)
{
    const int64_t nTwice = 2 * c.units + (c.beyond ? 1 : 0);
    const int64_t nValue = c.negative ? -nTwice : nTwice;
    return 2 * nLow <= nValue && nValue <= 2 * nHigh;
}

} // namespace

bool cell_holds(const Cell &cell, const Position &p)
{
    const int64_t nSouth = cell.latitude_index * kLatitude.nFinest - kLatitude.nHalf;
    const int64_t nWest = cell.longitude_index * kLongitude.nFinest - kLongitude.nHalf;
    return within(p.latitude, nSouth, nSouth + cell.span * kLatitude.nFinest) &&
           within(p.longitude, nWest, nWest + cell.span * kLongitude.nFinest);
}
