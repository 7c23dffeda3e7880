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
    std::string_view args[4];     /* substituted for the %s in order */

    bool empty() const { return format == nullptr; }
};

inline Reason refusal(const char *format, std::string_view a = {}, std::string_view b = {},
                      std::string_view c = {}, std::string_view d = {})
{
    return Reason{format, {a, b, c, d}};
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

/* Walks szFormat as append_substituted writes it: literal(text) for each run
 * of its own text, arg(n) for each "%s" or "%N$s" (N from 1 to 9), n being
 * the argument's index from 0. "%%" is the text "%", and a '%' before
 * anything else stays as it is. */
template <class Literal, class Arg>
void substitute(const char *szFormat, Literal literal, Arg arg)
{
    int nNext = 0;
    for (const char *p = szFormat; *p; p++) {
        if (*p != '%') { /* the text up to the next '%' at once */
            const char *pEnd = p + 1;
            while (*pEnd && *pEnd != '%')
                pEnd++;
            literal(std::string_view(p, static_cast<size_t>(pEnd - p)));
            p = pEnd - 1;
            continue;
        }
        if (p[1] == '%') {
            literal(std::string_view(p, 1));
            p++;
            continue;
        }
        int n = nNext++;
        if (p[1] >= '1' && p[1] <= '9' && p[2] == '$') { /* a translation may reorder */
            n = p[1] - '1';
            p += 2;
        }
        if (p[1] == 's') {
            arg(n);
            p++;
        } else
            literal(std::string_view("%", 1));
    }
}

/* Appends szFormat to out with each "%s", or "%N$s" (N from 1 to 9), replaced
 * by the argument it names and "%%" by "%": the reason's text once
 * szFormat has been translated. */
void append_substituted(std::string &out, const char *szFormat, const std::string_view *args,
                        int nArgs);

#endif
