// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "reason.h"

void append_substituted(std::string &out, const char *szFormat, const std::string_view *args,
                        int nArgs)
{
    substitute(
        szFormat, [&](std::string_view text) { out += text; },
        [&](int n) {
            if (n < nArgs)
                out += args[n];
        });
}
