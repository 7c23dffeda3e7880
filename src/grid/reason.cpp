#include "reason.h"

#include <cstring>

void append_substituted(std::string &out, const char *szFormat, const std::string_view *args,
                        int nArgs)
{
    int nNext = 0;
    for (const char *p = szFormat; *p; p++) {
        if (*p != '%') { /* the text up to the next '%' at once */
            const char *pEnd = strchr(p, '%');
            if (!pEnd)
                pEnd = p + strlen(p);
            out.append(p, static_cast<size_t>(pEnd - p));
            p = pEnd - 1;
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
