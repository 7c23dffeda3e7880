// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "report.h"

#include <libintl.h>

#include "text.h"

const char *contest_text(const char *msgid)
{
    return dgettext("tolka-cli", msgid);
}

std::string reason_text(const Reason &why)
{
    std::string text;
    append_message(text, contest_text(why.format), why.args, 4);
    return text;
}

void Report::add(uint64_t line, const char *format, std::initializer_list<std::string_view> args)
{
    constexpr size_t kArgs = 9;
    std::string place(m_name);
    if (line != 0)
        place.append(":").append(std::to_string(line));
    std::string_view all[kArgs] = {place};
    size_t n = 1;
    for (std::string_view arg : args)
        if (n < kArgs)
            all[n++] = arg;
    append_message(m_text, contest_text(format), all, static_cast<int>(n));
    m_text += '\n';
}
