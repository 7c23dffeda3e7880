// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* The station a call names, for matching contacts and finding duplicates:
 * portable and country marks do not make another station. */
#ifndef TOLKA_CONTEST_STATION_H
#define TOLKA_CONTEST_STATION_H

#include <string>
#include <string_view>

/* call without its blanks, upper-cased, with every '/'-separated part of 1
 * to 3 characters dropped: "OK1ABC/P", "ok1abc/9" and "OK/OK1ABC" are all
 * "OK1ABC". A call of one part stays whole ("K1A"); when every part is that
 * short, the longest (the first of them) is kept. Written into buffer, whose
 * room is reused from call to call; the view points into it. */
std::string_view station_of(std::string_view call, std::string &buffer);

#endif
