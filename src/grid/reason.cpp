// SPDX-FileCopyrightText: 2026 the Tolka developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "reason.h"

void append_substituted(std::string &out, const char *szFormat, const std::string_view *args,
                        int nArgs)
{
    int nNext = 0;
    for (const char *p = szFormat; *p; p++) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            p++;
            continue;
        }
        int n = nNext++;
        if (p[1] >= '1' && p[1] <= '9' && p[2] == '$') { /* a translation may reorder */
            n = p[1] - '1';
            p += 2;
        }
        if (p[1] == 's') {
            if (n < nArgs)
                out += args[n];
            p++;
        } else
            out += '%';
    }
}
