// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* What a checked contest gives back: the results table (aligned text or
 * RFC 4180 CSV), each log's report as an operator gets it from the
 * committee, and the contest as a map (a GeoJSON text sequence). Texts
 * built in memory; the caller writes them. Values quoted from the logs go
 * through append_escaped. */
#ifndef TOLKA_CONTEST_RESULTS_H
#define TOLKA_CONTEST_RESULTS_H

#include <cstdint>
#include <string>

#include "crosscheck.h"

/* One row per log in the order of Contest::ranked(), after a header line:
 * band, rank, call, locator, section, file, logged, one column for each
 * verdict and unique after unverified, points, squares, score, claimed. */
void append_results(const Contest &contest, bool csv, std::string &out);

/* The report file's name of a log: its station and band, "OK1ABC-144MHz.txt",
 * any byte but a letter, a digit, '-' or '.' written '_'. */
std::string report_name(const Contest &contest, uint32_t log);

/* The report of a log: a line "FILE:LINE: CALL LOCATOR: what happened" for
 * each contact that did not score or is unique, then its summary. */
void append_report(const Contest &contest, uint32_t log, std::string &out);

/* A log's part of the map, one Feature a line: a Point at its locator's
 * centre (call, band, rank, score), and a LineString per contact with a
 * valid locator along the geodesic between the two centres, a vertex at
 * least every 50 km (call, worked, band, verdict, points). The map is the
 * parts of the logs in the order of Contest::ranked(). */
void append_map(const Contest &contest, uint32_t log, std::string &out);

#endif
