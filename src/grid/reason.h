// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* Why an input was refused: an English message with %s placeholders,
 * marked for the catalogue and translated only when it is reported, and the
 * pieces of the input it quotes. Parsers return a Result: the value, or a
 * reason and no value. */
#ifndef TOLKA_GRID_REASON_H
#define TOLKA_GRID_REASON_H

#include <string>
#include <string_view>

/* Marks a text for the catalogue; it is looked up when it is shown. */
#define N_(String) (String)

struct Reason {
    const char *format = nullptr; /* null: nothing refused */
    std::string_view args[3];     /* substituted for the %s in order */

    bool empty() const { return format == nullptr; }
};

inline Reason refusal(const char *format, std::string_view a = {}, std::string_view b = {},
                      std::string_view c = {})
{
    return Reason{format, {a, b, c}};
}

template <class T>
struct Result {
    T value{};
    Reason reason;

    explicit operator bool() const { return reason.empty(); }
};

template <class T>
Result<T> refused(const Reason &why)
{
    Result<T> result;
    result.reason = why;
    return result;
}

/* Appends szFormat to out with each "%s", or "%N$s" (N from 1 to 3), replaced
 * by the argument it names and "%%" by "%": the reason's text once
 * szFormat has been translated. */
void append_substituted(std::string &out, const char *szFormat, const std::string_view *args,
                        int nArgs);

#endif
