// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Small helpers over the text of a line. */
#ifndef TOLKA_GRID_TEXT_H
#define TOLKA_GRID_TEXT_H

#include <string>
#include <string_view>

#include "reason.h"

inline bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

/* text without its leading and trailing blanks (spaces and tabs). */
std::string_view trim_blanks(std::string_view text);

/* The one character at pos: all the bytes of its UTF-8 sequence. */
std::string_view character_at(std::string_view text, size_t pos);

/* Refuses what is not a line of text: a NUL byte, a control character other
 * than the tab, or bytes that are not UTF-8. Every command checks its lines
 * with it first, so its messages can quote the input as it stands. */
Reason check_text(std::string_view text);

/* Appends text to out with every byte of a control character (but the
 * tab) or of an invalid UTF-8 sequence written \xHH: what was typed, safe to
 * quote to a terminal. */
void append_escaped(std::string &out, std::string_view text);

#endif
