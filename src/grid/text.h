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

/* Appends text to out as every message quotes what a file, a line or an
 * argument holds, safe for a terminal and plain to read: printable
 * characters as they are; the whole in double quotes when it starts or ends
 * with a space ("JN18DT "); every byte of a control character (the tab too)
 * or of an invalid UTF-8 sequence as \xHH; the characters that show nothing
 * or turn the text's direction (a byte-order mark, zero-width and
 * bidirectional marks, spaces other than ASCII's, line and paragraph
 * separators) as \u{FEFF}. What it writes, written again, is unchanged. */
void append_escaped(std::string &out, std::string_view text);

/* Whether append_escaped copies text as it stands: printable ASCII, no space
 * at either end. The cheap test before it, inline: a message's values are a
 * few bytes each. */
inline bool shows_as_it_is(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            return false;
    return text.empty() || (text.front() != ' ' && text.back() != ' ');
}

/* append_substituted for a message: format (translated) with each argument
 * through append_escaped. */
void append_message(std::string &out, const char *format, const std::string_view *args,
                    int nArgs);

#endif
