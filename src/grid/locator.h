// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Locators of two systems over one grid: Tolka's extended locator (levels
 * A-R, 0-9, A-X, A-X, 0-9) and the standard Maidenhead locator (A-R, 0-9,
 * A-X, 0-9, A-X). Both split a field the same way down to the subsquare and
 * end on the same finest cell, 1.25" of longitude by 0.625" of latitude; they
 * differ in how the last two levels divide the subsquare. Cells are counted
 * exactly, in finest cells from the grid's south-west corner (180 W, 90 S). */
#ifndef TOLKA_GRID_LOCATOR_H
#define TOLKA_GRID_LOCATOR_H

#include <cstdint>
#include <optional>
#include <string_view>

#include "position.h"
#include "reason.h"

enum class LocatorSystem { Tolka, Maidenhead };

constexpr int kMaxLocatorLength = 10;

/* The cell a locator names. */
struct Cell {
    int length = 0; /* characters: 2, 4, 6, 8 or 10 */
    LocatorSystem system = LocatorSystem::Tolka; /* the layout it was read in */
    /* Exact: south-west corner and size in finest cells (the same count on
     * both axes). */
    int32_t longitude_index = 0, latitude_index = 0, span = 0;
    /* The window's doubles for the south-west corner (decimal degrees). */
    double south = 0, west = 0;

    /* The centre: half the cell's size in degrees (finest cells of 1/5760
     * degree of latitude, 1/2880 of longitude) past the corner. */
    double centre_latitude() const { return south + span / 5760.0 / 2; }
    double centre_longitude() const { return west + span / 2880.0 / 2; }
};

/* A locator of 2, 4, 6, 8 or 10 characters of the system, in any case.
 * text holds neither line end nor surrounding blanks. With no system, the
 * layout is told by character 7 (see layout_of). */
Result<Cell> parse_locator(std::string_view text, std::optional<LocatorSystem> system);

/* The layout of a locator of 8 or 10 characters: Maidenhead when character
 * 7 is a digit, Tolka's extended otherwise; shorter ones read alike in
 * both, taken as Tolka's. */
LocatorSystem layout_of(std::string_view text);

/* Writes the locator of the same cell in the layout `to` to szOut
 * (cell.length characters, upper case, no terminator). 2 to 6 characters
 * and 10 name the same cells in both layouts; 8 characters of one layout
 * have no equivalent in the other and are refused (text is the locator as
 * read, for the message). */
Reason convert_locator(const Cell &cell, std::string_view text, LocatorSystem to, char *szOut);

/* Writes the locator of the cell holding p, nLength characters (2, 4, 6, 8
 * or 10), upper case, to szOut (no terminator). An edge belongs to the cell
 * north or east of it; 90 N is in the top row and 180 E in the last column.
 * p must be in range (as parse_position returns it). */
void encode_locator(const Position &p, LocatorSystem system, int nLength, char *szOut);

/* Whether the cell holds p, its edges included: a point on an edge lies in
 * the cells on both sides of it, as a check of a position against a locator
 * wants (encode_locator gives only one of them). */
bool cell_holds(const Cell &cell, const Position &p);

/* Signed ten-thousandths of an arc-second: the cell's south-west corner, or
 * its centre, exactly. */
int64_t cell_latitude_e4(const Cell &cell, bool bCentre);
int64_t cell_longitude_e4(const Cell &cell, bool bCentre);

#endif
