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
    std::string quoted[4], text;
    std::string_view args[4];
    for (int i = 0; i < 4; i++) {
        append_escaped(quoted[i], why.args[i]);
        args[i] = quoted[i];
    }
    append_substituted(text, contest_text(why.format), args, 4);
    return text;
}

void Report::add(uint64_t line, const char *format, std::initializer_list<std::string_view> args)
{
    constexpr size_t kArgs = 9;
    std::string quoted[kArgs];
    append_escaped(quoted[0], m_name);
    if (line != 0)
        quoted[0].append(":").append(std::to_string(line));
    size_t n = 1;
    for (std::string_view arg : args)
        if (n < kArgs)
            append_escaped(quoted[n++], arg);
    std::string_view all[kArgs];
    for (size_t i = 0; i < n; i++)
        all[i] = quoted[i];
    append_substituted(m_text, contest_text(format), all, static_cast<int>(n));
    m_text += '\n';
}
