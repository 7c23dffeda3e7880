// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

/* The text of contest reports: lines that start with their place as
 * compilers write it, in the command line's catalogue domain, every value
 * quoted from a log made safe for a terminal. */
#ifndef TOLKA_CONTEST_REPORT_H
#define TOLKA_CONTEST_REPORT_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "reason.h"

/* The catalogue text of msgid, in the domain of tolka-cli, which shows the
 * reports. */
const char *contest_text(const char *msgid);

/* A reason as a message says it: translated, its arguments quoted. */
std::string reason_text(const Reason &why);

/* Report lines appended to a text: "NAME:LINE: ...", or "NAME: ..." for the
 * whole log. */
class Report {
public:
    Report(std::string &text, std::string_view name) : m_text(text), m_name(name) {}

    /* format's first %s is the place, args the others (at most 8); each is
     * quoted. */
    void add(uint64_t line, const char *format, std::initializer_list<std::string_view> args);

private:
    std::string &m_text;
    std::string_view m_name;
};

#endif
